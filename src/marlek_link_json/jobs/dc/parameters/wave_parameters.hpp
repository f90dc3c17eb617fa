#pragma once

#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <optional>
#include <vector>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// Job "wave": outputs `values` one after the other at value_rate, the whole
// list `repetitions` times, each value shifted by `bias`. The values are all
// currents or all voltages, as the potentiostat was switched on.
struct WaveParameters {
    double output_data_rate = 0.0;
    double value_rate = 0.0;
    // 1 outputs the list once.
    std::uint64_t repetitions = 1;
    double current_range = 0.0;
    std::vector<double> values;
    double bias = 0.0;

    friend bool operator==(const WaveParameters&, const WaveParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(WaveParameters, (), (output_data_rate, value_rate, repetitions, current_range, values, bias))

// The wave record's XML form is its own: numbers with 17 significant digits,
// and the list as one "value" element holding the values separated by ";"
// in a CDATA section, after "bias". Declared with the record so that every
// user of the record sees it.
template <>
struct ParameterXmlForm<WaveParameters> {
    static void write(const WaveParameters& record, tinyxml2::XMLElement* parameters);
    // Lenient like every parameter reader: a missing or unreadable element
    // keeps the default; a "value" list with an unreadable entry is dropped
    // as a whole rather than read with a value missing.
    static std::optional<WaveParameters> read(const tinyxml2::XMLElement* parameters);
};
