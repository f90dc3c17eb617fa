#include "marlek_link_json/jobs/dataset/dataset_sections_xml.hpp"

#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"
#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/xml/xml_number_text.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

#include <limits>

void appendSectionsElement(const DataSet* dataset, tinyxml2::XMLElement* datasetElement)
{
    tinyxml2::XMLElement* sections = datasetElement->InsertNewChildElement("sections");
    const std::vector<DatasetInfo>& included = dataset->getIncludedDatasets();
    if (included.empty()) {
        appendSectionElement(sections, dataset->getInfo());
        return;
    }
    for (const DatasetInfo& info : included) {
        appendSectionElement(sections, info);
    }
}

void appendSectionElement(tinyxml2::XMLElement* sections, const DatasetInfo& info)
{
    tinyxml2::XMLElement* section = sections->InsertNewChildElement("section");
    section->SetAttribute("type", info.type == DatasetType::AC ? "AC" : "DC");
    MXml::setAttribute(section, "job-type-short", info.job_type_short);
    MXml::setAttribute(section, "job-type", info.job_type);
    section->SetAttribute("length", info.num_rows);
    MXml::setDoubleAttribute(section, "time-start", info.first_time_value);
    MXml::appendJobinfoElement(info.jobInfo, section);
}

std::optional<std::string> readRequiredSectionAttribute(MXml::DeserializationContext& context,
                                                        const tinyxml2::XMLElement* section, const char* name)
{
    const char* value = section->Attribute(name);
    if (value == nullptr) {
        context.reportError(std::string("<section> is missing its required '") + name + "' attribute");
        return std::nullopt;
    }
    return std::string(value);
}

std::vector<DatasetInfo> datasetInfoVectorFromSection(tinyxml2::XMLElement* sections,
                                                      MXml::DeserializationContext& context)
{
    std::vector<DatasetInfo> infos;
    for (tinyxml2::XMLElement* section = sections->FirstChildElement("section"); section != nullptr;
         section = section->NextSiblingElement("section")) {
        DatasetInfo& info = infos.emplace_back();
        const auto type = readRequiredSectionAttribute(context, section, "type");
        if (!type) {
            return {};
        }
        info.type = *type == "AC" ? DatasetType::AC : DatasetType::DC;
        const auto shortType = readRequiredSectionAttribute(context, section, "job-type-short");
        const auto jobType = readRequiredSectionAttribute(context, section, "job-type");
        const auto length = readRequiredSectionAttribute(context, section, "length");
        const auto timeStart = readRequiredSectionAttribute(context, section, "time-start");
        if (!shortType || !jobType || !length || !timeStart) {
            return {};
        }
        // Each attribute is read up to the end of its number, which starts
        // the text: no blanks, no "+".
        const auto rowCount = numtext::parseLeadingInteger<std::uint64_t>(*length);
        if (!rowCount) {
            context.reportError("<section> attribute 'length' is not a number: '" + *length + "'");
            return {};
        }
        info.num_rows = *rowCount;
        const auto firstTime = numtext::parseDoublePrefix(*timeStart);
        if (!firstTime) {
            context.reportError("<section> attribute 'time-start' is not a number: '" + *timeStart + "'");
            return {};
        }
        info.first_time_value = *firstTime;
        tinyxml2::XMLElement* jobInfo = section->FirstChildElement("job-info");
        if (jobInfo == nullptr) {
            context.reportError("<section> is missing its <job-info> element");
            return {};
        }
        info.job_type_short = *shortType;
        info.job_type = *jobType;
        info.jobInfo = MXml::jobInfoFromElement(jobInfo);
    }
    return infos;
}

std::optional<std::uint64_t> totalRowCount(const std::vector<DatasetInfo>& sections)
{
    std::uint64_t total = 0;
    for (const DatasetInfo& info : sections) {
        if (info.num_rows > std::numeric_limits<std::uint64_t>::max() - total) {
            return std::nullopt;
        }
        total += info.num_rows;
    }
    return total;
}
