#include "marlek_link_json/xml/xml_text_printer.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

namespace {

std::string printed(const tinyxml2::XMLDocument& document, bool compact)
{
    MXml::XmlTextPrinter printer(compact);
    document.Print(&printer);
    return printer.CStr();
}

// The texts of a parsed "e" element: its attribute, its first "t" child's
// text and the concatenated sections of its "c" child.
struct ReadBack {
    std::string attribute;
    std::string text;
    std::string sections;
};

ReadBack readBack(const std::string& xml)
{
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    EXPECT_EQ(document.Parse(xml.c_str(), xml.size()), tinyxml2::XML_SUCCESS) << xml;
    ReadBack read;
    const tinyxml2::XMLElement* root = document.RootElement();
    if (root == nullptr) {
        return read;
    }
    read.attribute = root->Attribute("a") != nullptr ? root->Attribute("a") : "<none>";
    const char* text = root->FirstChildElement("t")->GetText();
    read.text = text != nullptr ? text : "";
    for (const tinyxml2::XMLNode* node = root->FirstChildElement("c")->FirstChild(); node != nullptr;
         node = node->NextSibling()) {
        read.sections += node->Value();
    }
    return read;
}

TEST(XmlTextPrinter, EveryTextReadsBackUnchanged)
{
    const std::vector<std::string> texts = {"plain",      "line\rend",   "\r\n",     "\r",        "tab\there",
                                            "two\nlines", " ",           " \t\n",    "]]>",       "a]]>b]]>c",
                                            "]]]>",       "]]",          "x]]>\ry",  "<&>\"'",    "&#13;",
                                            "\xCE\xA9",   "<![CDATA[",   ""};
    for (const std::string& value : texts) {
        for (const bool compact : {true, false}) {
            SCOPED_TRACE(testing::PrintToString(value) + (compact ? " compact" : " indented"));
            tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
            tinyxml2::XMLElement* root = document.NewElement("e");
            document.InsertEndChild(root);
            root->SetAttribute("a", value.c_str());
            root->InsertNewChildElement("t")->SetText(value.c_str());
            root->InsertNewChildElement("c")->InsertNewText(value.c_str())->SetCData(true);

            const std::string xml = printed(document, compact);
            const ReadBack read = readBack(xml);
            EXPECT_EQ(read.attribute, value) << xml;
            EXPECT_EQ(read.text, value) << xml;
            EXPECT_EQ(read.sections, value) << xml;
        }
    }
}

TEST(XmlTextPrinter, SplitsSectionsAndWritesReferences)
{
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    tinyxml2::XMLElement* root = document.NewElement("e");
    document.InsertEndChild(root);
    root->SetAttribute("a", "1\r\n2\t3");
    root->InsertNewChildElement("t")->SetText("x\r\ny");
    root->InsertNewChildElement("b")->SetText(" ");
    root->InsertNewChildElement("c")->InsertNewText("u]]>v\rw")->SetCData(true);
    EXPECT_EQ(printed(document, true), "<e a=\"1&#13;&#10;2&#9;3\"><t>x&#13;\ny</t><b>&#32;</b>"
                                       "<c><![CDATA[u]]]]><![CDATA[>v]]>&#13;<![CDATA[w]]></c></e>");
}

} // namespace
