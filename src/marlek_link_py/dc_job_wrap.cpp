// The DC measurement jobs of meas (each parameter class right before its
// job class): one flat constructor per job, taking the record's fields, the
// job metadata and the stop conditions.

#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"

#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace jb = job_binding;

namespace {

using CvJob = DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;
using FastCyclingJob = DcMeasurementJob<FastCyclingParameters, &JobNames::FAST_CYCLING_JOB_NAME>;
using OcvJob = DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>;
using PogaJob = DcMeasurementJob<PogaParameters, &JobNames::POGA_JOB_NAME>;
using RampJob = DcMeasurementJob<RampParameters, &JobNames::RAMP_JOB_NAME>;
using SteadyStairsJob = DcMeasurementJob<SteadyStairsParameters, &JobNames::STEADYSTAIRS_JOB_NAME>;
using DpvJob = DcMeasurementJob<DpvParameters, &JobNames::DPV_JOB_NAME>;
using NpvJob = DcMeasurementJob<NpvParameters, &JobNames::NPV_JOB_NAME>;
using SwvJob = DcMeasurementJob<SwvParameters, &JobNames::SWV_JOB_NAME>;

// Parameter class and job class of one technique.
template <typename Job, typename Fields>
void bindDcJob(py::module_& meas, const char* parameterClass, const char* jobClass, const char* dottedParameterClass,
               const Fields& fields, const char* doc)
{
    jb::bindParameters<Job>(meas, parameterClass, fields);
    auto job = jb::bindJob<Job>(meas, jobClass, dottedParameterClass);
    jb::addFlatInit<Job, jb::Extras::metaDataAndStopConditions>(job, fields, doc);
}

#define MARLEK_FIELD(Record, name) jb::field(#name, &Record::name)

#define MARLEK_DC_TAIL                                                                                          \
    "    :param meta_data: dict[str, str] with user-defined key-value pairs\n"                                   \
    "    :param stop_conditions: list of stop condition objects from :ref:`python_stopconditions`\n\n"           \
    "    .. collapse:: WebSocket JSON Example\n\n"                                                               \
    "        .. code-block:: json\n\n"

#define MARLEK_AUTORANGE                                                                                        \
    "    :param autorange: automatic range switching, only supported for an output_data_rate up to 50 Hz;\n"   \
    "        for maximum accuracy switch it off and choose current_range to match the object's current\n"       \
    "    :param current_range: current range given as the maximum absolute current of the object, used\n"      \
    "        when autoranging is disabled\n"

#define MARLEK_NO_AUTORANGE                                                                                     \
    "    :param current_range: current range given as the maximum absolute current of the object\n"

// The request every example shows, around the job's own parameters.
#define MARLEK_REQUEST(type, id, parameters)                                                                    \
    "            {\n"                                                                                           \
    "                \"do\": \"/job/start\",\n"                                                                 \
    "                \"request_id\": \"" id "-job-uuid-example\",\n"                                            \
    "                \"job\": {\n"                                                                              \
    "                    \"type\": \"" type "\",\n"                                                             \
    "                    \"parameters\": {" parameters "},\n"                                                   \
    "                    \"stop_conditions\": [],\n"                                                            \
    "                    \"job_meta\": {}\n"                                                                    \
    "                }\n"                                                                                       \
    "            }\n"

void bindCv(py::module_& meas)
{
    const auto fields = jb::fields<CvParameters>(
        MARLEK_FIELD(CvParameters, start_value), MARLEK_FIELD(CvParameters, first_vertex),
        MARLEK_FIELD(CvParameters, second_vertex), MARLEK_FIELD(CvParameters, end_value),
        MARLEK_FIELD(CvParameters, scan_rate), MARLEK_FIELD(CvParameters, output_data_rate),
        MARLEK_FIELD(CvParameters, num_cycles), MARLEK_FIELD(CvParameters, autorange),
        MARLEK_FIELD(CvParameters, current_range), MARLEK_FIELD(CvParameters, turn_limit_check),
        MARLEK_FIELD(CvParameters, upper_turn_boundary), MARLEK_FIELD(CvParameters, lower_turn_boundary),
        MARLEK_FIELD(CvParameters, step_height), MARLEK_FIELD(CvParameters, ir_drop));
    bindDcJob<CvJob>(
        meas, "CvParametersPy", "CvJob", "marlek_link.meas.CvParametersPy", fields,
        "\n    Cyclic Voltammetry job\n\n"
        "    The job can run potentiostatically or galvanostatically. The parameters are described for the\n"
        "    potentiostatic case; if the potentiostat was switched on galvanostatically, potentials become\n"
        "    currents and currents become voltages (start_value becomes a current, upper_turn_boundary a\n"
        "    voltage).\n\n"
        "    :param start_value: starting potential\n"
        "    :param first_vertex: first reversing potential\n"
        "    :param second_vertex: second reversing potential\n"
        "    :param end_value: ending potential\n"
        "    :param scan_rate: magnitude of the scan slew rate \xce\x94"
        "E/\xce\x94t\n"
        "    :param output_data_rate: rate at which data is output\n"
        "    :param num_cycles: number of full cycles (first to second potential and back), half cycles with .5\n"
        MARLEK_AUTORANGE
        "    :param turn_limit_check: whether turn limits are checked\n"
        "    :param upper_turn_boundary: upper reversal current at which the scan is reversed\n"
        "    :param lower_turn_boundary: lower reversal current at which the scan is reversed\n"
        "    :param step_height: height of the steps, 0 uses the smallest step size\n"
        "    :param ir_drop: ohmic value for iR-drop compensation, 0 disables it\n" MARLEK_DC_TAIL MARLEK_REQUEST(
            "cv", "cv",
            "\"start_value\": 0.0, \"first_vertex\": 1.0, \"second_vertex\": -1.0, \"end_value\": 0.0, "
            "\"scan_rate\": 0.1, \"output_data_rate\": 25.0, \"num_cycles\": 2.5, \"autorange\": true, "
            "\"current_range\": 0.01, \"turn_limit_check\": false, \"upper_turn_boundary\": 0.01, "
            "\"lower_turn_boundary\": -0.01, \"step_height\": 0.0, \"ir_drop\": 0.0"));
}

void bindFastCycling(py::module_& meas)
{
    using P = FastCyclingParameters;
    const auto fields = jb::fields<P>(
        MARLEK_FIELD(P, first_step), MARLEK_FIELD(P, second_step), MARLEK_FIELD(P, end_value),
        MARLEK_FIELD(P, step_time), MARLEK_FIELD(P, output_data_rate), MARLEK_FIELD(P, num_cycles),
        MARLEK_FIELD(P, autorange), MARLEK_FIELD(P, current_range), MARLEK_FIELD(P, turn_limit_check),
        MARLEK_FIELD(P, upper_turn_boundary), MARLEK_FIELD(P, lower_turn_boundary));
    bindDcJob<FastCyclingJob>(
        meas, "FastCyclingParametersPy", "FastCyclingJob", "marlek_link.meas.FastCyclingParametersPy", fields,
        "\n    Fast Cycling job\n\n"
        "    Runs a whole charge/discharge cycling inside one job, stepping between two values without dead\n"
        "    time between separate jobs; potentiostatic or galvanostatic as the cyclic voltammetry. The job\n"
        "    jumps to first_step and holds it until step_time has passed or, with turn_limit_check, until a\n"
        "    turn boundary is crossed, then jumps to second_step, and so on. A full cycle is first_step and\n"
        "    second_step, so num_cycles=0.5 performs only first_step. After the last step the output is set\n"
        "    to end_value.\n\n"
        "    :param first_step: first applied bias value\n"
        "    :param second_step: second applied bias value\n"
        "    :param end_value: protective value driven to after the last step\n"
        "    :param step_time: maximum hold duration of a step\n"
        "    :param output_data_rate: rate at which data is output\n"
        "    :param num_cycles: number of full cycles, half cycles with .5\n" MARLEK_AUTORANGE
        "    :param turn_limit_check: early step change at the turn boundaries (if disabled every step runs\n"
        "        the full step_time)\n"
        "    :param upper_turn_boundary: upper reversal current at which the step is changed\n"
        "    :param lower_turn_boundary: lower reversal current at which the step is changed\n" MARLEK_DC_TAIL
            MARLEK_REQUEST("fast_cycling", "fast-cycling",
                           "\"first_step\": 0.001, \"second_step\": -0.001, \"end_value\": 0.0, \"step_time\": 1.0, "
                           "\"output_data_rate\": 1000.0, \"num_cycles\": 10.0, \"autorange\": false, "
                           "\"current_range\": 0.001, \"turn_limit_check\": true, \"upper_turn_boundary\": 1.5, "
                           "\"lower_turn_boundary\": 0.5"));
}

void bindOcv(py::module_& meas)
{
    const auto fields =
        jb::fields<OcvParameters>(MARLEK_FIELD(OcvParameters, duration), MARLEK_FIELD(OcvParameters, output_data_rate));
    bindDcJob<OcvJob>(meas, "OcvParametersPy", "OcvJob", "marlek_link.meas.OcvParametersPy", fields,
                      "\n    Open Circuit Voltage job\n\n"
                      "    Also referred to as Open Circuit Potential.\n\n"
                      "    :param duration: maximum runtime\n"
                      "    :param output_data_rate: rate at which data is output\n" MARLEK_DC_TAIL
                          MARLEK_REQUEST("ocv", "ocv", "\"duration\": 10.0, \"output_data_rate\": 10.0"));
}

void bindPoga(py::module_& meas)
{
    using P = PogaParameters;
    const auto fields = jb::fields<P>(MARLEK_FIELD(P, bias), MARLEK_FIELD(P, duration),
                                      MARLEK_FIELD(P, output_data_rate),
                                      MARLEK_FIELD(P, autorange), MARLEK_FIELD(P, current_range));
    bindDcJob<PogaJob>(meas, "PogaParametersPy", "PogaJob", "marlek_link.meas.PogaParametersPy", fields,
                       "\n    Poga Potentiostatic Galvanostatic Polarization job\n\n"
                       "    Potentiostatic or galvanostatic; also referred to as chronopotentiometry,\n"
                       "    chronoamperometry and chronocoulometry.\n\n"
                       "    :param bias: start value\n"
                       "    :param duration: maximum runtime\n"
                       "    :param output_data_rate: rate at which data is output\n" MARLEK_AUTORANGE MARLEK_DC_TAIL
                           MARLEK_REQUEST("poga", "poga",
                                          "\"bias\": 1.0, \"duration\": 5.0, \"output_data_rate\": 25.0, "
                                          "\"autorange\": true, \"current_range\": 0.1"));
}

void bindRamp(py::module_& meas)
{
    using P = RampParameters;
    const auto fields = jb::fields<P>(MARLEK_FIELD(P, start_value), MARLEK_FIELD(P, end_value),
                                      MARLEK_FIELD(P, scan_rate),
                                      MARLEK_FIELD(P, step_height), MARLEK_FIELD(P, output_data_rate),
                                      MARLEK_FIELD(P, autorange), MARLEK_FIELD(P, current_range));
    bindDcJob<RampJob>(meas, "RampParametersPy", "RampJob", "marlek_link.meas.RampParametersPy", fields,
                       "\n    Ramp job\n\n"
                       "    Potentiostatic or galvanostatic; also referred to as linear sweep voltammetry (LSV),\n"
                       "    linear sweep galvanostatic, staircase voltammetry/galvanostatic and current-voltage\n"
                       "    characteristic.\n\n"
                       "    :param start_value: start value of the ramp\n"
                       "    :param end_value: end value of the ramp\n"
                       "    :param scan_rate: scan rate from start_value to end_value\n"
                       "    :param step_height: height of the steps, 0 uses the smallest step size\n"
                       "    :param output_data_rate: rate at which data is output\n" MARLEK_AUTORANGE MARLEK_DC_TAIL
                           MARLEK_REQUEST("ramp", "ramp",
                                          "\"output_data_rate\": 10.0, \"current_range\": 0.1, \"start_value\": 0.0, "
                                          "\"end_value\": 1.0, \"scan_rate\": 0.1, \"step_height\": 0.0, "
                                          "\"autorange\": true"));
}

void bindSteadyStairs(py::module_& meas)
{
    using P = SteadyStairsParameters;
    const auto fields = jb::fields<P>(
        MARLEK_FIELD(P, start_value), MARLEK_FIELD(P, end_value), MARLEK_FIELD(P, step_time),
        MARLEK_FIELD(P, step_height), MARLEK_FIELD(P, hold_time), MARLEK_FIELD(P, stability_tolerance),
        MARLEK_FIELD(P, output_data_rate), MARLEK_FIELD(P, autorange), MARLEK_FIELD(P, current_range));
    bindDcJob<SteadyStairsJob>(
        meas, "SteadyStairsParametersPy", "SteadyStairsJob", "marlek_link.meas.SteadyStairsParametersPy", fields,
        "\n    Steady Stairs Current Voltage Characteristic/Curves job\n\n"
        "    Potentiostatic or galvanostatic; outputs slower steps, each ending on a change tolerance (for\n"
        "    example a voltage step ends when the change of the current falls below a value).\n\n"
        "    :param start_value: start value\n"
        "    :param end_value: end value\n"
        "    :param step_time: maximum duration of a step\n"
        "    :param step_height: height of the steps\n"
        "    :param hold_time: time after which the stability tolerance is checked\n"
        "    :param stability_tolerance: absolute tolerance of the change of the dimension per second below\n"
        "        which the step stops\n"
        "    :param output_data_rate: rate at which data is output\n" MARLEK_AUTORANGE MARLEK_DC_TAIL MARLEK_REQUEST(
            "steady_stairs", "steady-stairs",
            "\"start_value\": 0.0, \"end_value\": 1.0, \"step_time\": 2.0, \"step_height\": 0.01, "
            "\"hold_time\": 1.0, \"stability_tolerance\": 0.01, \"output_data_rate\": 10.0, "
            "\"autorange\": true, \"current_range\": 0.1"));
}

void bindDpv(py::module_& meas)
{
    using P = DpvParameters;
    const auto fields = jb::fields<P>(
        MARLEK_FIELD(P, start_value), MARLEK_FIELD(P, step_value), MARLEK_FIELD(P, pulse_value),
        MARLEK_FIELD(P, end_value), MARLEK_FIELD(P, step_time), MARLEK_FIELD(P, pulse_time),
        MARLEK_FIELD(P, invert_pulse), MARLEK_FIELD(P, output_data_rate), MARLEK_FIELD(P, current_range));
    bindDcJob<DpvJob>(meas, "DpvParametersPy", "DpvJob", "marlek_link.meas.DpvParametersPy", fields,
                      "\n    Differential Pulse Voltammetry job\n\n"
                      "    :param start_value: starting DC value\n"
                      "    :param step_value: value of each step of the staircase\n"
                      "    :param pulse_value: absolute value of each pulse added to the staircase potential\n"
                      "    :param end_value: maximum DC value of the last step and pulse\n"
                      "    :param step_time: duration of each step, at least twice the pulse duration\n"
                      "    :param pulse_time: duration of each pulse\n"
                      "    :param invert_pulse: invert the pulse direction\n"
                      "    :param output_data_rate: rate at which data is output\n" MARLEK_NO_AUTORANGE MARLEK_DC_TAIL
                          MARLEK_REQUEST("dpv", "dpv",
                                         "\"output_data_rate\": 200.0, \"current_range\": 0.1, \"start_value\": 0.0, "
                                         "\"step_value\": 0.01, \"pulse_value\": 0.05, \"invert_pulse\": false, "
                                         "\"end_value\": 1.5, \"step_time\": 0.5, \"pulse_time\": 0.1"));
}

void bindNpv(py::module_& meas)
{
    using P = NpvParameters;
    const auto fields =
        jb::fields<P>(MARLEK_FIELD(P, base_value), MARLEK_FIELD(P, start_value), MARLEK_FIELD(P, step_value),
                      MARLEK_FIELD(P, end_value), MARLEK_FIELD(P, step_time), MARLEK_FIELD(P, pulse_time),
                      MARLEK_FIELD(P, output_data_rate), MARLEK_FIELD(P, current_range));
    bindDcJob<NpvJob>(meas, "NpvParametersPy", "NpvJob", "marlek_link.meas.NpvParametersPy", fields,
                      "\n    Normal Pulse Voltammetry job\n\n"
                      "    The waveform rests on base_value and opens a pulse every step: the first pulse is\n"
                      "    start_value, each following pulse is one step_value closer to end_value, which the last\n"
                      "    pulse reaches, and after each pulse the waveform drops back to base_value.\n\n"
                      "    :param base_value: DC value between the pulses\n"
                      "    :param start_value: DC value of the first pulse\n"
                      "    :param step_value: value of each step of the rising pulse function\n"
                      "    :param end_value: DC value of the last pulse\n"
                      "    :param step_time: duration of each step, at least twice the pulse duration\n"
                      "    :param pulse_time: duration of each pulse\n"
                      "    :param output_data_rate: rate at which data is output\n" MARLEK_NO_AUTORANGE MARLEK_DC_TAIL
                          MARLEK_REQUEST("npv", "npv",
                                         "\"output_data_rate\": 200.0, \"current_range\": 0.1, \"base_value\": 0.0, "
                                         "\"start_value\": 0.0, \"step_value\": 0.1, \"end_value\": 1.5, "
                                         "\"step_time\": 1.0, \"pulse_time\": 0.1"));
}

void bindSwv(py::module_& meas)
{
    using P = SwvParameters;
    const auto fields = jb::fields<P>(MARLEK_FIELD(P, start_value), MARLEK_FIELD(P, step_value),
                                      MARLEK_FIELD(P, amplitude), MARLEK_FIELD(P, end_value), MARLEK_FIELD(P, period),
                                      MARLEK_FIELD(P, output_data_rate), MARLEK_FIELD(P, current_range));
    bindDcJob<SwvJob>(meas, "SwvParametersPy", "SwvJob", "marlek_link.meas.SwvParametersPy", fields,
                      "\n    Square Wave Voltammetry job\n\n"
                      "    :param start_value: starting DC value\n"
                      "    :param step_value: value of each step of the staircase\n"
                      "    :param amplitude: rectangle amplitude of the differential pulse added to the staircase\n"
                      "        potential\n"
                      "    :param end_value: maximum DC potential of the last step and pulse\n"
                      "    :param period: duration of each differential pulse period, each pulse lasting half of it\n"
                      "    :param output_data_rate: rate at which data is output\n" MARLEK_NO_AUTORANGE MARLEK_DC_TAIL
                          MARLEK_REQUEST("swv", "swv",
                                         "\"output_data_rate\": 200.0, \"current_range\": 0.1, \"start_value\": 0.0, "
                                         "\"step_value\": 0.01, \"amplitude\": 0.05, \"end_value\": 1.5, "
                                         "\"period\": 0.4"));
}

} // namespace

void init_dc_job_wrap(py::module_& meas)
{
    bindCv(meas);
    bindFastCycling(meas);
    bindOcv(meas);
    bindPoga(meas);
    bindRamp(meas);
    bindSteadyStairs(meas);
    bindDpv(meas);
    bindNpv(meas);
    bindSwv(meas);
}
