#include "marlek_link_json/xml/csv_parser.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"

#include <algorithm>
#include <iostream>
#include <limits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

bool parseCsvValue(std::string_view token, double& value)
{
    while (!token.empty() && isBlank(token.front())) {
        token.remove_prefix(1);
    }
    while (!token.empty() && isBlank(token.back())) {
        token.remove_suffix(1);
    }
    const auto number = numtext::parseDouble(token);
    if (!number) {
        return false;
    }
    value = *number;
    return true;
}

CsvParser::CsvParser(std::vector<std::vector<double>>& output, const char* text)
    : output(output), lineStart(text), position(text)
{
}

bool CsvParser::atEnd() const
{
    return *position == '\0';
}

void CsvParser::skipLineEnds()
{
    while (isLineEnd(*position)) {
        ++position;
    }
}

void CsvParser::skipOneLineEnd()
{
    if (*position == '\r') {
        ++position;
    }
    if (*position == '\n') {
        ++position;
    }
}

std::string_view CsvParser::restOfLine()
{
    lineStart = position;
    while (*position != '\n' && *position != '\0') {
        ++position;
    }
    return std::string_view(lineStart, static_cast<std::size_t>(position - lineStart));
}

bool CsvParser::getNextLine(std::string_view& line)
{
    skipLineEnds();
    if (atEnd()) {
        return false;
    }
    line = restOfLine();
    return !line.empty();
}

std::vector<std::string_view> CsvParser::tokenize(std::string_view line)
{
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ';') {
            tokens.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    tokens.push_back(line.substr(start));
    return tokens;
}

bool CsvParser::parse(LeadingLineEnds leading)
{
    // The table starts with one line end and the three header lines follow
    // as exactly the next three lines: with one column an empty name, unit
    // or URN is an empty line, which must not be taken for a line break.
    if (leading == LeadingLineEnds::One) {
        skipOneLineEnd();
    } else {
        skipLineEnds();
    }
    if (atEnd()) {
        return false;
    }
    const std::string_view names = restOfLine();
    if (atEnd()) {
        return false;
    }
    ++position;
    const std::string_view units = restOfLine();
    if (atEnd()) {
        return false;
    }
    ++position;
    const std::string_view urns = restOfLine();

    const std::size_t width = tokenize(names).size();
    if (tokenize(units).size() != width || tokenize(urns).size() != width || width > output.size()) {
        std::cerr << "column size mismatch" << std::endl;
        return false;
    }
    const std::size_t rows = output.front().size();
    if (rows == 0) {
        return true;
    }
    if (*position == '\n') {
        ++position;
    }
    for (std::size_t r = 0; r < rows; ++r) {
        lineStart = position;
        for (std::size_t c = 0; c < width; ++c) {
            if (!readRowValue(output[c][r], c + 1 == width)) {
                return false;
            }
        }
    }
    return true;
}

bool CsvParser::readRowValue(double& value, bool last)
{
    const char* start = position;
    while (*position != ';' && *position != '\n' && *position != '\0') {
        ++position;
    }
    if (!parseCsvValue(std::string_view(start, static_cast<std::size_t>(position - start)), value)) {
        return false;
    }
    if (!last) {
        if (*position != ';') {
            return false;
        }
        ++position;
    } else if (*position == '\n') {
        ++position;
    }
    return true;
}

bool CsvParser::parseWave(std::size_t samplesPerWave)
{
    std::string_view header;
    if (!getNextLine(header)) {
        return false;
    }
    if (!getNextLine(header)) {
        return false;
    }
    if (output.empty()) {
        return true;
    }
    if (samplesPerWave == 0) {
        for (auto& wave : output) {
            wave.clear();
        }
        return true;
    }
    if (*position == '\n') {
        ++position;
    }
    for (auto& wave : output) {
        wave.resize(samplesPerWave);
        lineStart = position;
        for (std::size_t s = 0; s < samplesPerWave; ++s) {
            if (!readRowValue(wave[s], s + 1 == samplesPerWave)) {
                return false;
            }
        }
    }
    return true;
}

bool CsvParser::parseWaveVariable()
{
    output.clear();
    while (true) {
        skipLineEnds();
        if (atEnd()) {
            return true;
        }
        lineStart = position;
        std::vector<double> wave;
        while (true) {
            const char* start = position;
            while (*position != ';' && *position != '\0' && !isLineEnd(*position)) {
                ++position;
            }
            if (position != start) {
                double value = 0.0;
                if (!parseCsvValue(std::string_view(start, static_cast<std::size_t>(position - start)), value)) {
                    return false;
                }
                wave.push_back(value);
            }
            if (*position != ';') {
                break;
            }
            ++position;
        }
        output.push_back(std::move(wave));
    }
}

bool CsvParser::canHold(std::string_view text, std::uint64_t columns, std::uint64_t rows)
{
    if (columns == 0 || rows == 0) {
        return true;
    }
    const auto lines = static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (rows > lines) {
        return false;
    }
    if (columns > std::numeric_limits<std::uint64_t>::max() / rows) {
        return false;
    }
    const std::uint64_t values = columns * rows;
    // A value is at least one character followed by ";" or a line end; the
    // very last one may end the text instead.
    return values <= (static_cast<std::uint64_t>(text.size()) + 1) / 2;
}
