#include "marlek_link_json/jobs/dc/parameters/wave_parameters.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/jobs/described_record_xml.hpp"
#include "marlek_link_json/xml/xml_number_text.hpp"

#include <tinyxml2.h>

#include <string>
#include <string_view>

namespace {

void appendNumber(tinyxml2::XMLElement* parameters, const char* name, double value)
{
    MXml::setDoubleText(parameters->InsertNewChildElement(name), value);
}

void readNumber(const tinyxml2::XMLElement* parameters, const char* name, double& target)
{
    if (const auto* child = parameters->FirstChildElement(name)) {
        DescribedXml::MemberText<double>::read(*child, target);
    }
}

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The whole text of an element, also when a writer split it into several
// text or CDATA nodes.
std::string textOf(const tinyxml2::XMLElement& element)
{
    std::string text;
    for (const auto* node = element.FirstChild(); node != nullptr; node = node->NextSibling()) {
        if (const auto* part = node->ToText()) {
            text += part->Value();
        }
    }
    return text;
}

std::optional<std::vector<double>> parseValueList(std::string_view text)
{
    std::vector<double> values;
    if (trimmed(text).empty()) {
        return values;
    }
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(';', start);
        const auto item = trimmed(text.substr(start, end == std::string_view::npos ? end : end - start));
        const auto value = numtext::parseDouble(item);
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        if (end == std::string_view::npos) {
            return values;
        }
        start = end + 1;
    }
}

} // namespace

void ParameterXmlForm<WaveParameters>::write(const WaveParameters& record, tinyxml2::XMLElement* parameters)
{
    appendNumber(parameters, "output_data_rate", record.output_data_rate);
    appendNumber(parameters, "value_rate", record.value_rate);
    parameters->InsertNewChildElement("repetitions")
        ->SetText(DescribedXml::MemberText<std::uint64_t>::write(record.repetitions).c_str());
    appendNumber(parameters, "current_range", record.current_range);
    appendNumber(parameters, "bias", record.bias);

    std::string list;
    for (std::size_t i = 0; i < record.values.size(); ++i) {
        if (i != 0) {
            list += ';';
        }
        numtext::appendSeventeenDigits(list, record.values[i]);
    }
    parameters->InsertNewChildElement("value")->InsertNewText(list.c_str())->SetCData(true);
}

std::optional<WaveParameters> ParameterXmlForm<WaveParameters>::read(const tinyxml2::XMLElement* parameters)
{
    WaveParameters record{};
    readNumber(parameters, "output_data_rate", record.output_data_rate);
    readNumber(parameters, "value_rate", record.value_rate);
    if (const auto* child = parameters->FirstChildElement("repetitions")) {
        DescribedXml::MemberText<std::uint64_t>::read(*child, record.repetitions);
    }
    readNumber(parameters, "current_range", record.current_range);
    readNumber(parameters, "bias", record.bias);
    if (const auto* child = parameters->FirstChildElement("value")) {
        if (auto values = parseValueList(textOf(*child))) {
            record.values = std::move(*values);
        }
    }
    return record;
}
