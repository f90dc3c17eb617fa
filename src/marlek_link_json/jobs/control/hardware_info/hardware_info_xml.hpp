#pragma once

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

// The "hardware-info" element of a measurement file: every record is one
// element whose scalar fields are attributes named like the fields, every
// list a container named like the field holding one item per entry (the
// container's name without its last letter), the workstation record a child.
namespace MXml {

// Creates the element in `doc` and returns it unattached; the caller inserts
// it where it belongs.
tinyxml2::XMLElement* hardwareInfoToXmlNode(const HardwareInfo& info, tinyxml2::XMLDocument& doc);

// Reads the children of the "hardware-info" element into `info`, part by
// part (workstation, paths, potentiostats, cards); a part that fails keeps
// its old contents while the others are still read. True only when all four
// parts were read. A caller that needs all or nothing reads into a fresh
// record.
bool hardwareInfoFromXmlNode(HardwareInfo& info, tinyxml2::XMLElement* element);

// An element `name` carrying the record's fields as attributes; unattached.
template <typename T>
tinyxml2::XMLElement* described_object_to_element(const T& record, const char* name, tinyxml2::XMLDocument& doc);

// Reads the first child `name` of `parent` (or `parent` itself when `name`
// is null) into `out`; false when there is no such element.
template <typename T>
bool described_object_from_element(T& out, const char* name, tinyxml2::XMLElement* parent);

template <>
tinyxml2::XMLElement* described_object_to_element<WorkstationInfo>(const WorkstationInfo& record, const char* name,
                                                                    tinyxml2::XMLDocument& doc);

template <>
bool described_object_from_element<WorkstationInfo>(WorkstationInfo& out, const char* name,
                                                    tinyxml2::XMLElement* parent);

} // namespace MXml
