#include "marlek_link_json/jobs/control/hardware_info/hardware_info_xml.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/xml/xml_number_text.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <boost/describe/members.hpp>
#include <boost/describe/modifiers.hpp>
#include <boost/mp11/algorithm.hpp>
#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

template <typename T>
using Members = boost::describe::describe_members<T, boost::describe::mod_public>;

// "paths" holds "path" items, "compliance_ranges" holds "compliance_range".
std::string itemName(const char* container)
{
    std::string name(container);
    if (!name.empty()) {
        name.pop_back();
    }
    return name;
}

// Writing: scalar fields become attributes, lists containers, the
// workstation record a child element.

void writeMember(XMLElement* element, const char* name, const std::string& value, XMLDocument&)
{
    MXml::setAttribute(element, name, value);
}

void writeMember(XMLElement* element, const char* name, double value, XMLDocument&)
{
    element->SetAttribute(name, numtext::shortest(value).c_str());
}

void writeMember(XMLElement* element, const char* name, bool value, XMLDocument&)
{
    element->SetAttribute(name, value ? "true" : "false");
}

void writeMember(XMLElement* element, const char* name, std::int32_t value, XMLDocument&)
{
    element->SetAttribute(name, std::to_string(value).c_str());
}

void writeMember(XMLElement* element, const char* name, const WorkstationInfo& value, XMLDocument& doc)
{
    element->InsertEndChild(MXml::described_object_to_element(value, name, doc));
}

template <typename T>
void writeRecord(XMLElement* element, const T& record, XMLDocument& doc);

template <typename T>
void writeMember(XMLElement* element, const char* name, const std::vector<T>& items, XMLDocument& doc)
{
    auto* container = doc.NewElement(name);
    const std::string item = itemName(name);
    for (const auto& entry : items) {
        auto* child = doc.NewElement(item.c_str());
        writeRecord(child, entry, doc);
        container->InsertEndChild(child);
    }
    element->InsertEndChild(container);
}

template <typename T>
void writeRecord(XMLElement* element, const T& record, XMLDocument& doc)
{
    boost::mp11::mp_for_each<Members<T>>(
        [&](auto member) { writeMember(element, member.name, record.*member.pointer, doc); });
}

// Reading: text attributes and containers are required, numbers and flags
// optional. A number or flag whose text does not convert keeps its value.
// Each reader says whether its required part was there.

bool readMember(const XMLElement& element, const char* name, std::string& target)
{
    const char* value = element.Attribute(name);
    if (value == nullptr) {
        return false;
    }
    target = value;
    return true;
}

bool readMember(const XMLElement& element, const char* name, double& target)
{
    if (const auto value = MXml::doubleAttribute(element, name)) {
        target = *value;
    }
    return true;
}

bool readMember(const XMLElement& element, const char* name, bool& target)
{
    bool value = false;
    if (element.QueryBoolAttribute(name, &value) == tinyxml2::XML_SUCCESS) {
        target = value;
    }
    return true;
}

// The low 32 bits of the 64-bit reading, as files of other writers hold it.
bool readMember(const XMLElement& element, const char* name, std::int32_t& target)
{
    std::int64_t value = 0;
    if (element.QueryInt64Attribute(name, &value) == tinyxml2::XML_SUCCESS) {
        target = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
    }
    return true;
}

bool readWorkstation(const XMLElement& element, WorkstationInfo& target);

bool readMember(const XMLElement& element, const char* name, WorkstationInfo& target)
{
    const auto* child = element.FirstChildElement(name);
    return child != nullptr && readWorkstation(*child, target);
}

template <typename T>
bool readRecord(const XMLElement& element, T& record);

// The target list is replaced only when the container is there and every
// item reads; items of any other name are skipped.
template <typename T>
bool readMember(const XMLElement& element, const char* name, std::vector<T>& target)
{
    const auto* container = element.FirstChildElement(name);
    if (container == nullptr) {
        return false;
    }
    const std::string item = itemName(name);
    std::vector<T> items;
    for (const auto* child = container->FirstChildElement(item.c_str()); child != nullptr;
         child = child->NextSiblingElement(item.c_str())) {
        T entry{};
        if (!readRecord(*child, entry)) {
            return false;
        }
        items.push_back(std::move(entry));
    }
    target = std::move(items);
    return true;
}

// Every field is read even after a missing one; the record counts as read
// only when nothing required was missing.
template <typename T>
bool readRecord(const XMLElement& element, T& record)
{
    bool complete = true;
    boost::mp11::mp_for_each<Members<T>>([&](auto member) {
        complete = readMember(element, member.name, record.*member.pointer) && complete;
    });
    return complete;
}

const char* modeName(WorkstationModeEnum mode)
{
    switch (mode) {
    case WorkstationModeEnum::RECOVERY:
        return "RECOVERY";
    case WorkstationModeEnum::FAILSAFE:
        return "FAILSAFE";
    case WorkstationModeEnum::EMULATION:
        return "EMULATION";
    default:
        return "NORMAL";
    }
}

WorkstationModeEnum modeFromName(const char* name)
{
    const std::string_view text = name != nullptr ? name : "";
    if (text == "RECOVERY") {
        return WorkstationModeEnum::RECOVERY;
    }
    if (text == "FAILSAFE") {
        return WorkstationModeEnum::FAILSAFE;
    }
    if (text == "EMULATION") {
        return WorkstationModeEnum::EMULATION;
    }
    return WorkstationModeEnum::NORMAL;
}

std::string textOrEmpty(const XMLElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value != nullptr ? value : "";
}

// Every attribute is optional; the record is always read.
bool readWorkstation(const XMLElement& element, WorkstationInfo& target)
{
    WorkstationInfo info;
    std::uint64_t version = 0;
    if (element.QueryUnsigned64Attribute("protocol_version", &version) == tinyxml2::XML_SUCCESS) {
        info.protocol_version = version;
    }
    info.serial_number = textOrEmpty(element, "serial_number");
    info.model_name = textOrEmpty(element, "model_name");
    info.firmware_version = textOrEmpty(element, "firmware_version");
    info.firmware_build_id = textOrEmpty(element, "firmware_build_id");
    info.cpu_card_uuid = textOrEmpty(element, "cpu_card_uuid");
    info.system_mac = textOrEmpty(element, "system_mac");
    info.system_name = textOrEmpty(element, "system_name");
    info.mode = modeFromName(element.Attribute("mode"));
    target = std::move(info);
    return true;
}

} // namespace

namespace MXml {

template <>
XMLElement* described_object_to_element<WorkstationInfo>(const WorkstationInfo& record, const char* name,
                                                          XMLDocument& doc)
{
    auto* element = doc.NewElement(name);
    element->SetAttribute("protocol_version", std::to_string(record.protocol_version).c_str());
    MXml::setAttribute(element, "serial_number", record.serial_number);
    MXml::setAttribute(element, "model_name", record.model_name);
    MXml::setAttribute(element, "firmware_version", record.firmware_version);
    MXml::setAttribute(element, "firmware_build_id", record.firmware_build_id);
    MXml::setAttribute(element, "cpu_card_uuid", record.cpu_card_uuid);
    MXml::setAttribute(element, "system_mac", record.system_mac);
    MXml::setAttribute(element, "system_name", record.system_name);
    element->SetAttribute("mode", modeName(record.mode));
    return element;
}

template <>
bool described_object_from_element<WorkstationInfo>(WorkstationInfo& out, const char* name, XMLElement* parent)
{
    if (parent == nullptr) {
        return false;
    }
    const XMLElement* element = name != nullptr ? parent->FirstChildElement(name) : parent;
    return element != nullptr && readWorkstation(*element, out);
}

XMLElement* hardwareInfoToXmlNode(const HardwareInfo& info, XMLDocument& doc)
{
    auto* element = doc.NewElement("hardware-info");
    writeRecord(element, info, doc);
    return element;
}

bool hardwareInfoFromXmlNode(HardwareInfo& info, XMLElement* element)
{
    return element != nullptr && readRecord(*element, info);
}

} // namespace MXml
