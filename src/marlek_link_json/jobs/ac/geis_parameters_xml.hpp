#pragma once
// XML forms of the galvanostatic impedance records inside their "parameters"
// element: "bias", "minimum_current_amplitude", "maximum_current_amplitude",
// "drift_correction" (only when set), then "frequency_range" exactly as for
// the potentiostatic records, whatever the place of the current limits in
// the record. Reading never fails: what is missing or unreadable stays 0,
// absent or empty.

#include "marlek_json_common/json_common/job_parameters/geis_parameters.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <optional>

template <>
struct ParameterXmlForm<GeisVaParametersGenerate> {
    static void write(const GeisVaParametersGenerate& record, tinyxml2::XMLElement* parameters);
    static std::optional<GeisVaParametersGenerate> read(const tinyxml2::XMLElement* parameters);
};

template <>
struct ParameterXmlForm<GeisVaParametersFrequencyTable> {
    static void write(const GeisVaParametersFrequencyTable& record, tinyxml2::XMLElement* parameters);
    static std::optional<GeisVaParametersFrequencyTable> read(const tinyxml2::XMLElement* parameters);
};
