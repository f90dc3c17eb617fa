#pragma once
// Writing a record's "parameters" element and reading one back through the
// parameter object, as the job information does.

#include "support/xml_children.hpp"

#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Writes the record's "parameters" element as the document's root.
template <class P>
tinyxml2::XMLElement* writeParameters(tinyxml2::XMLDocument& document, const P& record)
{
    const SerializableParameterStruct<P> wrapped(record);
    MXml::XmlSerializer serializer{&document, nullptr};
    wrapped.acceptSerializer(serializer);
    if (serializer.element == nullptr) {
        throw std::logic_error("acceptSerializer produced no element");
    }
    document.InsertEndChild(serializer.element);
    return serializer.element;
}

template <class P>
P readParameters(tinyxml2::XMLElement* parameters)
{
    const auto object = SerializableParameterStruct<P>::fromXmlElement(parameters);
    const auto* typed = dynamic_cast<const SerializableParameterStruct<P>*>(object.get());
    if (typed == nullptr) {
        throw std::logic_error("fromXmlElement gave no parameter object of the record's type");
    }
    return typed->getRecord();
}

// Reads a "parameters" element given as text.
template <class P>
P readParametersText(const std::string& xml)
{
    tinyxml2::XMLDocument document;
    if (document.Parse(xml.c_str()) != tinyxml2::XML_SUCCESS) {
        throw std::invalid_argument("test XML does not parse: " + xml);
    }
    return readParameters<P>(document.RootElement());
}

template <class P>
P roundTrip(const P& record)
{
    tinyxml2::XMLDocument document;
    return readParameters<P>(writeParameters(document, record));
}

inline std::string childText(const tinyxml2::XMLElement* element, const char* name)
{
    const auto* child = element->FirstChildElement(name);
    if (child == nullptr) {
        return "<missing>";
    }
    const char* text = child->GetText();
    return text != nullptr ? text : "";
}
