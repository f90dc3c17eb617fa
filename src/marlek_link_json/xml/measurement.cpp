#include "marlek_link_json/xml/measurement.hpp"

#include "marlek_link_json/jobs/control/hardware_info/hardware_info_xml.hpp"

#include <tinyxml2.h>

#include <string>
#include <utility>

namespace MXml {

namespace {

constexpr const char* HARDWARE_INFO_ELEMENT = "hardware-info";
constexpr const char* DATASET_ELEMENT = "dataset";

} // namespace

void Measurement::appendDataset(std::shared_ptr<DataSet> dataset)
{
    datasets.push_back(std::move(dataset));
}

const std::vector<std::shared_ptr<DataSet>>& Measurement::getDatasets() const
{
    return datasets;
}

void Measurement::setHardwareInfo(std::optional<HardwareInfo> info)
{
    hardwareInfo = std::move(info);
}

const std::optional<HardwareInfo>& Measurement::getHardwareInfo() const
{
    return hardwareInfo;
}

std::optional<std::string> Measurement::readBackProblem() const
{
    for (std::size_t i = 0; i < datasets.size(); ++i) {
        if (auto problem = datasets[i] != nullptr ? datasets[i]->readBackProblem() : std::nullopt) {
            return "dataset #" + std::to_string(i) + ": " + *problem;
        }
    }
    return std::nullopt;
}

void Measurement::acceptSerializer(XmlSerializer& serializer) const
{
    tinyxml2::XMLElement* element = serializer.document->NewElement(XML_ELEMENT_NAME);
    if (hardwareInfo.has_value()) {
        element->InsertEndChild(hardwareInfoToXmlNode(HardwareInfo(*hardwareInfo), *serializer.document));
    }
    for (const auto& dataset : datasets) {
        XmlSerializer child{serializer.document, nullptr};
        static_cast<const XmlSerializable&>(*dataset).acceptSerializer(child);
        element->InsertEndChild(child.element);
    }
    serializer.element = element;
}

std::shared_ptr<Measurement> Measurement::buildFromXmlElement(tinyxml2::XMLElement* element,
                                                              DeserializationContext& context)
{
    auto measurement = std::make_shared<Measurement>();
    if (tinyxml2::XMLElement* hardware = element->FirstChildElement(HARDWARE_INFO_ELEMENT)) {
        HardwareInfo info;
        if (!hardwareInfoFromXmlNode(info, hardware)) {
            context.reportError("<hardware-info> is present but could not be parsed");
            return nullptr;
        }
        measurement->hardwareInfo = std::move(info);
    }
    std::size_t count = 0;
    for (tinyxml2::XMLElement* child = element->FirstChildElement(DATASET_ELEMENT); child != nullptr;
         child = child->NextSiblingElement(DATASET_ELEMENT), ++count) {
        std::shared_ptr<DataSet> dataset = DataSet::buildFromXmlElement(child, context);
        if (!dataset) {
            if (!context.error.has_value()) {
                context.reportError("<dataset> #" + std::to_string(count) + " could not be parsed");
            }
            return nullptr;
        }
        measurement->datasets.push_back(std::move(dataset));
    }
    return measurement;
}

} // namespace MXml
