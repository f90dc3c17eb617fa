#include "support/xml_print.hpp"

#include "marlek_link_json/xml/deserialization_context.hpp"
#include "marlek_link_json/xml/marlek_file_info.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <limits>
#include <string>

TEST(DeserializationContext, FirstReportedErrorWins)
{
    MXml::DeserializationContext context;
    EXPECT_EQ(context.formatVersion, 4u);
    EXPECT_EQ(context.fileInfo, MXml::MarlekFileInfo());
    EXPECT_FALSE(context.error.has_value());

    context.reportError("<section> is missing its required 'type' attribute");
    context.reportError("second");
    ASSERT_TRUE(context.error.has_value());
    EXPECT_EQ(context.error->getErrorCodeEnum(), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
    EXPECT_EQ(static_cast<std::uint64_t>(context.error->getErrorCodeEnum()), 0x20002u);
    EXPECT_EQ(context.error->getMessageFormatString(), "resource content invalid: {0}");
    ASSERT_EQ(context.error->getMessageParameters().size(), 1u);
    EXPECT_EQ(std::get<std::string>(context.error->getMessageParameters()[0]),
              "<section> is missing its required 'type' attribute");
}

TEST(MarlekFileInfo, WritesSixChildrenInOrderWithoutInsertingItself)
{
    tinyxml2::XMLDocument document;
    const MXml::MarlekFileInfo info("dataset", 4, "2024-01-02 03:04:05", "gen", "1.2", "");
    MXml::XmlSerializer serializer{&document, nullptr};
    info.acceptSerializer(serializer);
    ASSERT_NE(serializer.element, nullptr);
    EXPECT_EQ(document.FirstChild(), nullptr) << "the produced element stays detached";

    EXPECT_EQ(print(*serializer.element),
              "<marlek-fileinfo><type>dataset</type><file-version>4</file-version>"
              "<creation-timestamp>2024-01-02 03:04:05</creation-timestamp><generator>gen</generator>"
              "<generator-version>1.2</generator-version><comment></comment></marlek-fileinfo>");

    document.InsertEndChild(serializer.element);
    EXPECT_EQ(MXml::MarlekFileInfo::buildFromXmlElement(document.RootElement()), info);
}

struct VersionCase {
    const char* text; // null: no "file-version" element
    std::uint64_t expected;
};

class FileVersionText : public testing::TestWithParam<VersionCase> {};

TEST_P(FileVersionText, ReadsAsRoundedSaturatedNumber)
{
    const auto& c = GetParam();
    tinyxml2::XMLDocument document;
    auto* root = document.NewElement("marlek-fileinfo");
    document.InsertEndChild(root);
    if (c.text != nullptr) {
        root->InsertNewChildElement("file-version")->SetText(c.text);
    }
    EXPECT_EQ(MXml::MarlekFileInfo::buildFromXmlElement(root).file_version, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FileVersionText,
    testing::Values(VersionCase{"4", 4}, VersionCase{"4.6", 5}, VersionCase{"4.5", 5}, VersionCase{"0.4", 0},
                    VersionCase{"-1", 0}, VersionCase{"abc", 0}, VersionCase{"4x", 4}, VersionCase{"", 0},
                    VersionCase{nullptr, 0}, VersionCase{"nan", 0}, VersionCase{"1e-400", 0},
                    VersionCase{"inf", std::numeric_limits<std::uint64_t>::max()},
                    VersionCase{"1e300", std::numeric_limits<std::uint64_t>::max()},
                    VersionCase{"1e400", 0},
                    VersionCase{"18446744073709551616", std::numeric_limits<std::uint64_t>::max()},
                    VersionCase{"9007199254740992", 9007199254740992ull},
                    // The number must start the text, in general notation.
                    VersionCase{"+4", 0}, VersionCase{" 4", 0}, VersionCase{"\t4", 0}, VersionCase{"0x4", 0},
                    VersionCase{"4e0", 4}, VersionCase{".4e1", 4}));

TEST(MarlekFileInfo, MissingChildrenReadAsEmpty)
{
    tinyxml2::XMLDocument document;
    auto* root = document.NewElement("marlek-fileinfo");
    root->InsertNewChildElement("generator")->SetText("g");
    const auto info = MXml::MarlekFileInfo::buildFromXmlElement(root);
    EXPECT_EQ(info.generator, "g");
    EXPECT_EQ(info.type, "");
    EXPECT_EQ(info.comment, "");
    EXPECT_EQ(info.file_version, MXml::MarlekFileInfo::INVALID_FILE_VERSION);
}
