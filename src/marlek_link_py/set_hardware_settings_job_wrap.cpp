// SetHardwareSettingsJob: the channels, impedances and output potentiostats
// the workstation samples, from a parameter object, from lists, or from the
// settings a HardwareSettingsHelper assembled.

#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"
#include "marlek_link_py/job_example_doc.hpp"

#include "marlek_link_json/jobs/control/hardware_settings/user_hardware_settings.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_settings/set_hardware_settingsjob.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;
namespace jb = job_binding;

namespace {

using ParametersView = jb::ParameterView<SetHardwareSettingsJob>;

std::unique_ptr<SetHardwareSettingsJob> makeJob(SetHardwareSettingsParameters record)
{
    return std::make_unique<SetHardwareSettingsJob>(record, JobOptions{});
}

#define MARLEK_SETTINGS_INTRO                                                                                    \
    "\n    Set hardware settings for sampling job.\n\n"                                                            \
    "    Only the necessary channels should be measured, not simply all of them. As the sampling rate\n"          \
    "    decreases slightly with each channel, less averaging can be done. This class is meant to be used\n"      \
    "    with :class:`marlek_link.HardwareSettingsHelper`.\n\n"

} // namespace

void init_set_hardware_settings_job_wrap(py::module_& control)
{
    const auto fields = jb::fields<SetHardwareSettingsParameters>(
        jb::field("channels", &SetHardwareSettingsParameters::channels),
        jb::field("impedance_configurations", &SetHardwareSettingsParameters::impedance_configurations),
        jb::field("output_potentiostats", &SetHardwareSettingsParameters::output_potentiostats));
    jb::bindParameters<SetHardwareSettingsJob>(control, "SetHardwareSettingsParametersPy", fields);
    auto job = jb::bindJob<SetHardwareSettingsJob>(control, "SetHardwareSettingsJob",
                                                   "marlek_link.control.SetHardwareSettingsParametersPy");

    // The parameters of another job: their three lists are copied.
    job.def(py::init([](const ParametersView& settings) {
                return makeJob(static_cast<const SetHardwareSettingsParameters&>(settings));
            }),
            py::arg("settings"),
            MARLEK_SETTINGS_INTRO "    :param settings: object with the settings\n" MARLEK_JOB_EXAMPLE(
                "set-hardware-settings-job-uuid-example", "set_hardware_settings",
                "{\n"
                "                        \"output_potentiostats\": [{\"uri\": \"MAIN:1:POT\",\n"
                "                            \"potentiostatic_polynomial\": [0E0, 1E0],\n"
                "                            \"galvanostatic_polynomial\": [0E0, 1E0]}],\n"
                "                        \"channels\": [\n"
                "                            {\"uri\": \"MAIN:1:POT:U~ZMU:1:ZMU_U\", \"dimension\": \"voltage\",\n"
                "                             \"unit\": \"V\", \"polynomial\": [0E0, 1E0]},\n"
                "                            {\"uri\": \"MAIN:1:POT:I~ZMU:1:ZMU_I\", \"dimension\": \"current\",\n"
                "                             \"unit\": \"A\", \"polynomial\": [0E0, 1E0]}],\n"
                "                        \"impedance_configurations\": [{\"numerator\": \"MAIN:1:POT:U~ZMU:1:ZMU_U\",\n"
                "                            \"denominator\": \"MAIN:1:POT:I~ZMU:1:ZMU_I\",\n"
                "                            \"impedance_name\": \"Main cell\"}]\n"
                "                    }"));

    const char* listsDoc =
        MARLEK_SETTINGS_INTRO
        "    :param channels: channels to be measured during the measurement; sequential and parallel channels\n"
        "        can be given together, they are split automatically\n"
        "    :param impedance_configurations: parallel sampled channels from which impedances are calculated,\n"
        "        the numerator divided by the denominator; each may carry an optional impedance_name, when it is\n"
        "        left empty the device names the impedance \"numerator/denominator\"\n"
        "    :param output_potentiostats: potentiostats on which the measurement is output\n";
    job.def(py::init([](std::vector<Channel> channels, std::vector<ImpedanceConfiguration> impedances,
                        std::vector<PotentiostatConfiguration> potentiostats) {
                return makeJob({std::move(channels), std::move(impedances), std::move(potentiostats)});
            }),
            py::arg("channels"), py::arg("impedance_configurations"), py::arg("output_potentiostats"), listsDoc);
    // Potentiostats named by uri are output unscaled: offset 0, gain 1.
    job.def(py::init([](std::vector<Channel> channels, std::vector<ImpedanceConfiguration> impedances,
                        const std::vector<std::string>& uris) {
                std::vector<PotentiostatConfiguration> potentiostats;
                potentiostats.reserve(uris.size());
                for (const auto& uri : uris) {
                    potentiostats.push_back({uri, UserPolynomial({0.0, 1.0}), UserPolynomial({0.0, 1.0})});
                }
                return makeJob({std::move(channels), std::move(impedances), std::move(potentiostats)});
            }),
            py::arg("channels"), py::arg("impedance_configurations"), py::arg("output_potentiostats"), listsDoc);
    job.def(py::init([](const UserHardwareSettings& config) {
                return makeJob({config.channels, config.impedance_configurations, config.output_potentiostats});
            }),
            py::arg("config"),
            MARLEK_SETTINGS_INTRO
            "    The :class:`marlek_link.HardwareSettingsHelper` class returns a\n"
            "    :class:`marlek_link.UserHardwareSettings` object, which can be passed to this class.\n\n"
            "    :param config: object with the settings\n");
}
