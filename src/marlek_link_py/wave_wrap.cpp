// The wave jobs of meas: arbitrary values carried in the job, or in a file
// uploaded to the workstation beforehand. One flat constructor each, with
// `bias` defaulting to 0.0, the job metadata and the stop conditions.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"

#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace jb = job_binding;

namespace {

using WaveJob = DcMeasurementJob<WaveParameters, &JobNames::WAVE_JOB_NAME>;
using WaveFileJob = DcMeasurementJob<WaveFileParameters, &JobNames::WAVE_FILE_JOB_NAME>;

#define MARLEK_WAVE_INTRO                                                                                       \
    "    The job can be potentiostatic or galvanostatic. It outputs arbitrary values of current or voltage,\n"  \
    "    which are faster; current and voltage cannot be mixed. For slow processes use ramp and poga\n"         \
    "    instead of wave.\n\n"

// The fields both jobs have around their values: rates and repetitions
// before, the current range, then the values or their file, then the bias.
template <typename P, typename Values>
auto waveFields(Values values, const char* repetitions, const char* bias)
{
    return jb::fields<P>(
        jb::field("output_data_rate", &P::output_data_rate,
                  MARLEK_DOC("rate at which data is output which was measured (internal oversampled)")),
        jb::field("value_rate", &P::value_rate, MARLEK_DOC("rate at which current or voltage values are output")),
        jb::field("repetitions", &P::repetitions, repetitions),
        jb::field("current_range", &P::current_range,
                  MARLEK_DOC("selection of the current range that matches the object as the maximum absolute "
                             "current")),
        values, jb::field("bias", &P::bias, bias).orElse(0.0));
}

} // namespace

void init_wave_wrap(py::module_& meas)
{
    constexpr auto extras = jb::Extras::metaDataAndStopConditions;
    const auto waveFieldList = waveFields<WaveParameters>(
        jb::field("values", &WaveParameters::values,
                  MARLEK_DOC("current or voltage values list which are output with value_rate frequency")),
        MARLEK_DOC("number of times the values are output consecutively (1 = pattern output once)"),
        MARLEK_DOC("constant offset which is added to every entry of values, defaults to 0.0"));
    const auto waveFileFieldList = waveFields<WaveFileParameters>(
        jb::field("resource_id", &WaveFileParameters::resource_id,
                  MARLEK_DOC("resource id of (previously uploaded) file with current or voltage values which are "
                             "output with value_rate frequency")),
        MARLEK_DOC("number of times the values in the file are output consecutively (1 = file output once)"),
        MARLEK_DOC("constant offset which is added to every value of the file, defaults to 0.0"));

    jb::bindParameters<WaveJob>(meas, "WaveParametersPy", waveFieldList);
    jb::bindParameters<WaveFileJob>(meas, "WaveFileParametersPy", waveFileFieldList);

    auto wave = jb::bindJob<WaveJob>(meas, "WaveJob", "WaveParametersPy");
    jb::addFlatInit<WaveJob, extras>(wave, waveFieldList, "\n    Wave job\n\n" MARLEK_WAVE_INTRO,
                                     job_doc::requestExample("wave", R"({
    "output_data_rate": 1000.0, "value_rate": 100.0, "repetitions": 2,
    "current_range": 0.01,
    "values": [0.0, 0.1, 0.2, 0.3, 0.4, 0.3, 0.2, 0.1, 0.0],
    "bias": 0.0
})"));

    auto waveFile = jb::bindJob<WaveFileJob>(meas, "WaveFileJob", "WaveFileParametersPy");
    jb::addFlatInit<WaveFileJob, extras>(
        waveFile, waveFileFieldList,
        "\n    WaveFile job\n\n"
        "    This job variant uses a previously uploaded file with current or voltage values, which can be used\n"
        "    for large waveforms.\n\n" MARLEK_WAVE_INTRO,
        job_doc::requestExample("wave_file", R"({
    "output_data_rate": 1000.0, "value_rate": 100.0, "repetitions": 1,
    "current_range": 0.01, "resource_id": "res-1", "bias": 0.0
})"));
}
