// GetHardwareInfoJob: the device tree of the workstation.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/get_hardware_info/get_hardware_infojob.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace cb = control_binding;

void init_hardware_info_job_wrap(py::module_& control)
{
    auto job = cb::bindParameterlessJob<GetHardwareInfoJob>(
        control, "GetHardwareInfoJob",
        "\n    GetHardwareInfoJob job\n\n"
        "    This job queries the device tree of the TQ5, which contains all signal paths and potentiostats that\n"
        "    are available.\n" + job_doc::requestExample("get_hardware_info", "{}"));
    cb::addJobResult(job, "\n    Get the queried device tree.\n\n    :returns: object with the device tree\n");
}
