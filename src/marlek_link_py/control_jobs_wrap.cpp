// The command jobs of control that configure ranges, gains, bias and cable,
// measure one value, beep, sleep and initialise the real-time clock.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_doc.hpp"

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

void init_control_jobs_wrap(py::module_& control)
{
    constexpr auto none = jb::Extras::none;
    const auto potentiostat = [](auto member) {
        return jb::field("potentiostat", member, MARLEK_DOC("url or urn of the desired potentiostat"));
    };

    using Ranges = SetActiveCurrentRangesParameters;
    jb::bindJobWithParameters<SetActiveCurrentRangesJob, none>(
        control, "SetActiveCurrentRangesJob",
        jb::fields<Ranges>(potentiostat(&Ranges::potentiostat),
                           jb::field("indexes", &Ranges::indexes,
                                     MARLEK_DOC("shunt indexes that may be used for the measurement; an empty list "
                                                "means all current ranges available in the hardware"))
                               .orElse(std::vector<std::uint64_t>{})),
        "\n    Set active current ranges job\n\n",
        job_doc::requestExample("set_active_current_ranges", "{\"potentiostat\": \"MAIN:1:POT\", \"indexes\": []}"));

    using VoltageRange = SetVoltageRangeParameters;
    jb::bindJobWithParameters<SetVoltageRangeJob, none>(
        control, "SetVoltageRangeJob",
        jb::fields<VoltageRange>(
            potentiostat(&VoltageRange::potentiostat),
            jb::field("index", &VoltageRange::index,
                      MARLEK_DOC("voltage range index, 0 being the smallest available range"))),
        "\n    Set voltage range job\n\n"
        "    This job can only be performed when the potentiostat is switched off. The voltage range is normally\n"
        "    set with :class:`marlek_link.control.SwitchOnJob`; this job serves where the potentiostat cannot be\n"
        "    switched on first, for example to measure an open-circuit voltage.\n\n",
        job_doc::requestExample("set_voltage_range", "{\"potentiostat\": \"MAIN:1:POT\", \"index\": 0}"));

    using Gains = SetActiveGainsParameters;
    jb::bindJobWithParameters<SetActiveGainsJob, none>(
        control, "SetActiveGainsJob",
        jb::fields<Gains>(jb::field("adc", &Gains::adc, MARLEK_DOC("url or urn of the desired adc")),
                          jb::field("indexes", &Gains::indexes,
                                    MARLEK_DOC("gain indexes that may be used for the measurement; an empty list "
                                               "means all gain indexes available in the hardware"))
                              .orElse(std::vector<std::uint64_t>{})),
        "\n    Set active gains job\n\n",
        job_doc::requestExample("set_active_gains", "{\"adc\": \"MAIN:1:ADC\", \"indexes\": []}"));

    jb::bindJobWithParameters<SetBiasJob, none>(
        control, "SetBiasJob",
        jb::fields<SetBiasParameters>(
            potentiostat(&SetBiasParameters::potentiostat),
            jb::field("bias", &SetBiasParameters::bias, MARLEK_DOC("value in V or A depending on mode"))),
        "\n    Set bias job\n\n"
        "    Only the bias is set and possibly ranged. Current or voltage are only measured internally for the\n"
        "    ranging.\n\n",
        job_doc::requestExample("set_bias", "{\"potentiostat\": \"MAIN:1:POT\", \"bias\": 1.5}"));

    using Cable = SetCableOptionsParameters;
    jb::bindJobWithParameters<SetCableOptionsJob, none>(
        control, "SetCableOptionsJob",
        jb::fields<Cable>(potentiostat(&Cable::potentiostat),
                          jb::field("additional_ce_capacitance", &Cable::additional_ce_capacitance,
                                    MARLEK_DOC("additional capacitance of the CE cable in farad; the standard "
                                               "high-impedance cable has 105 pF per metre, so 105e-12 for its "
                                               "standard length of 1 m"))),
        "\n    Set cable options job\n\n"
        "    Sets additional cable options, like the additional CE capacitance (shunt capacitance).\n\n",
        job_doc::requestExample("set_cable_options",
                                "{\"potentiostat\": \"MAIN:1:POT\", \"additional_ce_capacitance\": 105e-12}"));

    using Integral = MeasureIntegralParameters;
    auto integral = jb::bindJobWithParameters<MeasureIntegralJob, none>(
        control, "MeasureIntegralJob",
        jb::fields<Integral>(
            jb::field("channel", &Integral::channel,
                      MARLEK_DOC("a locator such as \"MAIN:1:POT:U\" or \"MAIN:1:POT:I\", or a dimension such as "
                                 "\"voltage\" or \"current\"")),
            jb::field("duration", &Integral::duration, MARLEK_DOC("duration of the measurement")).orElse(0.3)),
        "\n    Measurement of a single value\n\n"
        "    This job can be used to measure a single value from a path or source.\n\n",
        job_doc::requestExample("measure_integral", "{\"channel\": \"MAIN:1:POT:U\", \"duration\": 0.3}"));
    cb::addJobResult(integral, "\n    Get the queried value.\n\n    :returns: the measured value\n");

    jb::bindJobWithParameters<BeepJob, none>(
        control, "BeepJob",
        jb::fields<BeepParameters>(
            jb::field("frequency", &BeepParameters::frequency, MARLEK_DOC("frequency of the beep")),
            jb::field("duration", &BeepParameters::duration, MARLEK_DOC("duration of the beep"))),
        "\n    Beep job\n\n", job_doc::requestExample("beep", "{\"frequency\": 1000.0, \"duration\": 0.5}"));

    jb::bindJobWithParameters<SleepJob, none>(
        control, "SleepJob",
        jb::fields<SleepParameters>(
            jb::field("duration", &SleepParameters::duration, MARLEK_DOC("duration of the sleep in seconds"))),
        "\n    Sleep job\n\n", job_doc::requestExample("sleep", "{\"duration\": 2.0}"));

    cb::bindBareJob<InitializeRtcJob>(
        control, "InitializeRtcJob",
        "\n    Initialize Rtc Job\n\n"
        "    This job initializes the real-time clock (RTC) of the TQ5, must be performed after replacing the CPU\n"
        "    battery.\n" + job_doc::requestExample("initialize_rtc", "{}"));
}
