#pragma once
// The XML form that the impedance parameter records share inside their
// "parameters" element: the top-level numbers, the optional multisine flag
// and drift correction, then "frequency_range" with its "type" attribute, its
// numbers and one "entry" child per table point. Numbers are the XML
// library's texts (doubles "%.17g", counts "%llu"). Reading is lenient and
// goes by element name, so a file written by another version still yields
// what it can. Included only by the records' XML sources.

#include "marlek_json_common/json_common/job_parameters/drift_correction.hpp"
#include "marlek_json_common/json_common/job_parameters/eis_parameters.hpp"

#include <tinyxml2.h>

#include <cstdint>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

namespace impedance_record_xml {

template <class R>
struct NumberField {
    const char* name;
    std::variant<double R::*, std::uint64_t R::*> member;
};

// Entry type of a record without a table.
struct NoEntries {};

template <class Entry>
inline constexpr bool hasEntries = !std::is_same_v<Entry, NoEntries>;

// Fields are listed in writing order.
template <class R, class Entry = NoEntries>
struct RecordForm {
    std::vector<NumberField<R>> topLevel;
    std::optional<bool> R::*multisineWaveInResult = nullptr;
    const char* rangeType = "";
    std::vector<NumberField<R>> range;
    std::vector<Entry> R::*entries = nullptr;
    std::vector<NumberField<Entry>> entryFields;
};

inline constexpr const char* FREQUENCY_RANGE = "frequency_range";
inline constexpr const char* MULTISINE_WAVE_IN_RESULT = "multisine_wave_in_result";
inline constexpr const char* DRIFT_CORRECTION = "drift_correction";
inline constexpr const char* ENTRY = "entry";

const char* driftCorrectionText(DriftCorrection value);

// No value unless the element's text names FULL, DC_ONLY or OFF exactly.
std::optional<DriftCorrection> readDriftCorrection(const tinyxml2::XMLElement& element);

// 0 for a text that is no count, a negative number included: the XML
// library would wrap "-1" around to the largest count.
std::uint64_t readCount(const tinyxml2::XMLElement& element);

double readDouble(const tinyxml2::XMLElement& element);

// A frequency-table point, written in this order, which is not the field
// order.
inline const std::vector<NumberField<EisParametersFrequencyTableEntry>>& spectrumEntryFields()
{
    using E = EisParametersFrequencyTableEntry;
    static const std::vector<NumberField<E>> fields{
        {"frequency", &E::frequency},
        {"amplitude", &E::amplitude},
        {"meas_waves", &E::meas_waves},
        {"meas_duration", &E::meas_duration},
        {"pre_waves", &E::pre_waves},
        {"pre_duration", &E::pre_duration},
    };
    return fields;
}

// The ten generator numbers of a generated sweep, in writing order.
template <class R>
std::vector<NumberField<R>> generatorFields()
{
    return {
        {"min_frequency", &R::min_frequency},
        {"max_frequency", &R::max_frequency},
        {"start_frequency", &R::start_frequency},
        {"points_per_decade_upper", &R::points_per_decade_upper},
        {"points_per_decade_lower", &R::points_per_decade_lower},
        {"pre_duration", &R::pre_duration},
        {"pre_waves", &R::pre_waves},
        {"meas_duration", &R::meas_duration},
        {"meas_waves", &R::meas_waves},
        {"amplitude", &R::amplitude},
    };
}

template <class R>
void writeNumbers(tinyxml2::XMLElement& parent, const std::vector<NumberField<R>>& fields, const R& record)
{
    for (const auto& field : fields) {
        std::visit([&](auto member) { parent.InsertNewChildElement(field.name)->SetText(record.*member); },
                   field.member);
    }
}

// Each field from the first child of its name; a missing child leaves it
// as it is.
template <class R>
void readNumbers(const tinyxml2::XMLElement& parent, const std::vector<NumberField<R>>& fields, R& record)
{
    for (const auto& field : fields) {
        const auto* child = parent.FirstChildElement(field.name);
        if (child == nullptr) {
            continue;
        }
        std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<decltype(member), double R::*>) {
                    record.*member = readDouble(*child);
                } else {
                    record.*member = readCount(*child);
                }
            },
            field.member);
    }
}

template <class R, class Entry>
void write(const RecordForm<R, Entry>& form, const R& record, tinyxml2::XMLElement& parameters)
{
    writeNumbers(parameters, form.topLevel, record);
    if (form.multisineWaveInResult != nullptr && (record.*form.multisineWaveInResult).has_value()) {
        parameters.InsertNewChildElement(MULTISINE_WAVE_IN_RESULT)->SetText(*(record.*form.multisineWaveInResult));
    }
    if (record.drift_correction) {
        parameters.InsertNewChildElement(DRIFT_CORRECTION)->SetText(driftCorrectionText(*record.drift_correction));
    }
    auto* range = parameters.InsertNewChildElement(FREQUENCY_RANGE);
    range->SetAttribute("type", form.rangeType);
    writeNumbers(*range, form.range, record);
    if constexpr (hasEntries<Entry>) {
        for (const auto& entry : record.*form.entries) {
            writeNumbers(*range->InsertNewChildElement(ENTRY), form.entryFields, entry);
        }
    }
}

// Starts from the all-zero record. The "type" attribute is not examined: the
// job name has already chosen the record.
template <class R, class Entry>
R read(const RecordForm<R, Entry>& form, const tinyxml2::XMLElement& parameters)
{
    R record{};
    readNumbers(parameters, form.topLevel, record);
    if (form.multisineWaveInResult != nullptr) {
        if (const auto* flag = parameters.FirstChildElement(MULTISINE_WAVE_IN_RESULT)) {
            bool value = false;
            if (flag->QueryBoolText(&value) == tinyxml2::XML_SUCCESS) {
                record.*form.multisineWaveInResult = value;
            }
        }
    }
    if (const auto* drift = parameters.FirstChildElement(DRIFT_CORRECTION)) {
        record.drift_correction = readDriftCorrection(*drift);
    }
    const auto* range = parameters.FirstChildElement(FREQUENCY_RANGE);
    if (range == nullptr) {
        return record;
    }
    readNumbers(*range, form.range, record);
    if constexpr (hasEntries<Entry>) {
        for (const auto* child = range->FirstChildElement(ENTRY); child != nullptr;
             child = child->NextSiblingElement(ENTRY)) {
            Entry entry{};
            readNumbers(*child, form.entryFields, entry);
            (record.*form.entries).push_back(entry);
        }
    }
    return record;
}

} // namespace impedance_record_xml
