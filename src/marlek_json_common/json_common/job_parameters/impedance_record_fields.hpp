#pragma once
// The fields of the impedance parameter records, named once for both written
// forms: the JSON of the job messages and the XML of stored job information.
// Each form places them in its own way (the XML puts the multisine flag and
// drift correction before "frequency_range", the JSON after it), but takes
// the keys, members and, unless its source says otherwise, the order from
// here.

#include "marlek_json_common/json_common/job_parameters/eis_parameters.hpp"
#include "marlek_json_common/json_common/job_parameters/geis_parameters.hpp"

#include <cstdint>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

namespace impedance_record_fields {

template <class R>
struct NumberField {
    using Member = std::variant<double R::*, std::uint64_t R::*>;
    const char* key;
    Member member;
};

template <class R>
using NumberFields = std::vector<NumberField<R>>;

// Entry type of a record without a table.
struct NoEntries {};

template <class Entry>
inline constexpr bool hasEntries = !std::is_same_v<Entry, NoEntries>;

// The numbers beside "frequency_range", the range's "type" text and numbers,
// and the optional table and multisine flag.
template <class R, class Entry = NoEntries>
struct RecordFields {
    NumberFields<R> topLevel;
    const char* rangeType = "";
    NumberFields<R> range;
    // Key of the JSON array of entries; the XML writes each entry as "entry".
    const char* entriesKey = "";
    std::vector<Entry> R::*entries = nullptr;
    // An entry's XML elements. The JSON converts entries through their
    // described members instead, in declaration order.
    NumberFields<Entry> entryFields;
    std::optional<bool> R::*multisineWaveInResult = nullptr;
};

const RecordFields<EisParametersFrequencyTable, EisParametersFrequencyTableEntry>& eisFrequencyTable();
const RecordFields<EisParametersGenerate>& eisGenerate();
const RecordFields<EisMultiSineTable, EisMultiSineTableEntry>& eisMultiSineTable();
const RecordFields<EisMultisineParametersGenerate>& eisMultisineGenerate();
const RecordFields<GeisVaParametersGenerate>& geisVaGenerate();
const RecordFields<GeisVaParametersFrequencyTable, EisParametersFrequencyTableEntry>& geisVaFrequencyTable();

} // namespace impedance_record_fields
