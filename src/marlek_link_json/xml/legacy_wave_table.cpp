#include "marlek_link_json/xml/legacy_wave_table.hpp"

#include "marlek_link_json/xml/csv_parser.hpp"

#include <tinyxml2.h>

#include <string_view>

namespace MXml::Legacy {

std::int64_t readPathWaveSize(const tinyxml2::XMLElement* columnClass)
{
    const tinyxml2::XMLAttribute* attribute = columnClass->FindAttribute("wave-size");
    if (attribute == nullptr) {
        return DEFAULT_WAVE_SIZE;
    }
    std::int64_t size = 0;
    if (attribute->QueryInt64Value(&size) != tinyxml2::XML_SUCCESS) {
        return DEFAULT_WAVE_SIZE;
    }
    return size < 0 ? 0 : size;
}

bool parseFixedSizeWaveTable(std::vector<std::vector<double>>& waves, const char* text, std::size_t waveCount,
                             std::size_t sampleCount)
{
    waves.clear();
    if (sampleCount != 0 && !CsvParser::canHold(std::string_view(text), sampleCount, waveCount)) {
        return false;
    }
    waves.resize(waveCount);
    CsvParser parser(waves, text);
    return parser.parseWave(sampleCount);
}

} // namespace MXml::Legacy
