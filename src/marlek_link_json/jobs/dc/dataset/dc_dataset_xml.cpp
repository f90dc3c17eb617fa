#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include "marlek_link_json/jobs/dataset/dataset_sections_xml.hpp"
#include "marlek_link_json/xml/csv_table_text.hpp"
#include "marlek_link_json/xml/declared_table.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

#include <limits>
#include <string>
#include <utility>

namespace {

std::string attributeText(const tinyxml2::XMLElement* element, const char* name)
{
    const char* value = element->Attribute(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Appends one header line: the texts joined by ";", then a line feed; no
// line at all when there is no column.
void appendHeaderLine(std::string& text, const std::vector<std::string>& fields)
{
    if (fields.empty()) {
        return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            text += ';';
        }
        text += fields[i];
    }
    text += '\n';
}

} // namespace

void DcDataset::acceptSerializer(MXml::XmlSerializer& serializer) const
{
    tinyxml2::XMLElement* dataset = serializer.document->NewElement("dataset");
    dataset->SetAttribute("type", "DC");
    MXml::setAttribute(dataset, "job-type-short", header.getShortMeasurementType());
    MXml::setAttribute(dataset, "job-type", header.getMeasurementType());

    tinyxml2::XMLElement* structure = dataset->InsertNewChildElement("data-structure");
    std::vector<std::string> names;
    std::vector<std::string> units;
    std::vector<std::string> urns;
    for (const ColumnHeader& column : header.getColumns()) {
        tinyxml2::XMLElement* element = structure->InsertNewChildElement("column");
        MXml::setAttribute(element, "name", column.dimension);
        element->SetAttribute("type", "double");
        MXml::setAttribute(element, "unit", column.unit);
        MXml::setAttribute(element, "urn", column.urn);
        names.push_back(MXml::csvHeaderField(column.dimension));
        units.push_back(MXml::csvHeaderField(column.unit));
        urns.push_back(MXml::csvHeaderField(column.urn));
    }

    appendSectionsElement(this, dataset);

    tinyxml2::XMLElement* csv = dataset->InsertNewChildElement("csv");
    csv->SetAttribute("type", "data");
    MXml::CsvSectionWriter writer(serializer.document, csv);
    std::string& text = writer.text();
    text += '\n';
    appendHeaderLine(text, names);
    appendHeaderLine(text, units);
    appendHeaderLine(text, urns);
    writer.lineWritten(text.size());

    const std::size_t columnCount = header.getColumns().size();
    const std::uint64_t rows = getRowCount();
    for (std::uint64_t row = 0; row < rows; ++row) {
        for (std::size_t c = 0; c < columnCount; ++c) {
            if (c != 0) {
                text += ';';
            }
            // Rows appended short leave later tracks shorter than track 0.
            const bool present = c < tracks.size() && row < tracks[c].size();
            MXml::appendCsvValue(text, present ? tracks[c][row] : std::numeric_limits<double>::quiet_NaN());
        }
        text += '\n';
        writer.lineWritten(MXml::CsvSectionWriter::CHARACTERS_PER_VALUE * columnCount);
    }
    if (columnCount != 0) {
        writer.finish();
    }
    serializer.element = dataset;
}

std::shared_ptr<DcDataset> DcDataset::buildFromXmlElement(tinyxml2::XMLElement* element,
                                                          MXml::DeserializationContext& context)
{
    std::string shortType = attributeText(element, "job-type-short");
    std::string type = attributeText(element, "job-type");

    tinyxml2::XMLElement* structure = element->FirstChildElement("data-structure");
    if (structure == nullptr) {
        context.reportError("DC <dataset> is missing its <data-structure> element");
        return nullptr;
    }
    std::vector<ColumnHeader> columns;
    for (const tinyxml2::XMLElement* column = structure->FirstChildElement("column"); column != nullptr;
         column = column->NextSiblingElement("column")) {
        columns.emplace_back(attributeText(column, "name"), attributeText(column, "unit"),
                             attributeText(column, "urn"));
    }

    tinyxml2::XMLElement* sectionsElement = element->FirstChildElement("sections");
    if (sectionsElement == nullptr) {
        context.reportError(columns.empty() ? "DC <dataset> declares no <column> in its <data-structure>"
                                            : "DC <dataset> is missing its <sections> element");
        return nullptr;
    }
    std::vector<DatasetInfo> sections = datasetInfoVectorFromSection(sectionsElement, context);
    if (context.error.has_value()) {
        return nullptr;
    }
    const std::optional<std::uint64_t> declaredRows = totalRowCount(sections);
    // A dataset without columns holds no values; the writer produces one for
    // an empty result, which reads back as such.
    if (columns.empty() && declaredRows != 0) {
        context.reportError("DC <dataset> declares no <column> in its <data-structure>");
        return nullptr;
    }
    JobInfo jobInfo = sections.empty() ? JobInfo{} : sections.front().jobInfo;

    tinyxml2::XMLElement* csv = element->FirstChildElement("csv");
    if (csv == nullptr) {
        context.reportError("DC <dataset> is missing its <csv> element");
        return nullptr;
    }
    std::vector<std::vector<double>> tracks;
    if (!columns.empty()) {
        const std::string text = MXml::csvElementText(csv);
        if (text.empty()) {
            context.reportError("the <csv> element of the DC dataset is empty");
            return nullptr;
        }
        auto table = MXml::readDeclaredTable("DC", text, {columns.size(), declaredRows}, context);
        if (!table) {
            return nullptr;
        }
        tracks = std::move(*table);
    }

    auto dataset = std::make_shared<DcDataset>(
        LiveDataHeader(std::move(type), std::move(shortType), std::move(columns)), std::move(jobInfo),
        std::move(tracks));
    if (sections.size() > 1) {
        dataset->includedDatasets = std::move(sections);
    }
    return dataset;
}
