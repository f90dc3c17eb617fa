// SetHardwareSettingsJob: the channels, impedances and output potentiostats
// the workstation samples, from a parameter object, from lists, or from the
// settings a HardwareSettingsHelper assembled.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"
#include "marlek_link_py/job_doc.hpp"

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
    using P = SetHardwareSettingsParameters;
    const auto fields = jb::fields<P>(
        jb::field("channels", &P::channels,
                  MARLEK_DOC("channels to be measured during the measurement; sequential and parallel channels can "
                             "be given together, they are split automatically")),
        jb::field("impedance_configurations", &P::impedance_configurations,
                  MARLEK_DOC("parallel sampled channels from which impedances are calculated, the numerator divided "
                             "by the denominator; each may carry an optional impedance_name, when it is left empty "
                             "the device names the impedance \"numerator/denominator\"")),
        jb::field("output_potentiostats", &P::output_potentiostats,
                  MARLEK_DOC("potentiostats on which the measurement is output")));
    jb::bindParameters<SetHardwareSettingsJob>(control, "SetHardwareSettingsParametersPy", fields);
    auto job =
        jb::bindJob<SetHardwareSettingsJob>(control, "SetHardwareSettingsJob", "SetHardwareSettingsParametersPy");

    // The parameters of another job: their three lists are copied.
    const std::string settingsDoc = MARLEK_SETTINGS_INTRO + job_doc::param("settings", "object with the settings")
                                    + job_doc::requestExample("set_hardware_settings", R"({
    "output_potentiostats": [{"uri": "MAIN:1:POT",
        "potentiostatic_polynomial": [0E0, 1E0],
        "galvanostatic_polynomial": [0E0, 1E0]}],
    "channels": [
        {"uri": "MAIN:1:POT:U~ZMU:1:ZMU_U", "dimension": "voltage",
         "unit": "V", "polynomial": [0E0, 1E0]},
        {"uri": "MAIN:1:POT:I~ZMU:1:ZMU_I", "dimension": "current",
         "unit": "A", "polynomial": [0E0, 1E0]}],
    "impedance_configurations": [{"numerator": "MAIN:1:POT:U~ZMU:1:ZMU_U",
        "denominator": "MAIN:1:POT:I~ZMU:1:ZMU_I",
        "impedance_name": "Main cell"}]
})");
    job.def(py::init([](const ParametersView& settings) {
                return makeJob(static_cast<const SetHardwareSettingsParameters&>(settings));
            }),
            py::arg("settings"), settingsDoc.c_str());

    const std::string listsDocText = MARLEK_SETTINGS_INTRO + jb::paramDocs(fields);
    const char* listsDoc = listsDocText.c_str();
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
