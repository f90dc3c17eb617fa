#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Reads the semicolon-separated text tables of dataset XML in place, without
// copying lines. A data table starts with three header lines (names, units,
// URNs) followed by one line per row; a wave table holds one wave per line.
// The output belongs to the caller and is indexed [column][row] (for wave
// tables [wave][sample]). None of the readers throws on bad text.
class CsvParser {
public:
    // `text` must stay alive and NUL-terminated while the parser is used.
    CsvParser(std::vector<std::vector<double>>& output, const char* text);

    // Reads a data table into output columns the caller has sized: at least
    // as many columns as the table has, each holding the expected row count.
    // Text after the last expected row is ignored. The name, unit and URN
    // lines are the three lines after the table's leading line end and may
    // be empty. Files of other writers may start the table with several line
    // ends: `LeadingLineEnds::Any` skips all of them (then the name line
    // cannot be empty), for a second try when the first one fails.
    enum class LeadingLineEnds { One, Any };
    bool parse(LeadingLineEnds leading = LeadingLineEnds::One);
    // Skips line ends; false at the end of the text, otherwise `line` is the
    // text up to the next line feed and the result is whether it is
    // non-empty.
    bool getNextLine(std::string_view& line);
    static std::vector<std::string_view> tokenize(std::string_view line);
    // Reads a fixed-size wave table (two header lines, then `samplesPerWave`
    // values per line) into the waves the caller has allotted.
    bool parseWave(std::size_t samplesPerWave);
    // Reads a wave table of one wave per line, of any length; the line ";"
    // is one empty wave. Replaces the output.
    bool parseWaveVariable();

    // Whether `text` can hold a table of `columns` x `rows` values at all:
    // every row needs a line, every value a character and a separator. Lets a
    // reader refuse a declared size before it allocates for it.
    static bool canHold(std::string_view text, std::uint64_t columns, std::uint64_t rows);

private:
    void skipLineEnds();
    void skipOneLineEnd();
    bool atEnd() const;
    std::string_view restOfLine();
    // Reads one value token of a row; `last` is whether it ends the row.
    bool readRowValue(double& value, bool last);

    std::vector<std::vector<double>>& output;
    const char* lineStart;
    const char* position;
};

// Reads one number of a table: blanks (space, tab, carriage return) around
// it are ignored, the rest must be a complete decimal or scientific number,
// inf, infinity or nan (any letter case), within range.
bool parseCsvValue(std::string_view token, double& value);
