#include "marlek_link_json/xml/declared_table.hpp"

#include "marlek_link_json/xml/csv_parser.hpp"

#include <limits>

namespace MXml {

std::optional<std::vector<std::vector<double>>> readDeclaredTable(std::string_view kind, const std::string& text,
                                                                  const DeclaredTableSize& size,
                                                                  DeserializationContext& context)
{
    std::vector<std::vector<double>> tracks;
    if (size.columns == 0) {
        return tracks;
    }
    const std::uint64_t rows = size.rows.value_or(std::numeric_limits<std::uint64_t>::max());
    bool read = size.rows.has_value() && CsvParser::canHold(text, size.columns, rows);
    if (read) {
        tracks.assign(size.columns, std::vector<double>(rows));
        read = CsvParser(tracks, text.c_str()).parse(CsvParser::LeadingLineEnds::One);
        // A table that other writers began with blank lines reads as before.
        if (!read) {
            tracks.assign(size.columns, std::vector<double>(rows));
            read = CsvParser(tracks, text.c_str()).parse(CsvParser::LeadingLineEnds::Any);
        }
    }
    if (!read) {
        context.reportError("the " + std::string(kind) + " data table does not match the declared "
                            + std::to_string(size.columns) + " columns x " + std::to_string(rows) + " rows");
        return std::nullopt;
    }
    return tracks;
}

} // namespace MXml
