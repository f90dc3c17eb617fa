#pragma once
// The JSON shape that the impedance parameter records share: top-level
// numbers, a "frequency_range" object led by its "type" and optionally ending
// in an array of entries, then the optional multisine flag and drift
// correction. Included only by the records' conversion sources.

#include "marlek_json_common/json_common/job_parameters/drift_correction_json.hpp"
#include "marlek_json_common/json_common/job_parameters/impedance_record_fields.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace impedance_record_json {

using impedance_record_fields::hasEntries;
using impedance_record_fields::NumberFields;
using impedance_record_fields::RecordFields;

inline constexpr std::string_view FREQUENCY_RANGE_KEY = "frequency_range";
inline constexpr std::string_view MULTISINE_WAVE_IN_RESULT_KEY = "multisine_wave_in_result";

template <class R>
bool allNumbers(const boost::json::object& object, const NumberFields<R>& fields)
{
    for (const auto& field : fields) {
        const auto* member = object.if_contains(field.key);
        if (member == nullptr || !member->is_number()) {
            return false;
        }
    }
    return true;
}

template <class R>
void writeNumbers(boost::json::object& object, const NumberFields<R>& fields, const R& record)
{
    for (const auto& field : fields) {
        std::visit([&](auto member) { object[field.key] = record.*member; }, field.member);
    }
}

// Doubles take any number; counts must be exact unsigned integers, else
// system_error with not_exact.
template <class R>
void readNumbers(const boost::json::object& object, const NumberFields<R>& fields, R& record)
{
    for (const auto& field : fields) {
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(record.*member)>;
                record.*member = object.at(field.key).template to_number<T>();
            },
            field.member);
    }
}

template <class R, class Entry>
void write(const RecordFields<R, Entry>& form, boost::json::value& target, const R& record)
{
    boost::json::object top;
    writeNumbers(top, form.topLevel, record);
    boost::json::object range;
    range["type"] = form.rangeType;
    writeNumbers(range, form.range, record);
    if constexpr (hasEntries<Entry>) {
        range[form.entriesKey] = boost::json::value_from(record.*form.entries);
    }
    top[FREQUENCY_RANGE_KEY] = std::move(range);
    if (form.multisineWaveInResult != nullptr && (record.*form.multisineWaveInResult).has_value()) {
        top[MULTISINE_WAVE_IN_RESULT_KEY] = *(record.*form.multisineWaveInResult);
    }
    writeOptionalDriftCorrection(top, record.drift_correction);
    target = std::move(top);
}

// All or nothing: a required member that is missing or of the wrong kind
// gives the default record (its optionals empty too); only a value that is
// not an object, an inexact count or a malformed table entry throws. In every
// record the counts are listed in declaration order and the table comes after
// them, so converting in list order reports the same first failure as
// converting in declaration order.
template <class R, class Entry>
R read(const RecordFields<R, Entry>& form, const boost::json::value& source)
{
    const auto* top = source.if_object();
    if (top == nullptr) {
        jsonmembers::throwJsonError(boost::json::error::not_object);
    }
    const auto driftCorrection = readOptionalDriftCorrection(*top);
    std::optional<bool> multisineWaveInResult;
    if (form.multisineWaveInResult != nullptr) {
        if (const auto* flag = top->if_contains(MULTISINE_WAVE_IN_RESULT_KEY); flag != nullptr && flag->is_bool()) {
            multisineWaveInResult = flag->get_bool();
        }
    }

    if (!allNumbers(*top, form.topLevel)) {
        return R{};
    }
    const auto* rangeValue = top->if_contains(FREQUENCY_RANGE_KEY);
    if (rangeValue == nullptr || !rangeValue->is_object()) {
        return R{};
    }
    const auto& range = rangeValue->get_object();
    if (!allNumbers(range, form.range)) {
        return R{};
    }
    const boost::json::value* entries = nullptr;
    if constexpr (hasEntries<Entry>) {
        entries = range.if_contains(form.entriesKey);
        if (entries == nullptr || !entries->is_array()) {
            return R{};
        }
    }

    R record{};
    readNumbers(*top, form.topLevel, record);
    readNumbers(range, form.range, record);
    if constexpr (hasEntries<Entry>) {
        record.*form.entries = boost::json::value_to<std::vector<Entry>>(*entries);
    }
    if (form.multisineWaveInResult != nullptr) {
        record.*form.multisineWaveInResult = multisineWaveInResult;
    }
    record.drift_correction = driftCorrection;
    return record;
}

} // namespace impedance_record_json
