// The command jobs of control that configure ranges, gains, bias and cable,
// measure one value, beep, sleep and initialise the real-time clock.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_example_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/beep/beepjob.hpp"
#include "marlek_link_json/jobs/control/jobs/initialize_rtc/initialize_rtcjob.hpp"
#include "marlek_link_json/jobs/control/jobs/measure_integral/measure_integraljob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_active_current_ranges/set_active_current_rangesjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_active_gains/set_active_gainsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_bias/set_biasjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_cable_options/set_cable_optionsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_voltage_range/set_voltage_rangejob.hpp"
#include "marlek_link_json/jobs/control/jobs/sleep/sleepjob.hpp"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <vector>

namespace py = pybind11;
namespace jb = job_binding;
namespace cb = control_binding;

namespace {

// A job with a parameter class and its one flat constructor.
template <typename Job, typename Fields>
py::class_<Job, AbstractMeasurementJob> bindCommand(py::module_& control, const char* parameterName,
                                                    const char* name, const char* qualifiedParameterName,
                                                    const Fields& fields, const char* doc)
{
    jb::bindParameters<Job>(control, parameterName, fields);
    auto job = jb::bindJob<Job>(control, name, qualifiedParameterName);
    jb::addFlatInit<Job, jb::Extras::none>(job, fields, doc);
    return job;
}

} // namespace

void init_control_jobs_wrap(py::module_& control)
{
    using Ranges = SetActiveCurrentRangesParameters;
    bindCommand<SetActiveCurrentRangesJob>(
        control, "SetActiveCurrentRangesParametersPy", "SetActiveCurrentRangesJob",
        "marlek_link.control.SetActiveCurrentRangesParametersPy",
        jb::fields<Ranges>(jb::field("potentiostat", &Ranges::potentiostat),
                           jb::field("indexes", &Ranges::indexes).orElse(std::vector<std::uint64_t>{})),
        "\n    Set active current ranges job\n\n"
        "    :param potentiostat: url or urn of the desired potentiostat\n"
        "    :param indexes: shunt indexes that may be used for the measurement; an empty list means all current\n"
        "        ranges available in the hardware\n" MARLEK_JOB_EXAMPLE(
            "set-active-current-ranges-job-uuid-example", "set_active_current_ranges",
            "{\"potentiostat\": \"MAIN:1:POT\", \"indexes\": []}"));

    bindCommand<SetVoltageRangeJob>(
        control, "SetVoltageRangeParametersPy", "SetVoltageRangeJob", "marlek_link.control.SetVoltageRangeParametersPy",
        jb::fields<SetVoltageRangeParameters>(jb::field("potentiostat", &SetVoltageRangeParameters::potentiostat),
                                              jb::field("index", &SetVoltageRangeParameters::index)),
        "\n    Set voltage range job\n\n"
        "    This job can only be performed when the potentiostat is switched off. The voltage range is normally\n"
        "    set with :class:`marlek_link.control.SwitchOnJob`; this job serves where the potentiostat cannot be\n"
        "    switched on first, for example to measure an open-circuit voltage.\n\n"
        "    :param potentiostat: url or urn of the desired potentiostat\n"
        "    :param index: voltage range index, 0 being the smallest available range\n" MARLEK_JOB_EXAMPLE(
            "set-voltage-range-job-uuid-example", "set_voltage_range",
            "{\"potentiostat\": \"MAIN:1:POT\", \"index\": 0}"));

    using Gains = SetActiveGainsParameters;
    bindCommand<SetActiveGainsJob>(
        control, "SetActiveGainsParametersPy", "SetActiveGainsJob", "marlek_link.control.SetActiveGainsParametersPy",
        jb::fields<Gains>(jb::field("adc", &Gains::adc),
                          jb::field("indexes", &Gains::indexes).orElse(std::vector<std::uint64_t>{})),
        "\n    Set active gains job\n\n"
        "    :param adc: url or urn of the desired adc\n"
        "    :param indexes: gain indexes that may be used for the measurement; an empty list means all gain\n"
        "        indexes available in the hardware\n" MARLEK_JOB_EXAMPLE(
            "set-active-gains-job-uuid-example", "set_active_gains", "{\"adc\": \"MAIN:1:ADC\", \"indexes\": []}"));

    bindCommand<SetBiasJob>(
        control, "SetBiasParametersPy", "SetBiasJob", "marlek_link.control.SetBiasParametersPy",
        jb::fields<SetBiasParameters>(jb::field("potentiostat", &SetBiasParameters::potentiostat),
                                      jb::field("bias", &SetBiasParameters::bias)),
        "\n    Set bias job\n\n"
        "    Only the bias is set and possibly ranged. Current or voltage are only measured internally for the\n"
        "    ranging.\n\n"
        "    :param potentiostat: url or urn of the desired potentiostat\n"
        "    :param bias: value in V or A depending on mode\n" MARLEK_JOB_EXAMPLE(
            "set-bias-job-uuid-example", "set_bias", "{\"potentiostat\": \"MAIN:1:POT\", \"bias\": 1.5}"));

    using Cable = SetCableOptionsParameters;
    bindCommand<SetCableOptionsJob>(
        control, "SetCableOptionsParametersPy", "SetCableOptionsJob", "marlek_link.control.SetCableOptionsParametersPy",
        jb::fields<Cable>(jb::field("potentiostat", &Cable::potentiostat),
                          jb::field("additional_ce_capacitance", &Cable::additional_ce_capacitance)),
        "\n    Set cable options job\n\n"
        "    Sets additional cable options, like the additional CE capacitance (shunt capacitance).\n\n"
        "    :param potentiostat: url or urn of the desired potentiostat\n"
        "    :param additional_ce_capacitance: additional capacitance of the CE cable in farad; the standard\n"
        "        high-impedance cable has 105 pF per metre, so 105e-12 for its standard length of 1 m\n"
        MARLEK_JOB_EXAMPLE("set-cable-options-job-uuid-example", "set_cable_options",
                           "{\"potentiostat\": \"MAIN:1:POT\", \"additional_ce_capacitance\": 105e-12}"));

    auto integral = bindCommand<MeasureIntegralJob>(
        control, "MeasureIntegralParametersPy", "MeasureIntegralJob", "marlek_link.control.MeasureIntegralParametersPy",
        jb::fields<MeasureIntegralParameters>(jb::field("channel", &MeasureIntegralParameters::channel),
                                              jb::field("duration", &MeasureIntegralParameters::duration).orElse(0.3)),
        "\n    Measurement of a single value\n\n"
        "    This job can be used to measure a single value from a path or source.\n\n"
        "    :param channel: a locator such as \"MAIN:1:POT:U\" or \"MAIN:1:POT:I\", or a dimension such as\n"
        "        \"voltage\" or \"current\"\n"
        "    :param duration: duration of the measurement\n" MARLEK_JOB_EXAMPLE(
            "measure-integral-job-uuid-example", "measure_integral",
            "{\"channel\": \"MAIN:1:POT:U\", \"duration\": 0.3}"));
    cb::addJobResult(integral, "\n    Get the queried value.\n\n    :returns: the measured value\n");

    bindCommand<BeepJob>(control, "BeepParametersPy", "BeepJob", "marlek_link.control.BeepParametersPy",
                         jb::fields<BeepParameters>(jb::field("frequency", &BeepParameters::frequency),
                                                    jb::field("duration", &BeepParameters::duration)),
                         "\n    Beep job\n\n"
                         "    :param frequency: frequency of the beep\n"
                         "    :param duration: duration of the beep\n" MARLEK_JOB_EXAMPLE(
                             "beep-job-uuid-example", "beep", "{\"frequency\": 1000.0, \"duration\": 0.5}"));

    bindCommand<SleepJob>(control, "SleepParametersPy", "SleepJob", "marlek_link.control.SleepParametersPy",
                          jb::fields<SleepParameters>(jb::field("duration", &SleepParameters::duration)),
                          "\n    Sleep job\n\n"
                          "    :param duration: duration of the sleep in seconds\n" MARLEK_JOB_EXAMPLE(
                              "sleep-job-uuid-example", "sleep", "{\"duration\": 2.0}"));

    cb::bindBareJob<InitializeRtcJob>(
        control, "InitializeRtcJob",
        "\n    Initialize Rtc Job\n\n"
        "    This job initializes the real-time clock (RTC) of the TQ5, must be performed after replacing the CPU\n"
        "    battery.\n" MARLEK_JOB_EXAMPLE("initialize-rtc-job-uuid-example", "initialize_rtc", "{}"));
}
