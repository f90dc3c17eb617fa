#pragma once

#include "marlek_link_json/xml/deserialization_context.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MXml {

// The size a dataset element declares for its data table: the columns of its
// "data-structure" and the rows its sections add up to (none when the sum
// overflows).
struct DeclaredTableSize {
    std::uint64_t columns = 0;
    std::optional<std::uint64_t> rows;
};

// Reads the data table `text` into tracks of the declared size, [column][row].
// The size comes from the file and may be forged: it is checked against what
// the text can hold before any track is sized by it. A table without columns
// holds no values and gives no tracks. On a mismatch reports "the {kind} data
// table does not match the declared C columns x R rows" and gives no value.
std::optional<std::vector<std::vector<double>>> readDeclaredTable(std::string_view kind, const std::string& text,
                                                                  const DeclaredTableSize& size,
                                                                  DeserializationContext& context);

} // namespace MXml
