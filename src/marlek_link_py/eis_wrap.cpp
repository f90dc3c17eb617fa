// The single-sine impedance jobs of meas: the generated sweep ("eis") and
// the caller's frequency table ("eis_table"), with the table's record
// classes.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/impedance_fields.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace jb = job_binding;

namespace {

using EisGenerateJob = AcMeasurementJob<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>;
using EisFrequencyTableJob = AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>;

#define MARLEK_TABLE_SUMMARY                                                                                  \
    "\n    Electrochemical Impedance Spectroscopy job with self-specified frequency points.\n\n"                \
    "    With this EIS you determine the frequencies, amplitude and duration of the measurement, which\n"     \
    "    characterises the object better at relevant points than a generated spectrum, whose support\n"      \
    "    points cannot be defined precisely.\n\n"

#define MARLEK_BIAS_DOC MARLEK_DOC("DC bias for defining the operating point of the object")

auto generateFields()
{
    using P = EisParametersGenerate;
    return jb::join(impedance_fields::generatedSweep<P>(MARLEK_BIAS_DOC, MARLEK_DOC("corresponding AC peak amplitude")),
                    jb::fields<P>(impedance_fields::driftCorrection<P>()));
}

auto tableFields()
{
    using P = EisParametersFrequencyTable;
    return jb::fields<P>(jb::field("bias", &P::bias, MARLEK_BIAS_DOC),
                         jb::recordList("spectrum", &P::spectrum, impedance_fields::frequencyTableEntry(),
                                        MARLEK_DOC(MARLEK_SPECTRUM_DOC)),
                         impedance_fields::driftCorrection<P>());
}

} // namespace

void init_eis_wrap(py::module_& meas)
{
    const auto generate = generateFields();
    const auto table = tableFields();

    jb::bindParameters<EisGenerateJob>(meas, "EisParametersGeneratePy", generate);
    jb::bindParameters<EisFrequencyTableJob>(meas, "EisParametersFrequencyTablePy", table);

    auto generateJob = jb::bindJob<EisGenerateJob>(meas, "EisGenerateJob", "EisParametersGeneratePy");
    jb::addFlatInit<EisGenerateJob, jb::Extras::metaData>(
        generateJob, generate,
        "\n    Electrochemical Impedance Spectroscopy job\n\n"
        "    The sweep runs from start_frequency up to max_frequency and back down to min_frequency;\n"
        "    min_frequency < start_frequency < max_frequency must hold. Between 66 Hz and max_frequency there\n"
        "    are points_per_decade_upper logarithmically equidistant steps per decade; from 66 Hz down to\n"
        "    min_frequency the density changes linearly to points_per_decade_lower.\n\n"
        "    Per frequency point at least meas_waves periods are measured; if meas_duration has not been\n"
        "    reached after them, measuring continues until it has. At low frequencies meas_waves always\n"
        "    outlasts meas_duration.\n\n",
        job_doc::requestExample("eis", R"({
    "bias": 0.0,
    "frequency_range": {
        "type": "generate",
        "min_frequency": 1.0, "max_frequency": 100000.0,
        "start_frequency": 1000.0,
        "points_per_decade_upper": 10, "points_per_decade_lower": 5,
        "pre_duration": 0.1, "pre_waves": 1,
        "meas_duration": 0.2, "meas_waves": 2, "amplitude": 0.01
    },
    "drift_correction": "FULL"
})"));

    jb::bindRecord(meas, "EisParametersFrequencyTableEntry", impedance_fields::frequencyTableEntry(),
                   "\n    Settings for a frequency point\n\n"
                   "    Each frequency point can be measured with its own duration and amplitude, so as to measure\n"
                   "    the object as accurately as possible. At least meas_waves periods are measured; if\n"
                   "    meas_duration has not been reached after them, measuring continues until it has.\n\n");
    jb::bindRecord(meas, "EisParametersFrequencyTable", table, MARLEK_TABLE_SUMMARY);

    auto tableJob = jb::bindJob<EisFrequencyTableJob>(meas, "EisFrequencyTableJob", "EisParametersFrequencyTablePy");
    jb::addFlatInit<EisFrequencyTableJob, jb::Extras::metaData>(
        tableJob, table, MARLEK_TABLE_SUMMARY, job_doc::requestExample("eis_table", R"({
    "bias": 0.0,
    "frequency_range": {
        "type": "table",
        "spectrum": [
            {"frequency": 1000.0, "amplitude": 0.01, "pre_duration": 0.1,
             "pre_waves": 1, "meas_duration": 0.2, "meas_waves": 2},
            {"frequency": 100.0, "amplitude": 0.01, "pre_duration": 0.1,
             "pre_waves": 1, "meas_duration": 0.2, "meas_waves": 2},
            {"frequency": 10.0, "amplitude": 0.01, "pre_duration": 0.1,
             "pre_waves": 1, "meas_duration": 0.2, "meas_waves": 2}
        ]
    },
    "drift_correction": "FULL"
})"));
    jb::addRecordInit<EisFrequencyTableJob>(tableJob, "table", MARLEK_TABLE_SUMMARY, MARLEK_SPECTRUM_DOC);
    jb::addDictInit<EisFrequencyTableJob>(
        tableJob, "table", table, MARLEK_TABLE_SUMMARY,
        "a dictionary with values like the following example\n\n"
        "        .. code-block:: python\n\n"
        "            {\n"
        "                \"bias\": 0.0,\n"
        "                \"spectrum\": [\n"
        "                    {\"frequency\": 1000, \"amplitude\": 0.01, \"pre_duration\": 0.1, \"pre_waves\": 1,\n"
        "                     \"meas_duration\": 0.2, \"meas_waves\": 2},\n"
        "                    {\"frequency\": 100, \"amplitude\": 0.01, \"pre_duration\": 0.1, \"pre_waves\": 1,\n"
        "                     \"meas_duration\": 0.2, \"meas_waves\": 2},\n"
        "                    {\"frequency\": 10, \"amplitude\": 0.01, \"pre_duration\": 0.1, \"pre_waves\": 1,\n"
        "                     \"meas_duration\": 0.2, \"meas_waves\": 2},\n"
        "                ],\n"
        "            }\n\n"
        "        Or a simplified, shorter notation if, for example, only the frequency in the list needs to be\n"
        "        adjusted.\n\n"
        "        .. code-block:: python\n\n"
        "            {\n"
        "                \"bias\": 0.0,\n"
        "                \"spectrum\": [\n"
        "                    {\"frequency\": f, \"amplitude\": 0.01, \"pre_duration\": 0.1, \"pre_waves\": 1,\n"
        "                     \"meas_duration\": 0.2, \"meas_waves\": 2}\n"
        "                    for f in [1000, 100, 10]\n"
        "                ],\n"
        "            }\n\n");
}
