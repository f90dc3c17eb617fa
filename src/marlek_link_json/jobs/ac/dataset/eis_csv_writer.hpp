#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <functional>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

class EisDataset;

// Writes the data table of an impedance dataset: three header lines (names,
// units, group keys) and one line per row with the columns in table order.
class EisCsvWriter {
public:
    explicit EisCsvWriter(const EisDataset& dataset);

    void addColumns(const std::vector<ColumnHeader>& columns, const std::string& groupKey);
    void finishHeader();
    // Writes the rows behind the header as CDATA sections of `csv`. A value
    // missing from a short or absent track is written "nan".
    void writeDataTable(tinyxml2::XMLDocument* document, tinyxml2::XMLElement* csv);

private:
    std::vector<std::reference_wrapper<const std::vector<double>>> collectTracks() const;

    const EisDataset& dataset;
    std::string names;
    std::string units;
    std::string keys;
    std::string output;
};
