#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_csv_writer.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_xml_elements.hpp"
#include "marlek_link_json/jobs/dataset/dataset_sections_xml.hpp"
#include "marlek_link_json/xml/csv_table_text.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string impedanceKey(const ImpedanceDataHeader& impedance)
{
    return impedance.getNumeratorPath() + "/" + impedance.getDenominatorPath();
}

tinyxml2::XMLElement* appendColumnClass(tinyxml2::XMLElement* configuration, const char* type, const std::string& urn)
{
    tinyxml2::XMLElement* element = configuration->InsertNewChildElement("column-class");
    element->SetAttribute("type", type);
    MXml::setAttribute(element, "urn", urn);
    return element;
}

void appendPathClass(tinyxml2::XMLElement* configuration, const char* type, const PathDataHeader& path)
{
    tinyxml2::XMLElement* element = appendColumnClass(configuration, type, path.getUri());
    MXml::setAttribute(element, "name", path.getName());
    appendPolynomialElement(path.getPolynomial(), element, "polynomial");
}

// One wave per line; a wave without samples is the line ";", which reads
// back as one empty wave where an empty line would be skipped.
void writeWaveTable(tinyxml2::XMLDocument* document, tinyxml2::XMLElement* csv,
                    const std::vector<std::vector<double>>& waves)
{
    MXml::CsvSectionWriter writer(document, csv);
    std::string& text = writer.text();
    text += '\n';
    for (const std::vector<double>& wave : waves) {
        if (wave.empty()) {
            text += ';';
        }
        for (std::size_t s = 0; s < wave.size(); ++s) {
            if (s != 0) {
                text += ';';
            }
            MXml::appendCsvValue(text, wave[s]);
        }
        text += '\n';
        writer.lineWritten(MXml::CsvSectionWriter::CHARACTERS_PER_VALUE * wave.size());
    }
    writer.finish();
}

// The reader hands every column of a group key to the first column class of
// that key, and those of the empty key to the meta columns: a later class
// with columns under a key already used would lose them.
std::optional<std::string> groupKeyProblem(const LiveDataHeaderEis& header)
{
    std::vector<std::pair<std::string, std::size_t>> classes;
    for (const PathDataHeader& path : header.getPaths()) {
        classes.emplace_back(path.getUri(), path.getColumns().size());
    }
    for (const ImpedanceDataHeader& impedance : header.getImpedances()) {
        classes.emplace_back(impedanceKey(impedance), impedance.getColumns().size());
    }
    for (const PathDataHeader& path : header.getAsyncPaths()) {
        classes.emplace_back(path.getUri(), path.getColumns().size());
    }
    for (const PotentiostatDataHeader& potentiostat : header.getPotentiostats()) {
        classes.emplace_back(potentiostat.uri, potentiostat.columns.size());
    }
    std::set<std::string> used{""};
    for (const auto& [key, columns] : classes) {
        if (!used.insert(key).second && columns != 0) {
            return key.empty() ? std::string("a column class has the empty group key of the meta columns")
                               : "two column classes share the group key '" + key + "'";
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> EisDataset::readBackProblem() const
{
    const std::uint64_t rows = getRowCount();
    if (rows != 0 && header.getMetaColumns().size() < 3) {
        return "an impedance dataset with rows needs the meta columns frequency, periods and time";
    }
    if (auto problem = groupKeyProblem(header)) {
        return problem;
    }
    for (std::size_t i = 0; i < header.getPaths().size(); ++i) {
        if (getPathWaves(i).size() > rows) {
            return "sync path " + std::to_string(i) + " has more waves than the dataset has rows";
        }
    }
    return std::nullopt;
}

void EisDataset::acceptSerializer(MXml::XmlSerializer& serializer) const
{
    tinyxml2::XMLElement* dataset = serializer.document->NewElement("dataset");
    dataset->SetAttribute("type", "AC");
    MXml::setAttribute(dataset, "job-type-short", header.getShortMeasurementType());
    MXml::setAttribute(dataset, "job-type", header.getMeasurementType());
    tinyxml2::XMLElement* configuration = dataset->InsertNewChildElement("configuration");
    tinyxml2::XMLElement* structure = dataset->InsertNewChildElement("data-structure");

    EisCsvWriter table(*this);
    appendXmlColumnElements(header.getMetaColumns(), "", structure);
    table.addColumns(header.getMetaColumns(), "");
    for (const PathDataHeader& path : header.getPaths()) {
        appendPathClass(configuration, "path", path);
        appendXmlColumnElements(path.getColumns(), path.getUri(), structure);
        table.addColumns(path.getColumns(), path.getUri());
    }
    for (const ImpedanceDataHeader& impedance : header.getImpedances()) {
        const std::string key = impedanceKey(impedance);
        tinyxml2::XMLElement* element = appendColumnClass(configuration, "impedance", key);
        MXml::setAttribute(element, "numerator", impedance.getNumeratorPath());
        MXml::setAttribute(element, "denominator", impedance.getDenominatorPath());
        MXml::setAttribute(element, "impedance_name", impedance.getImpedanceName());
        appendXmlColumnElements(impedance.getColumns(), key, structure);
        table.addColumns(impedance.getColumns(), key);
    }
    for (const PathDataHeader& path : header.getAsyncPaths()) {
        appendPathClass(configuration, "async-path", path);
        appendXmlColumnElements(path.getColumns(), path.getUri(), structure);
        table.addColumns(path.getColumns(), path.getUri());
    }
    for (const PotentiostatDataHeader& potentiostat : header.getPotentiostats()) {
        tinyxml2::XMLElement* element = appendColumnClass(configuration, "potentiostat", potentiostat.uri);
        appendPolynomialElement(potentiostat.polynomial, element, "polynomial");
        appendXmlColumnElements(potentiostat.columns, potentiostat.uri, structure);
        table.addColumns(potentiostat.columns, potentiostat.uri);
    }

    appendSectionsElement(this, dataset);

    tinyxml2::XMLElement* data = dataset->InsertNewChildElement("csv");
    data->SetAttribute("type", "data");
    table.finishHeader();
    table.writeDataTable(serializer.document, data);

    const auto& pathHeaders = header.getPaths();
    for (std::size_t i = 0; i < pathHeaders.size(); ++i) {
        tinyxml2::XMLElement* csv = dataset->InsertNewChildElement("csv");
        csv->SetAttribute("type", "wave");
        MXml::setAttribute(csv, "urn", pathHeaders[i].getUri());
        writeWaveTable(serializer.document, csv, getPathWaves(i));
    }
    serializer.element = dataset;
}
