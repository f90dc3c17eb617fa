#pragma once

#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/xml/deserialization_context.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

namespace MXml {

// The datasets of one measurement, DC and impedance mixed, in order, with the
// hardware information of the workstation that took them when known. The
// datasets are shared with the caller.
class Measurement : public XmlSerializable {
public:
    static constexpr const char* XML_ELEMENT_NAME = "marlek-measurement";

    void appendDataset(std::shared_ptr<DataSet> dataset);
    const std::vector<std::shared_ptr<DataSet>>& getDatasets() const;

    void setHardwareInfo(std::optional<HardwareInfo> info);
    const std::optional<HardwareInfo>& getHardwareInfo() const;

    // "marlek-measurement" holding "hardware-info" (when known), then one
    // "dataset" per dataset.
    void acceptSerializer(XmlSerializer& serializer) const override;
    // The first dataset's problem, named by its position.
    std::optional<std::string> readBackProblem() const override;

    // Null on failure, the reason in the context. Children other than
    // "hardware-info" and "dataset" are ignored.
    static std::shared_ptr<Measurement> buildFromXmlElement(tinyxml2::XMLElement* element,
                                                            DeserializationContext& context);

private:
    std::vector<std::shared_ptr<DataSet>> datasets;
    std::optional<HardwareInfo> hardwareInfo;
};

} // namespace MXml
