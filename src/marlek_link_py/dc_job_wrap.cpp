// The DC measurement jobs of meas (each parameter class right before its
// job class): one flat constructor per job, taking the record's fields, the
// job metadata and the stop conditions. The request examples list the
// parameters in the order the job sends them, which is not always the
// fields' order.

#include "marlek_link_py/docstring.hpp"
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

constexpr auto kExtras = jb::Extras::metaDataAndStopConditions;

// A field named as its member, with its docstring.
#define MARLEK_FIELD(Record, name, doc) jb::field(#name, &Record::name, MARLEK_DOC(doc))

#define MARLEK_OUTPUT_DATA_RATE "rate at which data is output"
#define MARLEK_AUTORANGE                                                                                        \
    "automatic range switching, only supported for an output_data_rate up to 50 Hz; for maximum accuracy "     \
    "switch it off and choose current_range to match the object's current"
#define MARLEK_AUTORANGED_CURRENT_RANGE                                                                         \
    "current range given as the maximum absolute current of the object, used when autoranging is disabled"
#define MARLEK_CURRENT_RANGE "current range given as the maximum absolute current of the object"

void bindCv(py::module_& meas)
{
    using P = CvParameters;
    jb::bindJobWithParameters<CvJob, kExtras>(
        meas, "CvJob",
        jb::fields<P>(
            MARLEK_FIELD(P, start_value, "starting potential"),
            MARLEK_FIELD(P, first_vertex, "first reversing potential"),
            MARLEK_FIELD(P, second_vertex, "second reversing potential"),
            MARLEK_FIELD(P, end_value, "ending potential"),
            MARLEK_FIELD(P, scan_rate, "magnitude of the scan slew rate \xce\x94"
                                       "E/\xce\x94t"),
            MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
            MARLEK_FIELD(P, num_cycles,
                         "number of full cycles (first to second potential and back), half cycles with .5"),
            MARLEK_FIELD(P, autorange, MARLEK_AUTORANGE),
            MARLEK_FIELD(P, current_range, MARLEK_AUTORANGED_CURRENT_RANGE),
            MARLEK_FIELD(P, turn_limit_check, "whether turn limits are checked"),
            MARLEK_FIELD(P, upper_turn_boundary, "upper reversal current at which the scan is reversed"),
            MARLEK_FIELD(P, lower_turn_boundary, "lower reversal current at which the scan is reversed"),
            MARLEK_FIELD(P, step_height, "height of the steps, 0 uses the smallest step size"),
            MARLEK_FIELD(P, ir_drop, "ohmic value for iR-drop compensation, 0 disables it")),
        "\n    Cyclic Voltammetry job\n\n"
        "    The job can run potentiostatically or galvanostatically. The parameters are described for the\n"
        "    potentiostatic case; if the potentiostat was switched on galvanostatically, potentials become\n"
        "    currents and currents become voltages (start_value becomes a current, upper_turn_boundary a\n"
        "    voltage).\n\n",
        job_doc::requestExample(
            "cv", "{\"start_value\": 0.0, \"first_vertex\": 1.0, \"second_vertex\": -1.0, \"end_value\": 0.0, "
                  "\"scan_rate\": 0.1, \"output_data_rate\": 25.0, \"num_cycles\": 2.5, \"autorange\": true, "
                  "\"current_range\": 0.01, \"turn_limit_check\": false, \"upper_turn_boundary\": 0.01, "
                  "\"lower_turn_boundary\": -0.01, \"step_height\": 0.0, \"ir_drop\": 0.0}"));
}

void bindFastCycling(py::module_& meas)
{
    using P = FastCyclingParameters;
    jb::bindJobWithParameters<FastCyclingJob, kExtras>(
        meas, "FastCyclingJob",
        jb::fields<P>(MARLEK_FIELD(P, first_step, "first applied bias value"),
                      MARLEK_FIELD(P, second_step, "second applied bias value"),
                      MARLEK_FIELD(P, end_value, "protective value driven to after the last step"),
                      MARLEK_FIELD(P, step_time, "maximum hold duration of a step"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
                      MARLEK_FIELD(P, num_cycles, "number of full cycles, half cycles with .5"),
                      MARLEK_FIELD(P, autorange, MARLEK_AUTORANGE),
                      MARLEK_FIELD(P, current_range, MARLEK_AUTORANGED_CURRENT_RANGE),
                      MARLEK_FIELD(P, turn_limit_check,
                                   "early step change at the turn boundaries (if disabled every step runs the full "
                                   "step_time)"),
                      MARLEK_FIELD(P, upper_turn_boundary, "upper reversal current at which the step is changed"),
                      MARLEK_FIELD(P, lower_turn_boundary, "lower reversal current at which the step is changed")),
        "\n    Fast Cycling job\n\n"
        "    Runs a whole charge/discharge cycling inside one job, stepping between two values without dead\n"
        "    time between separate jobs; potentiostatic or galvanostatic as the cyclic voltammetry. The job\n"
        "    jumps to first_step and holds it until step_time has passed or, with turn_limit_check, until a\n"
        "    turn boundary is crossed, then jumps to second_step, and so on. A full cycle is first_step and\n"
        "    second_step, so num_cycles=0.5 performs only first_step. After the last step the output is set\n"
        "    to end_value.\n\n",
        job_doc::requestExample(
            "fast_cycling", "{\"first_step\": 0.001, \"second_step\": -0.001, \"end_value\": 0.0, \"step_time\": 1.0, "
                            "\"output_data_rate\": 1000.0, \"num_cycles\": 10.0, \"autorange\": false, "
                            "\"current_range\": 0.001, \"turn_limit_check\": true, \"upper_turn_boundary\": 1.5, "
                            "\"lower_turn_boundary\": 0.5}"));
}

void bindOcv(py::module_& meas)
{
    using P = OcvParameters;
    jb::bindJobWithParameters<OcvJob, kExtras>(
        meas, "OcvJob",
        jb::fields<P>(MARLEK_FIELD(P, duration, "maximum runtime"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE)),
        "\n    Open Circuit Voltage job\n\n"
        "    Also referred to as Open Circuit Potential.\n\n",
        job_doc::requestExample("ocv", "{\"duration\": 10.0, \"output_data_rate\": 10.0}"));
}

void bindPoga(py::module_& meas)
{
    using P = PogaParameters;
    jb::bindJobWithParameters<PogaJob, kExtras>(
        meas, "PogaJob",
        jb::fields<P>(MARLEK_FIELD(P, bias, "start value"), MARLEK_FIELD(P, duration, "maximum runtime"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
                      MARLEK_FIELD(P, autorange, MARLEK_AUTORANGE),
                      MARLEK_FIELD(P, current_range, MARLEK_AUTORANGED_CURRENT_RANGE)),
        "\n    Poga Potentiostatic Galvanostatic Polarization job\n\n"
        "    Potentiostatic or galvanostatic; also referred to as chronopotentiometry,\n"
        "    chronoamperometry and chronocoulometry.\n\n",
        job_doc::requestExample("poga", "{\"bias\": 1.0, \"duration\": 5.0, \"output_data_rate\": 25.0, "
                                        "\"autorange\": true, \"current_range\": 0.1}"));
}

void bindRamp(py::module_& meas)
{
    using P = RampParameters;
    jb::bindJobWithParameters<RampJob, kExtras>(
        meas, "RampJob",
        jb::fields<P>(MARLEK_FIELD(P, start_value, "start value of the ramp"),
                      MARLEK_FIELD(P, end_value, "end value of the ramp"),
                      MARLEK_FIELD(P, scan_rate, "scan rate from start_value to end_value"),
                      MARLEK_FIELD(P, step_height, "height of the steps, 0 uses the smallest step size"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
                      MARLEK_FIELD(P, autorange, MARLEK_AUTORANGE),
                      MARLEK_FIELD(P, current_range, MARLEK_AUTORANGED_CURRENT_RANGE)),
        "\n    Ramp job\n\n"
        "    Potentiostatic or galvanostatic; also referred to as linear sweep voltammetry (LSV),\n"
        "    linear sweep galvanostatic, staircase voltammetry/galvanostatic and current-voltage\n"
        "    characteristic.\n\n",
        job_doc::requestExample("ramp", "{\"output_data_rate\": 10.0, \"current_range\": 0.1, \"start_value\": 0.0, "
                                        "\"end_value\": 1.0, \"scan_rate\": 0.1, \"step_height\": 0.0, "
                                        "\"autorange\": true}"));
}

void bindSteadyStairs(py::module_& meas)
{
    using P = SteadyStairsParameters;
    jb::bindJobWithParameters<SteadyStairsJob, kExtras>(
        meas, "SteadyStairsJob",
        jb::fields<P>(MARLEK_FIELD(P, start_value, "start value"), MARLEK_FIELD(P, end_value, "end value"),
                      MARLEK_FIELD(P, step_time, "maximum duration of a step"),
                      MARLEK_FIELD(P, step_height, "height of the steps"),
                      MARLEK_FIELD(P, hold_time, "time after which the stability tolerance is checked"),
                      MARLEK_FIELD(P, stability_tolerance,
                                   "absolute tolerance of the change of the dimension per second below which the "
                                   "step stops"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
                      MARLEK_FIELD(P, autorange, MARLEK_AUTORANGE),
                      MARLEK_FIELD(P, current_range, MARLEK_AUTORANGED_CURRENT_RANGE)),
        "\n    Steady Stairs Current Voltage Characteristic/Curves job\n\n"
        "    Potentiostatic or galvanostatic; outputs slower steps, each ending on a change tolerance (for\n"
        "    example a voltage step ends when the change of the current falls below a value).\n\n",
        job_doc::requestExample(
            "steady_stairs", "{\"start_value\": 0.0, \"end_value\": 1.0, \"step_time\": 2.0, \"step_height\": 0.01, "
                             "\"hold_time\": 1.0, \"stability_tolerance\": 0.01, \"output_data_rate\": 10.0, "
                             "\"autorange\": true, \"current_range\": 0.1}"));
}

void bindDpv(py::module_& meas)
{
    using P = DpvParameters;
    jb::bindJobWithParameters<DpvJob, kExtras>(
        meas, "DpvJob",
        jb::fields<P>(MARLEK_FIELD(P, start_value, "starting DC value"),
                      MARLEK_FIELD(P, step_value, "value of each step of the staircase"),
                      MARLEK_FIELD(P, pulse_value, "absolute value of each pulse added to the staircase potential"),
                      MARLEK_FIELD(P, end_value, "maximum DC value of the last step and pulse"),
                      MARLEK_FIELD(P, step_time, "duration of each step, at least twice the pulse duration"),
                      MARLEK_FIELD(P, pulse_time, "duration of each pulse"),
                      MARLEK_FIELD(P, invert_pulse, "invert the pulse direction"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
                      MARLEK_FIELD(P, current_range, MARLEK_CURRENT_RANGE)),
        "\n    Differential Pulse Voltammetry job\n\n",
        job_doc::requestExample("dpv", "{\"output_data_rate\": 200.0, \"current_range\": 0.1, \"start_value\": 0.0, "
                                       "\"step_value\": 0.01, \"pulse_value\": 0.05, \"invert_pulse\": false, "
                                       "\"end_value\": 1.5, \"step_time\": 0.5, \"pulse_time\": 0.1}"));
}

void bindNpv(py::module_& meas)
{
    using P = NpvParameters;
    jb::bindJobWithParameters<NpvJob, kExtras>(
        meas, "NpvJob",
        jb::fields<P>(MARLEK_FIELD(P, base_value, "DC value between the pulses"),
                      MARLEK_FIELD(P, start_value, "DC value of the first pulse"),
                      MARLEK_FIELD(P, step_value, "value of each step of the rising pulse function"),
                      MARLEK_FIELD(P, end_value, "DC value of the last pulse"),
                      MARLEK_FIELD(P, step_time, "duration of each step, at least twice the pulse duration"),
                      MARLEK_FIELD(P, pulse_time, "duration of each pulse"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
                      MARLEK_FIELD(P, current_range, MARLEK_CURRENT_RANGE)),
        "\n    Normal Pulse Voltammetry job\n\n"
        "    The waveform rests on base_value and opens a pulse every step: the first pulse is\n"
        "    start_value, each following pulse is one step_value closer to end_value, which the last\n"
        "    pulse reaches, and after each pulse the waveform drops back to base_value.\n\n",
        job_doc::requestExample("npv", "{\"output_data_rate\": 200.0, \"current_range\": 0.1, \"base_value\": 0.0, "
                                       "\"start_value\": 0.0, \"step_value\": 0.1, \"end_value\": 1.5, "
                                       "\"step_time\": 1.0, \"pulse_time\": 0.1}"));
}

void bindSwv(py::module_& meas)
{
    using P = SwvParameters;
    jb::bindJobWithParameters<SwvJob, kExtras>(
        meas, "SwvJob",
        jb::fields<P>(MARLEK_FIELD(P, start_value, "starting DC value"),
                      MARLEK_FIELD(P, step_value, "value of each step of the staircase"),
                      MARLEK_FIELD(P, amplitude,
                                   "rectangle amplitude of the differential pulse added to the staircase potential"),
                      MARLEK_FIELD(P, end_value, "maximum DC potential of the last step and pulse"),
                      MARLEK_FIELD(P, period,
                                   "duration of each differential pulse period, each pulse lasting half of it"),
                      MARLEK_FIELD(P, output_data_rate, MARLEK_OUTPUT_DATA_RATE),
                      MARLEK_FIELD(P, current_range, MARLEK_CURRENT_RANGE)),
        "\n    Square Wave Voltammetry job\n\n",
        job_doc::requestExample("swv", "{\"output_data_rate\": 200.0, \"current_range\": 0.1, \"start_value\": 0.0, "
                                       "\"step_value\": 0.01, \"amplitude\": 0.05, \"end_value\": 1.5, "
                                       "\"period\": 0.4}"));
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
