// The switch-on and switch-off jobs of control: switch on with and without
// checks, switch one potentiostat off, switch all off.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/switch_all_off/switch_all_offjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_off/switch_offjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on/switch_onjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on_quick/switch_on_quickjob.hpp"

#include <pybind11/pybind11.h>

#include <cstdint>

namespace py = pybind11;
namespace jb = job_binding;
namespace cb = control_binding;

namespace {

template <typename Record>
auto switchOnFields()
{
    return jb::fields<Record>(
        jb::field("potentiostat", &Record::potentiostat,
                  MARLEK_DOC("url or urn of the desired potentiostat, url examples \"XPC:1:EXT2:POT\" and "
                             "\"MAIN:1:POT\", an urn is a number followed by \":POT\"")),
        jb::field("coupling", &Record::coupling,
                  MARLEK_DOC("whether the potentiostat is operated potentiostatically or galvanostatically")),
        jb::field("bias", &Record::bias, MARLEK_DOC("DC value")),
        jb::field("voltage_range_index", &Record::voltage_range_index,
                  MARLEK_DOC("voltage range as index with which to switch on"))
            .orElse(std::uint64_t{0}),
        jb::field("compliance_range_index", &Record::compliance_range_index,
                  MARLEK_DOC("compliance range as index with which to switch on"))
            .orElse(std::uint64_t{0}));
}

#define MARLEK_SWITCH_ON_MODES                                                                                   \
    "    Once switched on potentiostatically, all primitives (measurement jobs) run potentiostatically; once\n"   \
    "    switched on galvanostatically, all run galvanostatically, and the values passed to them (such as the\n"  \
    "    reversing vertex values of a cyclic voltammetry) are currents. Only a few methods need an explicit\n"    \
    "    mode.\n\n"                                                                                              \
    "    With FRA_PROBE the potentiostat switches to internal feedback and nothing but an FRA probe may be\n"     \
    "    connected; in that mode the potentiostatic_polynomial of the MAIN potentiostat must be set to the\n"    \
    "    gain and offset of the external source or sink that is controlled.\n\n"

#define MARLEK_SWITCH_ON_PARAMETERS                                                                              \
    "{\"potentiostat\": \"MAIN:1:POT\", \"coupling\": \"POTENTIOSTATIC\", \"bias\": 0.0,\n"                      \
    "    \"voltage_range_index\": 0, \"compliance_range_index\": 0}"

} // namespace

void init_switch_on_wrap(py::module_& control)
{
    const auto switchOn = switchOnFields<SwitchOnParameters>();
    const auto switchOnQuick = switchOnFields<SwitchOnQuickParameters>();
    const auto switchOff = jb::fields<SwitchOffParameters>(
        jb::field("potentiostat", &SwitchOffParameters::potentiostat,
                  MARLEK_DOC("url or urn of the desired potentiostat")));
    jb::bindParameters<SwitchOnJob>(control, "SwitchOnParametersPy", switchOn);
    jb::bindParameters<SwitchOnQuickJob>(control, "SwitchOnQuickParametersPy", switchOnQuick);
    jb::bindParameters<SwitchOffJob>(control, "SwitchOffParametersPy", switchOff);

    auto on = jb::bindJob<SwitchOnJob>(control, "SwitchOnJob", "SwitchOnParametersPy");
    jb::addFlatInit<SwitchOnJob, jb::Extras::none>(
        on, switchOn,
        "\n    Switch on job with checks.\n\n"
        "    The job checks whether the setpoint was set correctly and whether voltages and currents are within\n"
        "    the range of the potentiostat, so switching on takes longer. If the setpoint cannot be reached, the\n"
        "    potentiostat is switched off again at once.\n\n" MARLEK_SWITCH_ON_MODES,
        job_doc::requestExample("switch_on", MARLEK_SWITCH_ON_PARAMETERS));
    cb::addJobResult(on, "\n    Get the result of the switch on.\n\n"
                         "    The object holds the applied bias, scaled with the polynomial configured with\n"
                         "    :class:`marlek_link.control.SetHardwareSettingsJob`, and the output voltage and current\n"
                         "    of the potentiostat without polynomials.\n\n"
                         "    :returns: object with the values\n");

    auto quick = jb::bindJob<SwitchOnQuickJob>(control, "SwitchOnQuickJob", "SwitchOnQuickParametersPy");
    jb::addFlatInit<SwitchOnQuickJob, jb::Extras::none>(
        quick, switchOnQuick,
        "\n    Switch on quick job\n\n"
        "    The job does not check whether the potentiostat was switched on at the desired value; the caller\n"
        "    decides how to proceed after switching on.\n\n" MARLEK_SWITCH_ON_MODES,
        job_doc::requestExample("switch_on_quick", MARLEK_SWITCH_ON_PARAMETERS));

    auto off = jb::bindJob<SwitchOffJob>(control, "SwitchOffJob", "SwitchOffParametersPy");
    jb::addFlatInit<SwitchOffJob, jb::Extras::none>(
        off, switchOff, "\n    Switch off job\n\n",
        job_doc::requestExample("switch_off", "{\"potentiostat\": \"MAIN:1:POT\"}"));

    cb::bindBareJob<SwitchAllOffJob>(
        control, "SwitchAllOffJob",
        "\n    Switch all potentiostats off job\n" + job_doc::requestExample("switch_all_off", "{}"));
}
