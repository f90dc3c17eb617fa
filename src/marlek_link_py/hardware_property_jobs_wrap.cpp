// The hardware-property jobs (set and read one property of a device such as
// a multiplexer or a digital output) and the date-time jobs of control.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/hardware_property_value_arg.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_example_doc.hpp"

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
    auto parameters = jb::bindParameters<SetHardwarePropertyJob>(
        control, "SetHardwarePropertyParametersPy",
        jb::fields<SetHardwarePropertyParameters>(jb::field("uri", &SetHardwarePropertyParameters::uri),
                                                  jb::field("key", &SetHardwarePropertyParameters::key)));
    parameters.def_property(
        "value", [](const View& view) { return hardwarePropertyValueToPython(view.value); },
        [](View& view, const py::handle& value) { view.value = hardwarePropertyValueOrThrow(value); });

    auto job = jb::bindJob<SetHardwarePropertyJob>(control, "SetHardwarePropertyJob",
                                                   "marlek_link.control.SetHardwarePropertyParametersPy");
    job.def(py::init([](std::string uri, std::string key, HardwarePropertyArgument value) {
                return std::make_unique<SetHardwarePropertyJob>(
                    SetHardwarePropertyParameters{std::move(uri), std::move(key), std::move(value.value)},
                    JobOptions{});
            }),
            py::arg("uri"), py::arg("key"), py::arg("value"),
            "\n    Set hardware property job\n\n"
            "    For setting a hardware property on a device like MUX or DIO channels.\n\n"
            "    :param uri: uri of the hardware device, e.g. \"DIO:1\" or \"MUX16:1\"\n"
            "    :param key: property key, e.g. \"DIGITAL_OUT\" or \"MUX_CHANNEL\"\n"
            "    :param value: Value to set, can be bool, int, double, or string\n" MARLEK_JOB_EXAMPLE(
                "set-hardware-property-job-uuid-example", "set_hardware_property",
                "{\"uri\": \"MUX16:1\", \"key\": \"MUX_CHANNEL\", \"value\": 3}"));
}

void registerGetHardwareProperty(py::module_& control)
{
    const auto fields =
        jb::fields<GetHardwarePropertyParameters>(jb::field("uri", &GetHardwarePropertyParameters::uri),
                                                  jb::field("key", &GetHardwarePropertyParameters::key));
    jb::bindParameters<GetHardwarePropertyJob>(control, "GetHardwarePropertyParametersPy", fields);
    auto job = jb::bindJob<GetHardwarePropertyJob>(control, "GetHardwarePropertyJob",
                                                   "marlek_link.control.GetHardwarePropertyParametersPy");
    jb::addFlatInit<GetHardwarePropertyJob, jb::Extras::none>(
        job, fields,
        "\n    Get hardware property job\n\n"
        "    For getting a hardware property on a device like MUX or DIO channels.\n\n"
        "    :param uri: uri of the hardware device, e.g. \"DIO:1\"\n"
        "    :param key: property key, e.g. \"DIGITAL_OUT\"\n" MARLEK_JOB_EXAMPLE(
            "get-hardware-property-job-uuid-example", "get_hardware_property",
            "{\"uri\": \"DIO:1\", \"key\": \"DIGITAL_OUT\"}"));
    job.def(
        "get_job_result",
        [](const GetHardwarePropertyJob& self) { return hardwarePropertyValueToPython(self.getJobResult()); },
        "\n    Get the queried value.\n\n    :returns: the measured value\n");
}

void registerDateTime(py::module_& control)
{
    const auto fields = jb::fields<SetDateTimeParameters>(jb::field("datetime", &SetDateTimeParameters::datetime));
    jb::bindParameters<SetDateTimeJob>(control, "SetDateTimeParametersPy", fields);
    auto set = jb::bindJob<SetDateTimeJob>(control, "SetDateTimeJob", "marlek_link.control.SetDateTimeParametersPy");
    jb::addFlatInit<SetDateTimeJob, jb::Extras::none>(
        set, fields,
        "\n    SetDateTimeJob job\n\n"
        "    Sets the date and time on the device.\n\n"
        "    :param datetime: string in ISO 8601 format, e.g. \"2025-01-01T00:00:00\" (YYYY-MM-DDTHH:MM:SS)\n"
        MARLEK_JOB_EXAMPLE("set-date-time-job-uuid-example", "set_date_time",
                           "{\"datetime\": \"2025-01-01T00:00:00\"}"));

    auto get = cb::bindParameterlessJob<GetDateTimeJob>(
        control, "GetDateTimeParametersPy", "GetDateTimeJob", "marlek_link.control.GetDateTimeParametersPy",
        "\n    GetDateTimeJob job\n\n"
        "    Queries the current date and time from the device.\n" MARLEK_JOB_EXAMPLE(
            "get-date-time-job-uuid-example", "get_date_time", "{}"));
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
