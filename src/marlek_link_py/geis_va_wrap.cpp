// The galvanostatic impedance jobs of meas: generated sweep ("geis_va") and
// frequency table ("geis_va_table"), both limited to a range of current
// amplitudes. Their frequency points are the single-sine table's entries.

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

using GeisVaGenerateJob = AcMeasurementJob<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>;
using GeisVaFrequencyTableJob = AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>;

#define MARLEK_GEIS_SELF_SPECIFIED                                                                            \
    "    With this EIS you determine the frequencies, amplitude and duration of the measurement, which\n"     \
    "    characterises the object better at relevant points than a generated spectrum, whose support\n"      \
    "    points cannot be defined precisely.\n\n"

#define MARLEK_GEIS_TABLE_SUMMARY                                                                             \
    "\n    Electrochemical Impedance Spectroscopy job with self-specified frequency points.\n\n"                \
    MARLEK_GEIS_SELF_SPECIFIED

#define MARLEK_GEIS_ENTRY(frequency)                                                                          \
    "{\"frequency\": " frequency ", \"amplitude\": 0.01, \"pre_duration\": 0.1, \"pre_waves\": 1, "           \
    "\"meas_duration\": 0.2, \"meas_waves\": 2}"

#define MARLEK_GEIS_BIAS_DOC MARLEK_DOC("DC current bias for defining the operating point of the object")

// The range of current amplitudes both records are limited to.
template <typename P>
auto currentAmplitudes()
{
    return jb::fields<P>(
        jb::field("minimum_current_amplitude", &P::minimum_current_amplitude,
                  MARLEK_DOC("minimum current amplitude that will be used for the measurement")),
        jb::field("maximum_current_amplitude", &P::maximum_current_amplitude,
                  MARLEK_DOC("maximum current amplitude that will be used for the measurement")));
}

auto generateFields()
{
    using P = GeisVaParametersGenerate;
    return jb::join(jb::join(impedance_fields::generatedSweep<P>(
                                 MARLEK_GEIS_BIAS_DOC, MARLEK_DOC("corresponding AC voltage peak amplitude")),
                             currentAmplitudes<P>()),
                    jb::fields<P>(impedance_fields::driftCorrection<P>()));
}

auto tableFields()
{
    using P = GeisVaParametersFrequencyTable;
    return jb::join(jb::join(jb::fields<P>(jb::field("bias", &P::bias, MARLEK_GEIS_BIAS_DOC)), currentAmplitudes<P>()),
                    jb::fields<P>(jb::recordList("spectrum", &P::spectrum, impedance_fields::frequencyTableEntry(),
                                                 MARLEK_DOC(MARLEK_SPECTRUM_DOC)),
                                  impedance_fields::driftCorrection<P>()));
}

} // namespace

void init_geis_va_wrap(py::module_& meas)
{
    const auto generate = generateFields();
    const auto table = tableFields();

    jb::bindParameters<GeisVaGenerateJob>(meas, "GeisVaParametersGeneratePy", generate);
    jb::bindParameters<GeisVaFrequencyTableJob>(meas, "GeisVaParametersFrequencyTablePy", table);

    auto generateJob = jb::bindJob<GeisVaGenerateJob>(meas, "GeisVaGenerateJob", "GeisVaParametersGeneratePy");
    jb::addFlatInit<GeisVaGenerateJob, jb::Extras::metaData>(
        generateJob, generate,
        "\n    Electrochemical Impedance Spectroscopy job\n\n"
        "    The galvanostatic sweep runs from start_frequency up to max_frequency and back down to\n"
        "    min_frequency; min_frequency < start_frequency < max_frequency must hold. Between 66 Hz and\n"
        "    max_frequency there are points_per_decade_upper logarithmically equidistant steps per decade;\n"
        "    from 66 Hz down to min_frequency the density changes linearly to points_per_decade_lower.\n\n"
        "    Per frequency point at least meas_waves periods are measured; if meas_duration has not been\n"
        "    reached after them, measuring continues until it has.\n\n",
        job_doc::requestExample("geis_va", R"({
    "bias": 0.0,
    "minimum_current_amplitude": 1e-06,
    "maximum_current_amplitude": 0.001,
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

    jb::bindRecord(meas, "GeisVaParametersFrequencyTable", table,
                   "\n    Galvanostatic Electrochemical Impedance Spectroscopy parameters with self-specified "
                   "frequency points.\n\n" MARLEK_GEIS_SELF_SPECIFIED);

    auto tableJob =
        jb::bindJob<GeisVaFrequencyTableJob>(meas, "GeisVaFrequencyTableJob", "GeisVaParametersFrequencyTablePy");
    jb::addFlatInit<GeisVaFrequencyTableJob, jb::Extras::metaData>(
        tableJob, table, MARLEK_GEIS_TABLE_SUMMARY,
        job_doc::requestExample("geis_va_table", "{\n"
                                                 "    \"bias\": 0.0,\n"
                                                 "    \"minimum_current_amplitude\": 1e-06,\n"
                                                 "    \"maximum_current_amplitude\": 0.001,\n"
                                                 "    \"frequency_range\": {\n"
                                                 "        \"type\": \"table\",\n"
                                                 "        \"spectrum\": [\n"
                                                 "            " MARLEK_GEIS_ENTRY("1000.0") ",\n"
                                                 "            " MARLEK_GEIS_ENTRY("100.0") ",\n"
                                                 "            " MARLEK_GEIS_ENTRY("10.0") "\n"
                                                 "        ]\n"
                                                 "    },\n"
                                                 "    \"drift_correction\": \"FULL\"\n"
                                                 "}"));
    jb::addRecordInit<GeisVaFrequencyTableJob>(tableJob, "table", MARLEK_GEIS_TABLE_SUMMARY, MARLEK_SPECTRUM_DOC);
    jb::addDictInit<GeisVaFrequencyTableJob>(
        tableJob, "table", table, MARLEK_GEIS_TABLE_SUMMARY,
        "a dictionary with values like the following example\n\n"
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
        "            }\n\n");
}
