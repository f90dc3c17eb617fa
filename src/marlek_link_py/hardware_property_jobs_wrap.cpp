// The hardware-property jobs (set and read one property of a device such as
// a multiplexer or a digital output) and the date-time jobs of control.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/hardware_property_value_arg.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/get_date_time/get_date_timejob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_hardware_property/get_hardware_propertyjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_date_time/set_date_timejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_property/set_hardware_propertyjob.hpp"

#include <pybind11/pybind11.h>

#include <memory>
#include <string>

namespace py = pybind11;
namespace jb = job_binding;
namespace cb = control_binding;

namespace {

void registerSetHardwareProperty(py::module_& control)
{
    using View = jb::ParameterView<SetHardwarePropertyJob>;
    using P = SetHardwarePropertyParameters;
    const auto fields = jb::fields<P>(
        jb::field("uri", &P::uri, MARLEK_DOC("uri of the hardware device, e.g. \"DIO:1\" or \"MUX16:1\"")),
        jb::field("key", &P::key, MARLEK_DOC("property key, e.g. \"DIGITAL_OUT\" or \"MUX_CHANNEL\"")));
    auto parameters = jb::bindParameters<SetHardwarePropertyJob>(control, "SetHardwarePropertyParametersPy", fields);
    parameters.def_property(
        "value", [](const View& view) { return hardwarePropertyValueToPython(view.value); },
        [](View& view, const HardwarePropertyInput& value) { view.value = hardwarePropertyValueOrThrow(value); });

    auto job =
        jb::bindJob<SetHardwarePropertyJob>(control, "SetHardwarePropertyJob", "SetHardwarePropertyParametersPy");
    const std::string doc =
        "\n    Set hardware property job\n\n"
        "    For setting a hardware property on a device like MUX or DIO channels.\n\n"
        + jb::paramDocs(fields) + job_doc::param("value", "Value to set, can be bool, int, double, or string")
        + job_doc::requestExample("set_hardware_property",
                                  "{\"uri\": \"MUX16:1\", \"key\": \"MUX_CHANNEL\", \"value\": 3}");
    job.def(py::init([](std::string uri, std::string key, HardwarePropertyArgument value) {
                return std::make_unique<SetHardwarePropertyJob>(
                    SetHardwarePropertyParameters{std::move(uri), std::move(key), std::move(value.value)},
                    JobOptions{});
            }),
            py::arg("uri"), py::arg("key"), py::arg("value"), doc.c_str());
}

void registerGetHardwareProperty(py::module_& control)
{
    using P = GetHardwarePropertyParameters;
    auto job = jb::bindJobWithParameters<GetHardwarePropertyJob, jb::Extras::none>(
        control, "GetHardwarePropertyJob",
        jb::fields<P>(jb::field("uri", &P::uri, MARLEK_DOC("uri of the hardware device, e.g. \"DIO:1\"")),
                      jb::field("key", &P::key, MARLEK_DOC("property key, e.g. \"DIGITAL_OUT\""))),
        "\n    Get hardware property job\n\n"
        "    For getting a hardware property on a device like MUX or DIO channels.\n\n",
        job_doc::requestExample("get_hardware_property", "{\"uri\": \"DIO:1\", \"key\": \"DIGITAL_OUT\"}"));
    job.def(
        "get_job_result",
        [](const GetHardwarePropertyJob& self) { return hardwarePropertyValueToPython(self.getJobResult()); },
        "\n    Get the queried value.\n\n    :returns: the measured value\n");
}

void registerDateTime(py::module_& control)
{
    jb::bindJobWithParameters<SetDateTimeJob, jb::Extras::none>(
        control, "SetDateTimeJob",
        jb::fields<SetDateTimeParameters>(
            jb::field("datetime", &SetDateTimeParameters::datetime,
                      MARLEK_DOC("string in ISO 8601 format, e.g. \"2025-01-01T00:00:00\" (YYYY-MM-DDTHH:MM:SS)"))),
        "\n    SetDateTimeJob job\n\n"
        "    Sets the date and time on the device.\n\n",
        job_doc::requestExample("set_date_time", "{\"datetime\": \"2025-01-01T00:00:00\"}"));

    auto get = cb::bindParameterlessJob<GetDateTimeJob>(
        control, "GetDateTimeJob",
        "\n    GetDateTimeJob job\n\n"
        "    Queries the current date and time from the device.\n" + job_doc::requestExample("get_date_time", "{}"));
    // The text is decoded as UTF-8; text that is not raises UnicodeDecodeError.
    get.def(
        "get_job_result", [](const GetDateTimeJob& self) { return py::str(self.getJobResult()); },
        "\n    Get the queried date and time.\n\n"
        "    :returns: string with the date and time in ISO 8601 format (e.g., \"2025-01-01T00:00:00\",\n"
        "        YYYY-MM-DDTHH:MM:SS)\n");
}

} // namespace

void init_hardware_property_jobs_wrap(py::module_& control)
{
    registerSetHardwareProperty(control);
    registerGetHardwareProperty(control);
    registerDateTime(control);
}
