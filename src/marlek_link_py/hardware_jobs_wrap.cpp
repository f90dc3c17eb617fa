// The hardware query and maintenance jobs of control: ADC state, hardware
// settings query, re-enumeration, firmware update and reboot.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/get_adc_state/get_adc_statejob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_hardware_settings/get_hardware_settingsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/reboot/rebootjob.hpp"
#include "marlek_link_json/jobs/control/jobs/reenumerate_hardware/reenumerate_hardwarejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_firmware_update/set_firmware_updatejob.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace jb = job_binding;
namespace cb = control_binding;

namespace {

void registerAdcState(py::module_& control)
{
    const auto fields = jb::fields<GetAdcStateParameters>(
        jb::field("adc", &GetAdcStateParameters::adc, MARLEK_DOC("locator of the ADC, e.g. \"ZMU:1:ZMU_U\"")));
    jb::bindParameters<GetAdcStateJob>(control, "GetAdcStateParametersPy", fields);

    py::class_<AdcStateInfo> info(control, "AdcStateInfo");
    info.def(py::init<>(), MARLEK_DOC("Object which contains the state of the adc"));
    jb::addProperties(info,
                      jb::fields<AdcStateInfo>(jb::field("active_gain_indexes", &AdcStateInfo::active_gain_indexes,
                                                         "list of gain indexes active during measurements")),
                      jb::Docs::shown);

    auto job = jb::bindJob<GetAdcStateJob>(control, "GetAdcStateJob", "GetAdcStateParametersPy");
    jb::addFlatInit<GetAdcStateJob, jb::Extras::none>(
        job, fields, "\n    Get the state of the analog-to-digital converter job.\n\n",
        job_doc::requestExample("get_adc_state", "{\"adc\": \"ZMU:1:ZMU_U\"}"));
    cb::addJobResult(job, "\n    Get the state of the analog-to-digital converter.\n\n"
                          "    :returns: object with the state\n");
}

} // namespace

void init_hardware_jobs_wrap(py::module_& control)
{
    registerAdcState(control);

    auto settings = cb::bindParameterlessJob<GetHardwareSettingsJob>(
        control, "GetHardwareSettingsJob",
        "\n    GetHardwareSettingsJob job\n\n"
        "    This job queries the current signal path measurement settings. A potentiostat uri that contains\n"
        "    \"nc:\", e.g. \"nc:33000:POT\", marks a configured potentiostat that is not connected or not\n"
        "    available.\n" + job_doc::requestExample("get_hardware_settings", "{}"));
    cb::addJobResult(settings, "\n    Get the queried hardware settings.\n\n    :returns: object with the settings\n");

    cb::bindBareJob<ReenumerateHardwareJob>(
        control, "ReenumerateHardwareJob",
        "\n    Reenumerate hardware job\n\n"
        "    Reenumerates all connected hardware devices to detect newly connected or disconnected external\n"
        "    potentiostats. Afterwards the hardware has to be configured again with\n"
        "    :class:`marlek_link.control.SetHardwareSettingsJob`.\n"
            + job_doc::requestExample("reenumerate_hardware", "{}"));

    jb::bindJobWithParameters<SetFirmwareUpdateJob, jb::Extras::none>(
        control, "SetFirmwareUpdateJob",
        jb::fields<SetFirmwareUpdateParameters>(
            jb::field("resource_id", &SetFirmwareUpdateParameters::resource_id,
                      MARLEK_DOC("resource id of the previously uploaded firmware package file"))),
        "\n    SetFirmwareUpdate job\n\n"
        "    Sets a previously uploaded firmware package file to be used on the device as an update file at next\n"
        "    reboot.\n\n",
        job_doc::requestExample("set_firmware_update", "{\"resource_id\": \"firmware-resource-uuid\"}"));

    cb::bindBareJob<RebootJob>(
        control, "RebootJob",
        "\n    Reboot the TQ5\n\n"
        "    The TQ5 will reboot after 1s after executing this job. If the connection is not closed quickly\n"
        "    enough after the job, an error may occur because the reboot ends the connection.\n"
            + job_doc::requestExample("reboot", "{}"));
}
