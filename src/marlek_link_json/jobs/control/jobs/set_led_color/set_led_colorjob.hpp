#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <optional>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// Job "set_led_color": colour of the lower RGB LED.
struct SetLedColorParameters {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const SetLedColorParameters&, const SetLedColorParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetLedColorParameters, (), (red, green, blue))

// Written member by member; a component reads as the low 8 bits of its
// unsigned text, 0 when the text is no unsigned number.
template <>
struct ParameterXmlForm<SetLedColorParameters> {
    static void write(const SetLedColorParameters& record, tinyxml2::XMLElement* parameters);
    static std::optional<SetLedColorParameters> read(const tinyxml2::XMLElement* parameters);
};

using SetLedColorJob = MeasurementJobTemplate<SetLedColorParameters, &JobNames::SET_LED_COLOR_JOB_NAME>;
extern template class MeasurementJobTemplate<SetLedColorParameters, &JobNames::SET_LED_COLOR_JOB_NAME>;
