// PotentiostatState and GetPotentiostatStateJob: the state of one
// potentiostat as the workstation reports it.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/get_potentiostat_state/get_potentiostat_statejob.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace jb = job_binding;
namespace cb = control_binding;

void init_potentiostat_state_wrap(py::module_& control)
{
    const auto stateFields = jb::fields<PotentiostatState>(
        jb::field("switched_on", &PotentiostatState::switched_on, "state whether the potentiostat is on"),
        jb::field("autocompensation_on", &PotentiostatState::autocompensation_on,
                  "state whether the autocompensation is on, usually true"),
        jb::field("bias", &PotentiostatState::bias, "DC value"),
        jb::field("coupling", &PotentiostatState::coupling,
                  "current feedback type, such as potentiostatic or galvanostatic"),
        jb::field("voltage_range_index", &PotentiostatState::voltage_range_index, "voltage range as index"),
        jb::field("compliance_range_index", &PotentiostatState::compliance_range_index,
                  "compliance range as index"),
        jb::field("current_range_index", &PotentiostatState::current_range_index, "current range as index"),
        jb::field("bandwidth_index", &PotentiostatState::bandwidth_index, "bandwidth range as index"),
        jb::field("current_range_integration_time", &PotentiostatState::current_range_integration_time,
                  "current range integration time for the ranging process"),
        jb::field("current_range_relaxation_time", &PotentiostatState::current_range_relaxation_time,
                  "current range relaxation time for the ranging process"),
        jb::field("active_current_range_indexes", &PotentiostatState::active_current_range_indexes,
                  "current ranges which are used for the measurement"),
        jb::field("active_bandwidth_indexes", &PotentiostatState::active_bandwidth_indexes,
                  "bandwidths which are used for the measurement"));
    py::class_<PotentiostatState> state(control, "PotentiostatState");
    state.def(py::init<>());
    jb::addProperties(state, stateFields, jb::Docs::shown);

    auto job = jb::bindJobWithParameters<GetPotentiostatStateJob, jb::Extras::none>(
        control, "GetPotentiostatStateJob",
        jb::fields<GetPotentiostatStateParameters>(
            jb::field("potentiostat", &GetPotentiostatStateParameters::potentiostat,
                      MARLEK_DOC("url or urn of the desired potentiostat, url examples \"XPC:1:EXT2:POT\" and "
                                 "\"MAIN:1:POT\", an urn is a number followed by \":POT\", e.g. \"33000:POT\""))),
        "\n    GetPotentiostatStateJob job\n\n"
        "    This job queries the status and information of a potentiostat.\n\n",
        job_doc::requestExample("get_potentiostat_state", "{\"potentiostat\": \"MAIN:1:POT\"}"));
    cb::addJobResult(job,
                     "\n    Get the queried potentiostat state.\n\n    :returns: object with the potentiostat state\n");
}
