#pragma once
// XML forms of the potentiostatic impedance records inside their
// "parameters" element: "bias", then "multisine_wave_in_result" (multisine
// records) and "drift_correction", each only when set, then
// "frequency_range" with a "type" attribute ("table" or "generate"), its
// numbers and one "entry" child per table point. Reading never fails: what
// is missing or unreadable stays 0, absent or empty.

#include "marlek_json_common/json_common/job_parameters/eis_parameters.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <optional>

// Entries write "frequency", "amplitude", "meas_waves", "meas_duration",
// "pre_waves", "pre_duration".
template <>
struct ParameterXmlForm<EisParametersFrequencyTable> {
    static void write(const EisParametersFrequencyTable& record, tinyxml2::XMLElement* parameters);
    static std::optional<EisParametersFrequencyTable> read(const tinyxml2::XMLElement* parameters);
};

template <>
struct ParameterXmlForm<EisParametersGenerate> {
    static void write(const EisParametersGenerate& record, tinyxml2::XMLElement* parameters);
    static std::optional<EisParametersGenerate> read(const tinyxml2::XMLElement* parameters);
};

// The harmonics follow the range's numbers as entries of "harmonic" and
// "weight".
template <>
struct ParameterXmlForm<EisMultiSineTable> {
    static void write(const EisMultiSineTable& record, tinyxml2::XMLElement* parameters);
    static std::optional<EisMultiSineTable> read(const tinyxml2::XMLElement* parameters);
};

// The generator numbers in the order of EisParametersGenerate, then the four
// multisine counts, all inside "frequency_range".
template <>
struct ParameterXmlForm<EisMultisineParametersGenerate> {
    static void write(const EisMultisineParametersGenerate& record, tinyxml2::XMLElement* parameters);
    static std::optional<EisMultisineParametersGenerate> read(const tinyxml2::XMLElement* parameters);
};
