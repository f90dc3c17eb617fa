// The single-sine impedance jobs of meas: the generated sweep ("eis") and
// the caller's frequency table ("eis_table"), with the table's record
// classes.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/impedance_fields.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"

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

#define MARLEK_TABLE_PARAMS                                                                                   \
    "    :param bias: DC bias for defining the operating point of the object\n"                               \
    "    :param spectrum: spectrum measurement settings\n" MARLEK_DRIFT_CORRECTION_PARAM

auto generateFields()
{
    using P = EisParametersGenerate;
    return jb::fields<P>(
        jb::field("bias", &P::bias), jb::field("min_frequency", &P::min_frequency),
        jb::field("max_frequency", &P::max_frequency), jb::field("start_frequency", &P::start_frequency),
        jb::field("points_per_decade_upper", &P::points_per_decade_upper),
        jb::field("points_per_decade_lower", &P::points_per_decade_lower),
        jb::field("pre_duration", &P::pre_duration), jb::field("pre_waves", &P::pre_waves),
        jb::field("meas_duration", &P::meas_duration), jb::field("meas_waves", &P::meas_waves),
        jb::field("amplitude", &P::amplitude),
        jb::field("drift_correction", &P::drift_correction).orElse(DriftCorrection::FULL));
}

auto tableFields()
{
    using P = EisParametersFrequencyTable;
    return jb::fields<P>(
        jb::field("bias", &P::bias, MARLEK_DOC("DC bias for defining the operating point of the object")),
        jb::recordList("spectrum", &P::spectrum, impedance_fields::frequencyTableEntry(),
                       MARLEK_DOC("spectrum measurement settings")),
        jb::field("drift_correction", &P::drift_correction, MARLEK_DOC(MARLEK_DRIFT_CORRECTION_DOC))
            .orElse(DriftCorrection::FULL));
}

} // namespace

void init_eis_wrap(py::module_& meas)
{
    const auto generate = generateFields();
    const auto table = tableFields();

    jb::bindParameters<EisGenerateJob>(meas, "EisParametersGeneratePy", generate);
    jb::bindParameters<EisFrequencyTableJob>(meas, "EisParametersFrequencyTablePy", table);

    auto generateJob = jb::bindJob<EisGenerateJob>(meas, "EisGenerateJob", "marlek_link.meas.EisParametersGeneratePy");
    jb::addFlatInit<EisGenerateJob, jb::Extras::metaData>(generateJob, generate,
        "\n    Electrochemical Impedance Spectroscopy job\n\n"
        "    The sweep runs from start_frequency up to max_frequency and back down to min_frequency;\n"
        "    min_frequency < start_frequency < max_frequency must hold. Between 66 Hz and max_frequency there\n"
        "    are points_per_decade_upper logarithmically equidistant steps per decade; from 66 Hz down to\n"
        "    min_frequency the density changes linearly to points_per_decade_lower.\n\n"
        "    Per frequency point at least meas_waves periods are measured; if meas_duration has not been\n"
        "    reached after them, measuring continues until it has. At low frequencies meas_waves always\n"
        "    outlasts meas_duration.\n\n"
        "    :param bias: DC bias for defining the operating point of the object\n"
        "    :param min_frequency: lower frequency limit of the impedance spectrum\n"
        "    :param max_frequency: upper frequency limit of the impedance spectrum\n"
        "    :param start_frequency: starting frequency of the impedance spectrum\n"
        "    :param points_per_decade_upper: steps per decade between 66 Hz and max_frequency\n"
        "    :param points_per_decade_lower: steps per decade at min_frequency\n"
        "    :param pre_duration: minimum pre-conditioning time for each frequency step\n"
        "    :param pre_waves: number of pre-conditioning sine waves before each frequency step\n"
        "    :param meas_duration: minimum recording time for each frequency step\n"
        "    :param meas_waves: minimum number of sine waves for each frequency step\n"
        "    :param amplitude: corresponding AC peak amplitude\n" MARLEK_DRIFT_CORRECTION_PARAM MARLEK_META_DATA_PARAM
            MARLEK_JSON_EXAMPLE_HEAD
        "            {\n"
        "                \"do\": \"/job/start\",\n"
        "                \"request_id\": \"eis-job-uuid-example\",\n"
        "                \"job\": {\n"
        "                    \"type\": \"eis\",\n"
        "                    \"parameters\": {\n"
        "                        \"bias\": 0.0,\n"
        "                        \"frequency_range\": {\n"
        "                            \"type\": \"generate\",\n"
        "                            \"min_frequency\": 1.0, \"max_frequency\": 100000.0,\n"
        "                            \"start_frequency\": 1000.0,\n"
        "                            \"points_per_decade_upper\": 10, \"points_per_decade_lower\": 5,\n"
        "                            \"pre_duration\": 0.1, \"pre_waves\": 1,\n"
        "                            \"meas_duration\": 0.2, \"meas_waves\": 2, \"amplitude\": 0.01\n"
        "                        },\n"
        "                        \"drift_correction\": \"FULL\"\n"
        "                    },\n"
        "                    \"stop_conditions\": [],\n"
        "                    \"job_meta\": {}\n"
        "                }\n"
        "            }\n");

    jb::bindRecord(meas, "EisParametersFrequencyTableEntry", impedance_fields::frequencyTableEntry(),
                   "\n    Settings for a frequency point\n\n"
                   "    Each frequency point can be measured with its own duration and amplitude, so as to measure\n"
                   "    the object as accurately as possible. At least meas_waves periods are measured; if\n"
                   "    meas_duration has not been reached after them, measuring continues until it has.\n\n"
                   "    :param frequency: corresponding AC frequency\n"
                   "    :param amplitude: corresponding AC peak amplitude\n"
                   "    :param pre_duration: minimum pre-conditioning time for each frequency step\n"
                   "    :param pre_waves: number of pre-conditioning sine waves before each frequency step\n"
                   "    :param meas_duration: minimum recording time for each frequency step\n"
                   "    :param meas_waves: minimum number of sine waves for each frequency step\n");
    jb::bindRecord(meas, "EisParametersFrequencyTable", table, MARLEK_TABLE_SUMMARY MARLEK_TABLE_PARAMS);

    auto tableJob =
        jb::bindJob<EisFrequencyTableJob>(meas, "EisFrequencyTableJob",
                                          "marlek_link.meas.EisParametersFrequencyTablePy");
    jb::addFlatInit<EisFrequencyTableJob, jb::Extras::metaData>(tableJob, table,
        MARLEK_TABLE_SUMMARY MARLEK_TABLE_PARAMS MARLEK_META_DATA_PARAM MARLEK_JSON_EXAMPLE_HEAD
        "            {\n"
        "                \"do\": \"/job/start\",\n"
        "                \"request_id\": \"eis-table-job-uuid-example\",\n"
        "                \"job\": {\n"
        "                    \"type\": \"eis_table\",\n"
        "                    \"parameters\": {\n"
        "                        \"bias\": 0.0,\n"
        "                        \"frequency_range\": {\n"
        "                            \"type\": \"table\",\n"
        "                            \"spectrum\": [\n"
        "                                {\"frequency\": 1000.0, \"amplitude\": 0.01, \"pre_duration\": 0.1,\n"
        "                                 \"pre_waves\": 1, \"meas_duration\": 0.2, \"meas_waves\": 2},\n"
        "                                {\"frequency\": 100.0, \"amplitude\": 0.01, \"pre_duration\": 0.1,\n"
        "                                 \"pre_waves\": 1, \"meas_duration\": 0.2, \"meas_waves\": 2},\n"
        "                                {\"frequency\": 10.0, \"amplitude\": 0.01, \"pre_duration\": 0.1,\n"
        "                                 \"pre_waves\": 1, \"meas_duration\": 0.2, \"meas_waves\": 2}\n"
        "                            ]\n"
        "                        },\n"
        "                        \"drift_correction\": \"FULL\"\n"
        "                    },\n"
        "                    \"stop_conditions\": [],\n"
        "                    \"job_meta\": {}\n"
        "                }\n"
        "            }\n");
    jb::addRecordInit<EisFrequencyTableJob>(tableJob, "table",
                                           MARLEK_TABLE_SUMMARY "    :param table: spectrum measurement settings\n"
                                                                MARLEK_META_DATA_PARAM);
    jb::addDictInit<EisFrequencyTableJob>(
        tableJob, "table", table,
        MARLEK_TABLE_SUMMARY
        "    :param table: a dictionary with values like the following example\n\n"
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
        "            }\n\n" MARLEK_META_DATA_PARAM);
}
