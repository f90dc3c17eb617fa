// SetLedColorJob: the colour of the lower RGB LED, as three components or as
// one 0xRRGGBB value.

#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"
#include "marlek_link_py/job_example_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/set_led_color/set_led_colorjob.hpp"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>

namespace py = pybind11;
namespace jb = job_binding;

void init_led_color_wrap(py::module_& control)
{
    const auto fields = jb::fields<SetLedColorParameters>(jb::field("red", &SetLedColorParameters::red),
                                                          jb::field("green", &SetLedColorParameters::green),
                                                          jb::field("blue", &SetLedColorParameters::blue));
    jb::bindParameters<SetLedColorJob>(control, "SetLedColorParametersPy", fields);
    auto job = jb::bindJob<SetLedColorJob>(control, "SetLedColorJob", "marlek_link.control.SetLedColorParametersPy");
    jb::addFlatInit<SetLedColorJob, jb::Extras::none>(
        job, fields,
        "\n    Set LED Colors using red green and blue values\n\n"
        "    Only the color of the lower RGB LED can be set.\n\n"
        "    :param red: red value from 0 to 255\n"
        "    :param green: green value from 0 to 255\n"
        "    :param blue: blue value from 0 to 255\n" MARLEK_JOB_EXAMPLE(
            "set-led-color-job-uuid-example", "set_led_color", "{\"red\": 255, \"green\": 128, \"blue\": 0}"));
    // Bits 24 to 31 carry no colour and are dropped.
    job.def(py::init([](std::uint32_t led) {
                const SetLedColorParameters colour{static_cast<std::uint8_t>(led >> 16),
                                                   static_cast<std::uint8_t>(led >> 8),
                                                   static_cast<std::uint8_t>(led)};
                return std::make_unique<SetLedColorJob>(colour, JobOptions{});
            }),
            py::arg("led"),
            "\n    Set LED Color using integer color values\n\n"
            "    Only the color of the lower RGB LED can be set, e.g. 0xFF0000 for red, 0x00FF00 for green and\n"
            "    0x0000FF for blue.\n\n"
            "    :param led: integer color value for the lower LED\n");
}
