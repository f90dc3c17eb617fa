// SetLedColorJob: the colour of the lower RGB LED, as three components or as
// one 0xRRGGBB value.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/control/jobs/set_led_color/set_led_colorjob.hpp"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>

namespace py = pybind11;
namespace jb = job_binding;

void init_led_color_wrap(py::module_& control)
{
    using P = SetLedColorParameters;
    auto job = jb::bindJobWithParameters<SetLedColorJob, jb::Extras::none>(
        control, "SetLedColorJob",
        jb::fields<P>(jb::field("red", &P::red, MARLEK_DOC("red value from 0 to 255")),
                      jb::field("green", &P::green, MARLEK_DOC("green value from 0 to 255")),
                      jb::field("blue", &P::blue, MARLEK_DOC("blue value from 0 to 255"))),
        "\n    Set LED Colors using red green and blue values\n\n"
        "    Only the color of the lower RGB LED can be set.\n\n",
        job_doc::requestExample("set_led_color", "{\"red\": 255, \"green\": 128, \"blue\": 0}"));
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
