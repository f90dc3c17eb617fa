// The galvanostatic impedance jobs of meas: generated sweep ("geis_va") and
// frequency table ("geis_va_table"), both limited to a range of current
// amplitudes. Their frequency points are the single-sine table's entries.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/impedance_fields.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"

#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace jb = job_binding;

namespace {

using GeisVaGenerateJob = AcMeasurementJob<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>;
using GeisVaFrequencyTableJob = AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>;

#define MARLEK_GEIS_BIAS "DC current bias for defining the operating point of the object"
#define MARLEK_GEIS_MINIMUM "minimum current amplitude that will be used for the measurement"
#define MARLEK_GEIS_MAXIMUM "maximum current amplitude that will be used for the measurement"

#define MARLEK_GEIS_SELF_SPECIFIED                                                                            \
    "    With this EIS you determine the frequencies, amplitude and duration of the measurement, which\n"     \
    "    characterises the object better at relevant points than a generated spectrum, whose support\n"      \
    "    points cannot be defined precisely.\n\n"

#define MARLEK_GEIS_TABLE_SUMMARY                                                                             \
    "\n    Electrochemical Impedance Spectroscopy job with self-specified frequency points.\n\n"                \
    MARLEK_GEIS_SELF_SPECIFIED

#define MARLEK_GEIS_TABLE_PARAMS                                                                              \
    "    :param bias: " MARLEK_GEIS_BIAS "\n"                                                                 \
    "    :param minimum_current_amplitude: " MARLEK_GEIS_MINIMUM "\n"                                         \
    "    :param maximum_current_amplitude: " MARLEK_GEIS_MAXIMUM "\n"                                         \
    "    :param spectrum: spectrum measurement settings\n" MARLEK_DRIFT_CORRECTION_PARAM

#define MARLEK_GEIS_ENTRY(frequency)                                                                          \
    "{\"frequency\": " frequency ", \"amplitude\": 0.01, \"pre_duration\": 0.1, \"pre_waves\": 1, "           \
    "\"meas_duration\": 0.2, \"meas_waves\": 2}"

auto generateFields()
{
    using P = GeisVaParametersGenerate;
    return jb::fields<P>(
        jb::field("bias", &P::bias), jb::field("min_frequency", &P::min_frequency),
        jb::field("max_frequency", &P::max_frequency), jb::field("start_frequency", &P::start_frequency),
        jb::field("points_per_decade_upper", &P::points_per_decade_upper),
        jb::field("points_per_decade_lower", &P::points_per_decade_lower),
        jb::field("pre_duration", &P::pre_duration), jb::field("pre_waves", &P::pre_waves),
        jb::field("meas_duration", &P::meas_duration), jb::field("meas_waves", &P::meas_waves),
        jb::field("amplitude", &P::amplitude), jb::field("minimum_current_amplitude", &P::minimum_current_amplitude),
        jb::field("maximum_current_amplitude", &P::maximum_current_amplitude),
        jb::field("drift_correction", &P::drift_correction).orElse(DriftCorrection::FULL));
}

auto tableFields()
{
    using P = GeisVaParametersFrequencyTable;
    return jb::fields<P>(
        jb::field("bias", &P::bias, MARLEK_DOC(MARLEK_GEIS_BIAS)),
        jb::field("minimum_current_amplitude", &P::minimum_current_amplitude, MARLEK_DOC(MARLEK_GEIS_MINIMUM)),
        jb::field("maximum_current_amplitude", &P::maximum_current_amplitude, MARLEK_DOC(MARLEK_GEIS_MAXIMUM)),
        jb::recordList("spectrum", &P::spectrum, impedance_fields::frequencyTableEntry(),
                       MARLEK_DOC("spectrum measurement settings")),
        jb::field("drift_correction", &P::drift_correction, MARLEK_DOC(MARLEK_DRIFT_CORRECTION_DOC))
            .orElse(DriftCorrection::FULL));
}

} // namespace

void init_geis_va_wrap(py::module_& meas)
{
    const auto generate = generateFields();
    const auto table = tableFields();

    jb::bindParameters<GeisVaGenerateJob>(meas, "GeisVaParametersGeneratePy", generate);
    jb::bindParameters<GeisVaFrequencyTableJob>(meas, "GeisVaParametersFrequencyTablePy", table);

    auto generateJob =
        jb::bindJob<GeisVaGenerateJob>(meas, "GeisVaGenerateJob", "marlek_link.meas.GeisVaParametersGeneratePy");
    jb::addFlatInit<GeisVaGenerateJob, jb::Extras::metaData>(
        generateJob, generate,
        "\n    Electrochemical Impedance Spectroscopy job\n\n"
        "    The galvanostatic sweep runs from start_frequency up to max_frequency and back down to\n"
        "    min_frequency; min_frequency < start_frequency < max_frequency must hold. Between 66 Hz and\n"
        "    max_frequency there are points_per_decade_upper logarithmically equidistant steps per decade;\n"
        "    from 66 Hz down to min_frequency the density changes linearly to points_per_decade_lower.\n\n"
        "    Per frequency point at least meas_waves periods are measured; if meas_duration has not been\n"
        "    reached after them, measuring continues until it has.\n\n"
        "    :param bias: " MARLEK_GEIS_BIAS "\n"
        "    :param min_frequency: lower frequency limit of the impedance spectrum\n"
        "    :param max_frequency: upper frequency limit of the impedance spectrum\n"
        "    :param start_frequency: starting frequency of the impedance spectrum\n"
        "    :param points_per_decade_upper: steps per decade between 66 Hz and max_frequency\n"
        "    :param points_per_decade_lower: steps per decade at min_frequency\n"
        "    :param pre_duration: minimum pre-conditioning time for each frequency step\n"
        "    :param pre_waves: number of pre-conditioning sine waves before each frequency step\n"
        "    :param meas_duration: minimum recording time for each frequency step\n"
        "    :param meas_waves: minimum number of sine waves for each frequency step\n"
        "    :param amplitude: corresponding AC voltage peak amplitude\n"
        "    :param minimum_current_amplitude: " MARLEK_GEIS_MINIMUM "\n"
        "    :param maximum_current_amplitude: " MARLEK_GEIS_MAXIMUM "\n" MARLEK_DRIFT_CORRECTION_PARAM
            MARLEK_META_DATA_PARAM MARLEK_JSON_EXAMPLE_HEAD
        "            {\n"
        "                \"do\": \"/job/start\",\n"
        "                \"request_id\": \"geis-va-job-uuid-example\",\n"
        "                \"job\": {\n"
        "                    \"type\": \"geis_va\",\n"
        "                    \"parameters\": {\n"
        "                        \"bias\": 0.0,\n"
        "                        \"minimum_current_amplitude\": 1e-06,\n"
        "                        \"maximum_current_amplitude\": 0.001,\n"
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

    jb::bindRecord(meas, "GeisVaParametersFrequencyTable", table,
                   "\n    Galvanostatic Electrochemical Impedance Spectroscopy parameters with self-specified "
                   "frequency points.\n\n" MARLEK_GEIS_SELF_SPECIFIED MARLEK_GEIS_TABLE_PARAMS);

    auto tableJob = jb::bindJob<GeisVaFrequencyTableJob>(meas, "GeisVaFrequencyTableJob",
                                                        "marlek_link.meas.GeisVaParametersFrequencyTablePy");
    jb::addFlatInit<GeisVaFrequencyTableJob, jb::Extras::metaData>(
        tableJob, table,
        MARLEK_GEIS_TABLE_SUMMARY MARLEK_GEIS_TABLE_PARAMS MARLEK_META_DATA_PARAM MARLEK_JSON_EXAMPLE_HEAD
        "            {\n"
        "                \"do\": \"/job/start\",\n"
        "                \"request_id\": \"geis-va-table-job-uuid-example\",\n"
        "                \"job\": {\n"
        "                    \"type\": \"geis_va_table\",\n"
        "                    \"parameters\": {\n"
        "                        \"bias\": 0.0,\n"
        "                        \"minimum_current_amplitude\": 1e-06,\n"
        "                        \"maximum_current_amplitude\": 0.001,\n"
        "                        \"frequency_range\": {\n"
        "                            \"type\": \"table\",\n"
        "                            \"spectrum\": [\n"
        "                                " MARLEK_GEIS_ENTRY("1000.0") ",\n"
        "                                " MARLEK_GEIS_ENTRY("100.0") ",\n"
        "                                " MARLEK_GEIS_ENTRY("10.0") "\n"
        "                            ]\n"
        "                        },\n"
        "                        \"drift_correction\": \"FULL\"\n"
        "                    },\n"
        "                    \"stop_conditions\": [],\n"
        "                    \"job_meta\": {}\n"
        "                }\n"
        "            }\n");
    jb::addRecordInit<GeisVaFrequencyTableJob>(
        tableJob, "table",
        MARLEK_GEIS_TABLE_SUMMARY "    :param table: spectrum measurement settings\n" MARLEK_META_DATA_PARAM);
    jb::addDictInit<GeisVaFrequencyTableJob>(
        tableJob, "table", table,
        MARLEK_GEIS_TABLE_SUMMARY
        "    :param table: a dictionary with values like the following example\n\n"
        "        .. code-block:: python\n\n"
        "            {\n"
        "                \"bias\": 0.0,\n"
        "                \"minimum_current_amplitude\": 1e-06,\n"
        "                \"maximum_current_amplitude\": 1,\n"
        "                \"spectrum\": [\n"
        "                    " MARLEK_GEIS_ENTRY("1000") ",\n"
        "                    " MARLEK_GEIS_ENTRY("100") ",\n"
        "                    " MARLEK_GEIS_ENTRY("10") ",\n"
        "                ],\n"
        "            }\n\n"
        "        Or a simplified, shorter notation if, for example, only the frequency in the list needs to be\n"
        "        adjusted.\n\n"
        "        .. code-block:: python\n\n"
        "            {\n"
        "                \"bias\": 0.0,\n"
        "                \"minimum_current_amplitude\": 1e-06,\n"
        "                \"maximum_current_amplitude\": 1,\n"
        "                \"spectrum\": [" MARLEK_GEIS_ENTRY("f") " for f in [1000, 100, 10]],\n"
        "            }\n\n" MARLEK_META_DATA_PARAM);
}
