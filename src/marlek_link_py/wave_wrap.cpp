// The wave jobs of meas: arbitrary values carried in the job, or in a file
// uploaded to the workstation beforehand. One flat constructor each, with
// `bias` defaulting to 0.0, the job metadata and the stop conditions.

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
    "    instead of wave.\n\n"                                                                                  \
    "    :param output_data_rate: rate at which data is output which was measured (internal oversampled)\n"    \
    "    :param value_rate: rate at which current or voltage values are output\n"

#define MARLEK_WAVE_TAIL                                                                                        \
    "    :param meta_data: dict[str, str] with user-defined key-value pairs\n"                                   \
    "    :param stop_conditions: list of stop condition objects from :ref:`python_stopconditions`\n\n"           \
    "    .. collapse:: WebSocket JSON Example\n\n"                                                               \
    "        .. code-block:: json\n\n"

} // namespace

void init_wave_wrap(py::module_& meas)
{
    const auto waveFields = jb::fields<WaveParameters>(
        jb::field("output_data_rate", &WaveParameters::output_data_rate),
        jb::field("value_rate", &WaveParameters::value_rate), jb::field("repetitions", &WaveParameters::repetitions),
        jb::field("current_range", &WaveParameters::current_range), jb::field("values", &WaveParameters::values),
        jb::field("bias", &WaveParameters::bias).orElse(0.0));
    const auto waveFileFields = jb::fields<WaveFileParameters>(
        jb::field("output_data_rate", &WaveFileParameters::output_data_rate),
        jb::field("value_rate", &WaveFileParameters::value_rate),
        jb::field("repetitions", &WaveFileParameters::repetitions),
        jb::field("current_range", &WaveFileParameters::current_range),
        jb::field("resource_id", &WaveFileParameters::resource_id),
        jb::field("bias", &WaveFileParameters::bias).orElse(0.0));

    jb::bindParameters<WaveJob>(meas, "WaveParametersPy", waveFields);
    jb::bindParameters<WaveFileJob>(meas, "WaveFileParametersPy", waveFileFields);

    auto wave = jb::bindJob<WaveJob>(meas, "WaveJob", "marlek_link.meas.WaveParametersPy");
    jb::addFlatInit<WaveJob, jb::Extras::metaDataAndStopConditions>(wave, waveFields,
        "\n    Wave job\n\n" MARLEK_WAVE_INTRO
        "    :param repetitions: number of times the values are output consecutively (1 = pattern output once)\n"
        "    :param current_range: selection of the current range that matches the object as the maximum\n"
        "        absolute current\n"
        "    :param values: current or voltage values list which are output with value_rate frequency\n"
        "    :param bias: constant offset which is added to every entry of values, defaults to 0.0\n" MARLEK_WAVE_TAIL
        "            {\n"
        "                \"do\": \"/job/start\",\n"
        "                \"request_id\": \"wave-job-uuid-example\",\n"
        "                \"job\": {\n"
        "                    \"type\": \"wave\",\n"
        "                    \"parameters\": {\n"
        "                        \"output_data_rate\": 1000.0, \"value_rate\": 100.0, \"repetitions\": 2,\n"
        "                        \"current_range\": 0.01,\n"
        "                        \"values\": [0.0, 0.1, 0.2, 0.3, 0.4, 0.3, 0.2, 0.1, 0.0],\n"
        "                        \"bias\": 0.0\n"
        "                    },\n"
        "                    \"stop_conditions\": [],\n"
        "                    \"job_meta\": {}\n"
        "                }\n"
        "            }\n");

    auto waveFile = jb::bindJob<WaveFileJob>(meas, "WaveFileJob", "marlek_link.meas.WaveFileParametersPy");
    jb::addFlatInit<WaveFileJob, jb::Extras::metaDataAndStopConditions>(waveFile, waveFileFields,
        "\n    WaveFile job\n\n"
        "    This job variant uses a previously uploaded file with current or voltage values, which can be used\n"
        "    for large waveforms.\n\n" MARLEK_WAVE_INTRO
        "    :param repetitions: number of times the values in the file are output consecutively (1 = file\n"
        "        output once)\n"
        "    :param current_range: selection of the current range that matches the object as the maximum\n"
        "        absolute current\n"
        "    :param resource_id: resource id of (previously uploaded) file with current or voltage values which\n"
        "        are output with value_rate frequency\n"
        "    :param bias: constant offset which is added to every value of the file, defaults to 0.0\n" MARLEK_WAVE_TAIL
        "            {\n"
        "                \"do\": \"/job/start\",\n"
        "                \"request_id\": \"wave-file-job-uuid-example\",\n"
        "                \"job\": {\n"
        "                    \"type\": \"wave_file\",\n"
        "                    \"parameters\": {\n"
        "                        \"output_data_rate\": 1000.0, \"value_rate\": 100.0, \"repetitions\": 1,\n"
        "                        \"current_range\": 0.01, \"resource_id\": \"res-1\", \"bias\": 0.0\n"
        "                    },\n"
        "                    \"stop_conditions\": [],\n"
        "                    \"job_meta\": {}\n"
        "                }\n"
        "            }\n");
}
