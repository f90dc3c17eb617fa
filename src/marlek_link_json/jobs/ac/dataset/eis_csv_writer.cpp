#include "marlek_link_json/jobs/ac/dataset/eis_csv_writer.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/xml/csv_table_text.hpp"

#include <limits>

namespace {

void appendField(std::string& line, const std::string& text)
{
    line += MXml::csvHeaderField(text);
    line += ';';
}

// The line with its final ";" turned into the line end.
void appendLine(std::string& output, std::string& line)
{
    if (!line.empty() && line.back() == ';') {
        line.back() = '\n';
    } else {
        line += '\n';
    }
    output += line;
}

} // namespace

EisCsvWriter::EisCsvWriter(const EisDataset& dataset) : dataset(dataset) {}

void EisCsvWriter::addColumns(const std::vector<ColumnHeader>& columns, const std::string& groupKey)
{
    for (const ColumnHeader& column : columns) {
        appendField(names, column.dimension);
        appendField(units, column.unit);
        appendField(keys, groupKey);
    }
}

void EisCsvWriter::finishHeader()
{
    output += '\n';
    appendLine(output, names);
    appendLine(output, units);
    appendLine(output, keys);
}

std::vector<std::reference_wrapper<const std::vector<double>>> EisCsvWriter::collectTracks() const
{
    std::vector<std::reference_wrapper<const std::vector<double>>> tracks;
    for (std::size_t c = 0; c < dataset.getMetaDataHeader().size(); ++c) {
        tracks.emplace_back(dataset.getMetaColumn(c));
    }
    const auto& paths = dataset.getPathsDataHeaders();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        for (std::size_t c = 0; c < paths[i].getColumns().size(); ++c) {
            tracks.emplace_back(dataset.getPathMetaData(i, c));
        }
    }
    const auto& impedances = dataset.getImpedancesHeaders();
    for (std::size_t i = 0; i < impedances.size(); ++i) {
        for (std::size_t c = 0; c < impedances[i].getColumns().size(); ++c) {
            tracks.emplace_back(dataset.getImpedancesMetaData(i, c));
        }
    }
    const auto& asyncPaths = dataset.getAsyncPathsDataHeaders();
    for (std::size_t i = 0; i < asyncPaths.size(); ++i) {
        for (std::size_t c = 0; c < asyncPaths[i].getColumns().size(); ++c) {
            tracks.emplace_back(dataset.getAsyncPathData(i, c));
        }
    }
    const auto& potentiostats = dataset.getPotentiostatsDataHeaders();
    for (std::size_t i = 0; i < potentiostats.size(); ++i) {
        for (std::size_t c = 0; c < potentiostats[i].columns.size(); ++c) {
            tracks.emplace_back(dataset.getPotentiostatsMetaData(i, c));
        }
    }
    return tracks;
}

void EisCsvWriter::writeDataTable(tinyxml2::XMLDocument* document, tinyxml2::XMLElement* csv)
{
    MXml::CsvSectionWriter writer(document, csv);
    std::string& text = writer.text();
    text = std::move(output);
    output.clear();
    const auto tracks = collectTracks();
    const std::uint64_t rows = dataset.getRowCount();
    for (std::uint64_t row = 0; row < rows; ++row) {
        for (std::size_t c = 0; c < tracks.size(); ++c) {
            if (c != 0) {
                text += ';';
            }
            const std::vector<double>& track = tracks[c].get();
            MXml::appendCsvValue(text, row < track.size() ? track[row] : std::numeric_limits<double>::quiet_NaN());
        }
        text += '\n';
        writer.lineWritten(MXml::CsvSectionWriter::CHARACTERS_PER_VALUE * tracks.size());
    }
    writer.finish();
}
