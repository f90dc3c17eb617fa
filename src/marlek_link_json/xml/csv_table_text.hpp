#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

// A copy of `text` with every ";" replaced by ",", so that it fits into one
// field of a semicolon-separated header line.
std::string removeSemicolons(std::string_view text);

namespace MXml {

// A name, unit or URN as one field of a table's header line: without ";"
// (removeSemicolons) and with line ends turned into spaces, either of which
// would change the width of its line and make the table unreadable. A NUL is
// carried as the text setters carry it (xml_text.hpp), so that the table is
// not cut short there but refused by the exporter.
std::string csvHeaderField(std::string_view text);

// Appends a table value as numtext::appendSeventeenDigits does: 17
// significant digits as "%.17g" in the "C" locale, NaN always "nan".
void appendCsvValue(std::string& text, double value);

// The table text of a "csv" element: its text and CDATA children joined in
// document order.
std::string csvElementText(const tinyxml2::XMLElement* csv);

// Collects the text of one table and hands it to its "csv" element as CDATA
// sections. A section is cut after the line at which the running estimate of
// its size (20 characters per value) exceeds SECTION_LIMIT, so that no single
// XML text node grows without bound.
class CsvSectionWriter {
public:
    static constexpr std::uint64_t SECTION_LIMIT = 1'499'999'999;
    static constexpr std::uint64_t CHARACTERS_PER_VALUE = 20;

    CsvSectionWriter(tinyxml2::XMLDocument* document, tinyxml2::XMLElement* csv);

    std::string& text() { return buffer; }
    // Counts `characters` towards the estimate after a complete line and cuts
    // a section when the estimate exceeds the limit.
    void lineWritten(std::uint64_t characters);
    // Writes what is left as the last section.
    void finish();

private:
    void cutSection();

    tinyxml2::XMLDocument* document;
    tinyxml2::XMLElement* csv;
    std::string buffer;
    std::uint64_t estimate = 0;
};

} // namespace MXml
