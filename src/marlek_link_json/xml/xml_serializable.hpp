#pragma once

#include <optional>
#include <string>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

namespace MXml {

// The state of one visit: the document the visited object creates its nodes
// in, and the element it produced. The document owns every node, also the
// ones not yet inserted anywhere.
struct XmlSerializer {
    tinyxml2::XMLDocument* document = nullptr;
    tinyxml2::XMLElement* element = nullptr;
};

// An object that writes itself as one XML element. It creates the element in
// the serializer's document and hands it back through the serializer without
// inserting it: only the caller knows where it belongs.
class XmlSerializable {
public:
    virtual ~XmlSerializable() = default;
    virtual void acceptSerializer(XmlSerializer& serializer) const = 0;
    // Why the element the object writes would not read back as the same
    // object; none when it would. The exporter refuses such an object rather
    // than save a file its own importer refuses or changes.
    virtual std::optional<std::string> readBackProblem() const { return std::nullopt; }

protected:
    XmlSerializable() = default;
    XmlSerializable(const XmlSerializable&) = default;
    XmlSerializable(XmlSerializable&&) = default;
    XmlSerializable& operator=(const XmlSerializable&) = default;
    XmlSerializable& operator=(XmlSerializable&&) = default;
};

} // namespace MXml
