#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_column_groups.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_xml_elements.hpp"
#include "marlek_link_json/jobs/dataset/dataset_sections_xml.hpp"
#include "marlek_link_json/xml/csv_parser.hpp"
#include "marlek_link_json/xml/csv_table_text.hpp"
#include "marlek_link_json/xml/declared_table.hpp"
#include "marlek_link_json/xml/legacy_wave_table.hpp"

#include <tinyxml2.h>

#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace {

// Files up to this version store waves as fixed-size legacy tables.
constexpr std::uint64_t LAST_LEGACY_WAVE_VERSION = 2;
// Files up to this version name the potentiostat's polynomial element
// "potentiostatic_polynomial".
constexpr std::uint64_t LAST_POTENTIOSTATIC_POLYNOMIAL_VERSION = 3;

std::string attributeText(const tinyxml2::XMLElement* element, const char* name)
{
    const char* value = element->Attribute(name);
    return value != nullptr ? std::string(value) : std::string();
}

using ColumnsByKey = std::map<std::string, std::vector<ColumnHeader>>;

std::vector<ColumnHeader> takeColumns(ColumnsByKey& groups, const std::string& key)
{
    const auto found = groups.find(key);
    if (found == groups.end()) {
        return {};
    }
    std::vector<ColumnHeader> columns = std::move(found->second);
    groups.erase(found);
    return columns;
}

// The header's objects as read from the column classes, with the legacy wave
// size of every path in path order.
struct ColumnClasses {
    std::vector<ImpedanceDataHeader> impedances;
    std::vector<PathDataHeader> paths;
    std::vector<PathDataHeader> asyncPaths;
    std::vector<PotentiostatDataHeader> potentiostats;
    std::vector<std::int64_t> legacyWaveSizes;
};

bool readColumnClasses(const tinyxml2::XMLElement* configuration, ColumnsByKey& groups,
                       MXml::DeserializationContext& context, ColumnClasses& classes)
{
    const bool legacyWaves = context.formatVersion <= LAST_LEGACY_WAVE_VERSION;
    const char* potentiostatPolynomial = context.formatVersion <= LAST_POTENTIOSTATIC_POLYNOMIAL_VERSION
                                             ? "potentiostatic_polynomial"
                                             : "polynomial";
    for (const tinyxml2::XMLElement* element = configuration->FirstChildElement("column-class"); element != nullptr;
         element = element->NextSiblingElement("column-class")) {
        const std::string type = attributeText(element, "type");
        const std::string urn = attributeText(element, "urn");
        bool valid = false;
        if (type == "path" || type == "async-path") {
            const bool sync = type == "path";
            std::vector<ColumnHeader> columns = takeColumns(groups, urn);
            UserPolynomial polynomial = readPolynomialChildElement(element, "polynomial", valid);
            if (!valid) {
                context.reportError("<column-class type=\"" + std::string(sync ? "path" : "async_path") + "\" urn=\""
                                    + urn + "\"> has no valid <polynomial>");
                return false;
            }
            PathDataHeader path(urn, attributeText(element, "name"), std::move(columns), std::move(polynomial));
            if (sync) {
                classes.paths.push_back(std::move(path));
                if (legacyWaves) {
                    classes.legacyWaveSizes.push_back(MXml::Legacy::readPathWaveSize(element));
                }
            } else {
                classes.asyncPaths.push_back(std::move(path));
            }
        } else if (type == "impedance") {
            const char* numerator = element->Attribute("numerator");
            const char* denominator = element->Attribute("denominator");
            if (numerator == nullptr || denominator == nullptr) {
                context.reportError("<column-class type=\"impedance\" urn=\"" + urn
                                    + "\"> is missing its 'numerator' or 'denominator' attribute");
                return false;
            }
            classes.impedances.emplace_back(numerator, denominator, takeColumns(groups, urn),
                                            attributeText(element, "impedance_name"));
        } else if (type == "potentiostat") {
            std::vector<ColumnHeader> columns = takeColumns(groups, urn);
            UserPolynomial polynomial = readPolynomialChildElement(element, potentiostatPolynomial, valid);
            if (!valid) {
                context.reportError("<column-class type=\"potentiostat\" urn=\"" + urn + "\"> has no valid <"
                                    + potentiostatPolynomial + ">");
                return false;
            }
            classes.potentiostats.push_back(PotentiostatDataHeader{urn, std::move(columns), std::move(polynomial)});
        }
    }
    return true;
}

// Hands out the parsed tracks in table order, as many as each object has
// columns.
class TrackDealer {
public:
    explicit TrackDealer(std::vector<std::vector<double>>& tracks) : tracks(tracks) {}

    std::vector<std::vector<double>> take(std::size_t count)
    {
        std::vector<std::vector<double>> taken;
        for (std::size_t c = 0; c < count && next < tracks.size(); ++c) {
            taken.push_back(std::move(tracks[next++]));
        }
        return taken;
    }

    template <typename Header>
    EisColumnGroups deal(const std::vector<Header>& headers)
    {
        EisColumnGroups groups;
        groups.reserve(headers.size());
        for (const Header& header : headers) {
            groups.push_back(take(columnsOf(header).size()));
        }
        return groups;
    }

private:
    std::vector<std::vector<double>>& tracks;
    std::size_t next = 0;
};

bool readWaveTable(const tinyxml2::XMLElement* csv, std::size_t path, std::uint64_t rows,
                   const ColumnClasses& classes, MXml::DeserializationContext& context,
                   std::vector<std::vector<double>>& waves)
{
    const std::string text = MXml::csvElementText(csv);
    if (context.formatVersion <= LAST_LEGACY_WAVE_VERSION) {
        const std::int64_t size = path < classes.legacyWaveSizes.size() ? classes.legacyWaveSizes[path] : 0;
        if (!MXml::Legacy::parseFixedSizeWaveTable(waves, text.c_str(), rows, static_cast<std::size_t>(size))) {
            context.reportError("the legacy wave table of sync path " + std::to_string(path) + " does not match "
                                + std::to_string(rows) + " rows of " + std::to_string(size) + " samples");
            return false;
        }
    } else {
        CsvParser parser(waves, text.c_str());
        if (!parser.parseWaveVariable()) {
            context.reportError("the wave table of sync path " + std::to_string(path)
                                + " is malformed for file format version " + std::to_string(context.formatVersion));
            return false;
        }
    }
    if (waves.size() > rows) {
        context.reportError("sync path " + std::to_string(path) + " carries " + std::to_string(waves.size())
                            + " waves but the dataset has only " + std::to_string(rows) + " rows");
        return false;
    }
    return true;
}

// The "column" elements of the data structure, grouped by their key, and
// how many there are.
struct DeclaredColumns {
    ColumnsByKey groups;
    std::uint64_t count = 0;
};

DeclaredColumns readDeclaredColumns(const tinyxml2::XMLElement* structure)
{
    DeclaredColumns declared;
    for (const tinyxml2::XMLElement* column = structure->FirstChildElement("column"); column != nullptr;
         column = column->NextSiblingElement("column")) {
        std::string urn = attributeText(column, "urn");
        declared.groups[urn].emplace_back(attributeText(column, "name"), attributeText(column, "unit"), urn);
        ++declared.count;
    }
    return declared;
}

// The summaries of the "sections" child with the job information of the
// first one and the rows they add up to; none, with the failure reported,
// when they cannot be read.
struct Sections {
    std::vector<DatasetInfo> summaries;
    JobInfo jobInfo;
    std::optional<std::uint64_t> rows;
};

std::optional<Sections> readSections(tinyxml2::XMLElement* element, MXml::DeserializationContext& context)
{
    tinyxml2::XMLElement* sectionsElement = element->FirstChildElement("sections");
    if (sectionsElement == nullptr) {
        context.reportError("AC <dataset> is missing its <sections> element");
        return std::nullopt;
    }
    Sections sections;
    sections.summaries = datasetInfoVectorFromSection(sectionsElement, context);
    if (context.error.has_value()) {
        return std::nullopt;
    }
    if (!sections.summaries.empty()) {
        sections.jobInfo = sections.summaries.front().jobInfo;
    }
    sections.rows = totalRowCount(sections.summaries);
    return sections;
}

// The last "csv" of type "data" and every "csv" of type "wave", in
// document order.
struct CsvTables {
    const tinyxml2::XMLElement* data = nullptr;
    std::vector<const tinyxml2::XMLElement*> waves;
};

CsvTables findCsvTables(const tinyxml2::XMLElement* element)
{
    CsvTables tables;
    for (const tinyxml2::XMLElement* csv = element->FirstChildElement("csv"); csv != nullptr;
         csv = csv->NextSiblingElement("csv")) {
        const std::string kind = attributeText(csv, "type");
        if (kind == "data") {
            tables.data = csv;
        } else if (kind == "wave") {
            tables.waves.push_back(csv);
        }
    }
    return tables;
}

// The tracks of every object, dealt out of the data table in table order.
struct DealtTracks {
    std::vector<std::vector<double>> meta;
    EisColumnGroups paths;
    EisColumnGroups impedances;
    EisColumnGroups asyncPaths;
    EisColumnGroups potentiostats;
};

// Every impedance measurement carries frequency, periods and time; a table
// with rows but without them is not taken for one. An empty result may have
// no meta columns at all.
std::optional<DealtTracks> dealTracks(std::vector<std::vector<double>>& tracks, std::size_t metaCount,
                                      std::uint64_t rows, const ColumnClasses& classes,
                                      MXml::DeserializationContext& context)
{
    if ((metaCount < 3 && rows != 0) || tracks.size() < metaCount) {
        context.reportError(
            "AC <dataset> does not contain the expected meta data columns (frequency, periods, time): found "
            + std::to_string(metaCount) + " declared and " + std::to_string(tracks.size()) + " parsed");
        return std::nullopt;
    }
    TrackDealer dealer(tracks);
    DealtTracks dealt;
    dealt.meta = dealer.take(metaCount);
    dealt.paths = dealer.deal(classes.paths);
    dealt.impedances = dealer.deal(classes.impedances);
    dealt.asyncPaths = dealer.deal(classes.asyncPaths);
    dealt.potentiostats = dealer.deal(classes.potentiostats);
    return dealt;
}

// One wave list per sync path, from the wave tables matched to the paths by
// position.
std::optional<EisColumnGroups> readWaveTables(const std::vector<const tinyxml2::XMLElement*>& tables,
                                              std::uint64_t rows, const ColumnClasses& classes,
                                              MXml::DeserializationContext& context)
{
    if (tables.size() != classes.paths.size()) {
        context.reportError("AC <dataset> declares " + std::to_string(classes.paths.size()) + " sync paths but carries "
                            + std::to_string(tables.size()) + " wave tables");
        return std::nullopt;
    }
    EisColumnGroups waves(classes.paths.size());
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (!readWaveTable(tables[i], i, rows, classes, context, waves[i])) {
            return std::nullopt;
        }
    }
    return waves;
}

} // namespace

std::shared_ptr<EisDataset> EisDataset::buildFromXmlElement(tinyxml2::XMLElement* element,
                                                            MXml::DeserializationContext& context)
{
    std::string type = attributeText(element, "job-type");
    std::string shortType = attributeText(element, "job-type-short");

    const tinyxml2::XMLElement* configuration = element->FirstChildElement("configuration");
    const tinyxml2::XMLElement* structure = element->FirstChildElement("data-structure");
    if (configuration == nullptr || structure == nullptr) {
        context.reportError("AC <dataset> is missing its <configuration> or <data-structure> element");
        return nullptr;
    }
    DeclaredColumns columns = readDeclaredColumns(structure);
    // The meta columns are the ones without a group key; no column class
    // can claim them.
    std::vector<ColumnHeader> metaColumns = takeColumns(columns.groups, "");

    ColumnClasses classes;
    if (!readColumnClasses(configuration, columns.groups, context, classes)) {
        return nullptr;
    }
    std::optional<Sections> sections = readSections(element, context);
    if (!sections) {
        return nullptr;
    }
    const std::uint64_t rows = sections->rows.value_or(std::numeric_limits<std::uint64_t>::max());

    const CsvTables tables = findCsvTables(element);
    if (tables.data == nullptr) {
        context.reportError("AC <dataset> has no <csv type=\"data\"> element");
        return nullptr;
    }
    std::vector<std::vector<double>> tracks;
    const std::string text = MXml::csvElementText(tables.data);
    if (!text.empty()) {
        auto table = MXml::readDeclaredTable("AC", text, {columns.count, sections->rows}, context);
        if (!table) {
            return nullptr;
        }
        tracks = std::move(*table);
    }
    std::optional<DealtTracks> dealt = dealTracks(tracks, metaColumns.size(), rows, classes, context);
    if (!dealt) {
        return nullptr;
    }
    std::optional<EisColumnGroups> waves = readWaveTables(tables.waves, rows, classes, context);
    if (!waves) {
        return nullptr;
    }

    auto dataset = std::make_shared<EisDataset>(
        LiveDataHeaderEis(std::move(type), std::move(shortType), std::move(metaColumns), std::move(classes.impedances),
                          std::move(classes.paths), std::move(classes.asyncPaths), std::move(classes.potentiostats)),
        std::move(dealt->impedances), std::move(dealt->paths), std::move(*waves), std::move(dealt->asyncPaths),
        std::move(dealt->potentiostats), std::move(dealt->meta), std::move(sections->jobInfo));
    if (sections->summaries.size() > 1) {
        dataset->includedDatasets = std::move(sections->summaries);
    }
    return dataset;
}
