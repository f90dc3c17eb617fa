#pragma once
// The XML form that the impedance parameter records share inside their
// "parameters" element: the top-level numbers, the optional multisine flag
// and drift correction, then "frequency_range" with its "type" attribute, its
// numbers and one "entry" child per table point. Numbers are the XML
// library's texts in the "C" locale (doubles "%.17g", a NaN "nan", counts
// "%llu"), whatever the process's locale. Reading is lenient and goes by
// element name, so a file written by another version still yields
// what it can. Included only by the records' XML sources.

#include "marlek_json_common/json_common/job_parameters/drift_correction.hpp"
#include "marlek_json_common/json_common/job_parameters/impedance_record_fields.hpp"
#include "marlek_link_json/xml/xml_number_text.hpp"

#include <tinyxml2.h>

#include <cstdint>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

namespace impedance_record_xml {

using impedance_record_fields::hasEntries;
using impedance_record_fields::NumberFields;
using impedance_record_fields::RecordFields;

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

template <class R>
void writeNumbers(tinyxml2::XMLElement& parent, const NumberFields<R>& fields, const R& record)
{
    for (const auto& field : fields) {
        std::visit(
            [&](auto member) {
                auto* child = parent.InsertNewChildElement(field.key);
                if constexpr (std::is_same_v<decltype(member), double R::*>) {
                    MXml::setDoubleText(child, record.*member);
                } else {
                    child->SetText(record.*member);
                }
            },
            field.member);
    }
}

// Each field from the first child of its name; a missing child leaves it
// as it is.
template <class R>
void readNumbers(const tinyxml2::XMLElement& parent, const NumberFields<R>& fields, R& record)
{
    for (const auto& field : fields) {
        const auto* child = parent.FirstChildElement(field.key);
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
void write(const RecordFields<R, Entry>& form, const R& record, tinyxml2::XMLElement& parameters)
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
R read(const RecordFields<R, Entry>& form, const tinyxml2::XMLElement& parameters)
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
