#pragma once

#include "marlek_link_json/xml/deserialization_context.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <memory>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

namespace MXml {

// The reader of one kind of element, as the importer looks it up by the
// element's name. Null on failure, the reason in the context.
class AbstractXmlDeserializer {
public:
    virtual ~AbstractXmlDeserializer() = default;
    virtual std::shared_ptr<XmlSerializable> deserialize(tinyxml2::XMLElement* element,
                                                         DeserializationContext& context) const = 0;
};

// The reader of any type with a static buildFromXmlElement.
template <typename T>
class XmlDeserializer : public AbstractXmlDeserializer {
public:
    std::shared_ptr<XmlSerializable> deserialize(tinyxml2::XMLElement* element,
                                                 DeserializationContext& context) const override
    {
        return T::buildFromXmlElement(element, context);
    }
};

} // namespace MXml
