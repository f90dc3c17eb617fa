#pragma once

#include "marlek_link_json/xml/deserialization_context.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>
#include <string>

namespace xml_dataset_test {

// The element an object writes, inserted into a fresh document.
struct Written {
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* element = nullptr;

    std::string text() const
    {
        tinyxml2::XMLPrinter printer;
        document.Print(&printer);
        return printer.CStr();
    }
};

inline std::unique_ptr<Written> write(const MXml::XmlSerializable& object)
{
    auto written = std::make_unique<Written>();
    MXml::XmlSerializer serializer{&written->document, nullptr};
    object.acceptSerializer(serializer);
    written->document.InsertEndChild(serializer.element);
    written->element = serializer.element;
    return written;
}

// The concatenated text of the first "csv" child of the given type.
inline std::string csvText(const tinyxml2::XMLElement* dataset, const std::string& type, int skip = 0)
{
    for (const tinyxml2::XMLElement* csv = dataset->FirstChildElement("csv"); csv != nullptr;
         csv = csv->NextSiblingElement("csv")) {
        const char* kind = csv->Attribute("type");
        if (kind != nullptr && kind == type && skip-- == 0) {
            std::string text;
            for (const tinyxml2::XMLNode* node = csv->FirstChild(); node != nullptr; node = node->NextSibling()) {
                text += node->Value();
            }
            return text;
        }
    }
    return "<none>";
}

// A parsed fixture whose root element is read.
struct Fixture {
    explicit Fixture(const std::string& xml)
    {
        EXPECT_EQ(document.Parse(xml.c_str()), tinyxml2::XML_SUCCESS) << xml;
    }
    tinyxml2::XMLElement* root() { return document.RootElement(); }

    tinyxml2::XMLDocument document;
};

inline std::string reportedMessage(const MXml::DeserializationContext& context)
{
    if (!context.error.has_value() || context.error->getMessageParameters().size() != 1) {
        return "<no error>";
    }
    return std::get<std::string>(context.error->getMessageParameters()[0]);
}

inline std::string section(const std::string& type, const std::string& length, const std::string& jobId = "j1",
                           const std::string& timeStart = "0")
{
    return "<section type=\"" + type + "\" job-type-short=\"S\" job-type=\"T\" length=\"" + length
           + "\" time-start=\"" + timeStart + "\"><job-info><job-id>" + jobId + "</job-id></job-info></section>";
}

} // namespace xml_dataset_test
