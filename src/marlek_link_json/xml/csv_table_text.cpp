#include "marlek_link_json/xml/csv_table_text.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

#include <algorithm>

std::string removeSemicolons(std::string_view text)
{
    std::string result(text);
    std::replace(result.begin(), result.end(), ';', ',');
    return result;
}

namespace MXml {

std::string csvHeaderField(std::string_view text)
{
    std::string field = carriedText(removeSemicolons(text));
    std::replace_if(field.begin(), field.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return field;
}

void appendCsvValue(std::string& text, double value)
{
    numtext::appendSeventeenDigits(text, value);
}

std::string csvElementText(const tinyxml2::XMLElement* csv)
{
    std::string text;
    for (const tinyxml2::XMLNode* node = csv->FirstChild(); node != nullptr; node = node->NextSibling()) {
        if (const tinyxml2::XMLText* part = node->ToText()) {
            text += part->Value();
        }
    }
    return text;
}

CsvSectionWriter::CsvSectionWriter(tinyxml2::XMLDocument* document, tinyxml2::XMLElement* csv)
    : document(document), csv(csv)
{
}

void CsvSectionWriter::lineWritten(std::uint64_t characters)
{
    estimate += characters;
    if (estimate > SECTION_LIMIT) {
        cutSection();
    }
}

void CsvSectionWriter::finish()
{
    if (!buffer.empty()) {
        cutSection();
    }
}

void CsvSectionWriter::cutSection()
{
    tinyxml2::XMLText* section = document->NewText(buffer.c_str());
    section->SetCData(true);
    csv->InsertEndChild(section);
    buffer.clear();
    estimate = 0;
}

} // namespace MXml
