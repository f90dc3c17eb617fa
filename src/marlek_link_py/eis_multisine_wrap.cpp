// The multisine impedance jobs of meas: one multisine of weighted harmonics
// ("eis_multisine_table") and the generated sweep whose lowest decades one
// multisine point measures ("eis_multisine").

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

using EisMultisineTableJob = AcMeasurementJob<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>;
using EisMultisineGenerateJob =
    AcMeasurementJob<EisMultisineParametersGenerate, &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>;

#define MARLEK_MULTISINE_DRIFT_DOC                                                                             \
    "\n    how much of the drift correction is applied:\n\n"                                                     \
    "    * FULL (default) corrects a point measured with one period spectrally and everything above it from\n"  \
    "      the period means\n"                                                                                  \
    "    * DC_ONLY drops the spectral estimator, so a multisine point measured with one period stays\n"         \
    "      uncorrected\n"                                                                                       \
    "    * OFF subtracts nothing and only reports the estimated drift per path\n"

#define MARLEK_MULTISINE_DISTORTION                                                                           \
    "    In a multisine measurement, harmonics made by the system's nonlinear behaviour can fall on other\n"  \
    "    excitation frequencies and corrupt those points with distortion.\n\n"

#define MARLEK_MULTISINE_ADVICE                                                                               \
    "    Measure a normal EIS spectrum or EIS frequency table first, so that the TQ5 already knows the\n"     \
    "    current range of the object; otherwise the range has to be found on the multisine wave itself, at\n" \
    "    the cost of one full period of the fundamental per attempt.\n\n"                                     \
    "    The multisine job is meant for the low frequency range, where a sweep takes longest: measure the\n"  \
    "    high frequencies with a normal EIS job and merge the two spectra afterwards.\n\n"

#define MARLEK_MULTISINE_TABLE_SUMMARY "\n    Electrochemical Impedance Spectroscopy multisine table job\n\n"
#define MARLEK_MULTISINE_GENERATE_SUMMARY "\n    Intelligent multisine Electrochemical Impedance Spectroscopy job\n\n"

#define MARLEK_HARMONIC(number) "{\"harmonic\": " number ", \"weight\": 1.0}"

// The two optional fields both records end with.
template <typename P>
auto resultOptions(const char* waveInResultDoc)
{
    return jb::fields<P>(
        jb::field("multisine_wave_in_result", &P::multisine_wave_in_result, waveInResultDoc).orElse(false),
        jb::field("drift_correction", &P::drift_correction, MARLEK_MULTISINE_DRIFT_DOC)
            .orElse(DriftCorrection::FULL));
}

auto entryFields()
{
    using E = EisMultiSineTableEntry;
    return jb::fields<E>(jb::field("harmonic", &E::harmonic, MARLEK_DOC("harmonic number")),
                         jb::field("weight", &E::weight, MARLEK_DOC("weight factor for this harmonic's amplitude")));
}

auto tableFields()
{
    using P = EisMultiSineTable;
    return jb::join(
        jb::fields<P>(
            jb::field("bias", &P::bias, MARLEK_DOC("DC bias for defining the operating point of the object")),
            jb::field("pre_duration", &P::pre_duration,
                      MARLEK_DOC("minimum pre-conditioning time for each frequency step")),
            jb::field("pre_waves", &P::pre_waves,
                      MARLEK_DOC("number of pre-conditioning sine waves before each frequency step")),
            jb::field("meas_duration", &P::meas_duration, MARLEK_DOC("minimum recording time for each frequency step")),
            jb::field("meas_waves", &P::meas_waves,
                      MARLEK_DOC("minimum number of sine waves for each frequency step")),
            jb::field("amplitude", &P::amplitude, MARLEK_DOC("corresponding AC peak amplitude")),
            jb::field("fundamental_frequency", &P::fundamental_frequency,
                      MARLEK_DOC("fundamental frequency of the multisine signal")),
            jb::recordList("harmonics", &P::harmonics, entryFields(),
                           MARLEK_DOC("list of harmonics with their weights"))),
        resultOptions<P>(MARLEK_DOC("whether the full multisine wave is part of the result, False by default. One "
                                    "multisine period is fftn samples - millions at a low fundamental - so it is off "
                                    "unless asked for, and the rows then carry wave_id -1. The online preview is "
                                    "unaffected and always runs.")));
}

// Its single-sine part has the fields of a generated sweep, each meant for
// the single-sine frequency steps, with the amplitude before the recording
// fields.
auto generateFields()
{
    using P = EisMultisineParametersGenerate;
    return jb::join(
        jb::join(
            jb::join(jb::fields<P>(jb::field("bias", &P::bias,
                                             MARLEK_DOC("DC bias for defining the operating point of the object"))),
                     impedance_fields::frequencyLimits<P>()),
            jb::fields<P>(
                jb::field("points_per_decade_upper", &P::points_per_decade_upper,
                          MARLEK_DOC("number of single sine frequency steps per decade between 66 Hz and "
                                     "max_frequency")),
                jb::field("points_per_decade_lower", &P::points_per_decade_lower,
                          MARLEK_DOC("number of single sine frequency steps per decade at min_frequency")),
                jb::field("pre_duration", &P::pre_duration,
                          MARLEK_DOC("minimum pre-conditioning time for each single sine frequency step")),
                jb::field("pre_waves", &P::pre_waves,
                          MARLEK_DOC("number of pre-conditioning sine waves before each single sine frequency step")),
                jb::field("amplitude", &P::amplitude,
                          MARLEK_DOC("corresponding AC peak amplitude, for the multisine the peak of the summed wave")),
                jb::field("meas_duration", &P::meas_duration,
                          MARLEK_DOC("minimum recording time for each single sine frequency step")),
                jb::field("meas_waves", &P::meas_waves,
                          MARLEK_DOC("minimum number of sine waves for each single sine frequency step")),
                jb::field("multisine_pre_waves", &P::multisine_pre_waves,
                          MARLEK_DOC("number of pre-conditioning multisine periods, 0 turns the pre-conditioning off")),
                jb::field("multisine_meas_waves", &P::multisine_meas_waves,
                          MARLEK_DOC("number of recorded multisine periods")),
                jb::field("multisine_decades", &P::multisine_decades,
                          MARLEK_DOC("number of decades covered by the multisine, counted up from min_frequency, 0 "
                                     "disables it")),
                jb::field("multisine_starting_harmonic", &P::multisine_starting_harmonic,
                          MARLEK_DOC("lowest excited bin of the multisine, 1, 2 or 3")))),
        resultOptions<P>(MARLEK_DOC("whether the full multisine wave is part of the result, False by default")));
}

} // namespace

void init_eis_multisine_wrap(py::module_& meas)
{
    const auto table = tableFields();
    const auto generate = generateFields();

    jb::bindParameters<EisMultisineTableJob>(meas, "EisMultiSineTablePy", table);
    jb::bindParameters<EisMultisineGenerateJob>(meas, "EisMultisineParametersGeneratePy", generate, jb::Docs::shown);

    jb::bindRecord(meas, "EisMultiSineTableEntry", entryFields(),
                   "\n    Settings for a harmonic in the multisine table\n\n" MARLEK_MULTISINE_DISTORTION
                       MARLEK_MULTISINE_ADVICE);
    jb::bindRecord(meas, "EisMultiSineTable", table,
                   "\n    Electrochemical Impedance Spectroscopy multisine table parameters\n\n"
                   MARLEK_MULTISINE_DISTORTION MARLEK_MULTISINE_ADVICE);

    auto tableJob = jb::bindJob<EisMultisineTableJob>(meas, "EisMultisineTableJob", "EisMultiSineTablePy");
    jb::addFlatInit<EisMultisineTableJob, jb::Extras::metaData>(
        tableJob, table,
        MARLEK_MULTISINE_TABLE_SUMMARY
        "    Measures the impedance with a multisine signal made of a fundamental frequency and a set of\n"
        "    harmonics with individual weights.\n\n" MARLEK_MULTISINE_DISTORTION MARLEK_MULTISINE_ADVICE,
        job_doc::requestExample("eis_multisine_table",
                                "{\n"
                                "    \"bias\": 0.0,\n"
                                "    \"frequency_range\": {\n"
                                "        \"type\": \"table\",\n"
                                "        \"fundamental_frequency\": 0.1,\n"
                                "        \"pre_duration\": 0.0, \"pre_waves\": 1,\n"
                                "        \"meas_duration\": 0.0, \"meas_waves\": 3, \"amplitude\": 0.01,\n"
                                "        \"harmonics\": [\n"
                                "            " MARLEK_HARMONIC("1") ", " MARLEK_HARMONIC("2") ",\n"
                                "            " MARLEK_HARMONIC("3") ", " MARLEK_HARMONIC("5") ",\n"
                                "            " MARLEK_HARMONIC("7") ", " MARLEK_HARMONIC("11") ",\n"
                                "            " MARLEK_HARMONIC("13") ", " MARLEK_HARMONIC("17") "\n"
                                "        ]\n"
                                "    },\n"
                                "    \"multisine_wave_in_result\": false,\n"
                                "    \"drift_correction\": \"FULL\"\n"
                                "}"));
    jb::addRecordInit<EisMultisineTableJob>(tableJob, "table", MARLEK_MULTISINE_TABLE_SUMMARY,
                                            "multisine table measurement settings");
    jb::addDictInit<EisMultisineTableJob>(
        tableJob, "table", table, MARLEK_MULTISINE_TABLE_SUMMARY MARLEK_MULTISINE_ADVICE,
        "a dictionary with values like the following example\n\n"
        "        .. code-block:: python\n\n"
        "            {\n"
        "                \"bias\": 0.0,\n"
        "                \"pre_duration\": 0.0,\n"
        "                \"pre_waves\": 1,\n"
        "                \"meas_duration\": 0.0,\n"
        "                \"meas_waves\": 3,\n"
        "                \"amplitude\": 0.01,\n"
        "                \"fundamental_frequency\": 0.1,\n"
        "                \"harmonics\": [{\"harmonic\": 1, \"weight\": 1.0}, {\"harmonic\": 2, \"weight\": 0.5}],\n"
        "                \"multisine_wave_in_result\": False,\n"
        "            }\n\n");

    auto generateJob =
        jb::bindJob<EisMultisineGenerateJob>(meas, "EisMultisineGenerateJob", "EisMultisineParametersGeneratePy");
    jb::addFlatInit<EisMultisineGenerateJob, jb::Extras::metaData>(
        generateJob, generate,
        MARLEK_MULTISINE_GENERATE_SUMMARY
        "    A generated single-sine spectrum from start_frequency up to max_frequency and back down, whose\n"
        "    lowest multisine_decades decades above min_frequency are measured by one multisine point;\n"
        "    min_frequency is also the lowest multisine bin. The multisine costs\n"
        "    (multisine_pre_waves + multisine_meas_waves) * multisine_starting_harmonic / min_frequency instead\n"
        "    of about (pre_waves + meas_waves) * 2.7 / min_frequency for a sweep at 5 points per decade, and\n"
        "    delivers more frequency points, at a lower signal-to-noise ratio per point. The harmonic set and its\n"
        "    crest-optimised phases are stored in the device.\n\n"
        "    multisine_decades 0 leaves a plain single-sine spectrum; the value is at most 5, and\n"
        "    min_frequency * 10^multisine_decades may not exceed about 15 kHz (the TQ5 rejects the job and names\n"
        "    the largest number of decades that would have fitted). The two densities apply to the single-sine\n"
        "    part only; the multisine is fixed at 8 bins per decade. multisine_starting_harmonic 1 is fastest,\n"
        "    2 keeps distortion products on even bins, 3 is the classical set leaving bins 1 and 2 free.\n\n",
        job_doc::requestExample("eis_multisine", R"({
    "bias": 0.0,
    "frequency_range": {
        "type": "generate",
        "min_frequency": 0.1, "max_frequency": 100000.0,
        "start_frequency": 1000.0,
        "points_per_decade_upper": 10, "points_per_decade_lower": 5,
        "pre_duration": 0.0, "pre_waves": 1, "amplitude": 0.01,
        "meas_duration": 0.0, "meas_waves": 3,
        "multisine_pre_waves": 0, "multisine_meas_waves": 1,
        "multisine_decades": 2, "multisine_starting_harmonic": 1
    },
    "multisine_wave_in_result": false,
    "drift_correction": "FULL"
})"));
    jb::addDictInit<EisMultisineGenerateJob>(
        generateJob, "parameters", generate, MARLEK_MULTISINE_GENERATE_SUMMARY,
        "a dictionary with values like the following example\n\n"
        "        .. code-block:: python\n\n"
        "            {\n"
        "                \"bias\": 0.0,\n"
        "                \"min_frequency\": 0.1,\n"
        "                \"max_frequency\": 100000.0,\n"
        "                \"start_frequency\": 1000.0,\n"
        "                \"points_per_decade_upper\": 10,\n"
        "                \"points_per_decade_lower\": 5,\n"
        "                \"pre_duration\": 0.0,\n"
        "                \"pre_waves\": 1,\n"
        "                \"amplitude\": 0.01,\n"
        "                \"meas_duration\": 0.0,\n"
        "                \"meas_waves\": 3,\n"
        "                \"multisine_pre_waves\": 0,\n"
        "                \"multisine_meas_waves\": 1,\n"
        "                \"multisine_decades\": 2,\n"
        "                \"multisine_starting_harmonic\": 1,\n"
        "                \"multisine_wave_in_result\": False,  # False is the default anyway\n"
        "            }\n\n");
}
