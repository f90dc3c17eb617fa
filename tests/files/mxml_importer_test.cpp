#include "file_test_support.hpp"
#include "xml_fixtures.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/mxml_importer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace file_test;

namespace {

using Values = std::vector<double>;

const MXml::MXmlImporter importer;

std::shared_ptr<DcDataset> dcOf(const std::shared_ptr<MXml::XmlSerializable>& object)
{
    return std::dynamic_pointer_cast<DcDataset>(object);
}

void expectRefused(const std::expected<MXml::ImportedFile, ErrorObject>& result, ErrorCodeEnum code,
                   const std::string& text)
{
    ASSERT_FALSE(result.has_value()) << text;
    EXPECT_EQ(result.error().getErrorCodeEnum(), code) << textOf(result.error());
    EXPECT_EQ(textOf(result.error()), text);
}

} // namespace

TEST(MXmlImporter, ReadsEveryVersionFromOneToFour)
{
    for (const char* version : {"1", "2", "3", "4", "3.6", "4 "}) {
        const auto imported = importer.importFromMemory(standaloneFile("dataset", version, dcDatasetElement()));
        ASSERT_TRUE(imported.has_value()) << version << ": " << textOf(imported.error());
        const auto dc = dcOf(imported->object);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(dc->getTracks(), (std::vector<Values>{{0, 1}, {0.5, -0.25}}));
        EXPECT_EQ(dc->getJobInfo().jobId, "cv-7");
        EXPECT_EQ(imported->file_info, MXml::MarlekFileInfo("dataset", std::stoull(version) + (version[1] == '.'),
                                                            "2026-01-02T03:04:05.250000", "by hand", "0.9",
                                                            "fixture"));
    }
}

TEST(MXmlImporter, RefusesVersionsOutsideOneToFour)
{
    const std::string range = " which is not supported (supported: 1..4)";
    const std::string largest = std::to_string(UINT64_MAX);
    for (const auto& [text, reads] : std::vector<std::pair<std::string, std::string>>{
             {"0", "0"}, {"5", "5"}, {"4.6", "5"}, {"0.4", "0"}, {"-1", "0"}, {"four", "0"}, {"", "0"},
             {"inf", largest}, {"1e30", largest}, {"18446744073709551616", largest}, {"nan", "0"}}) {
        expectRefused(importer.importFromMemory(standaloneFile("dataset", text, dcDatasetElement())),
                      ErrorCodeEnum::FILE_VERSION_NOT_SUPPORTED,
                      "file '<memory>' has format version " + reads + range);
    }
}

TEST(MXmlImporter, OlderVersionsReadTheirOwnLayouts)
{
    for (const char* version : {"1", "2"}) {
        const auto imported = importer.importFromMemory(
            standaloneFile("marlek-measurement", version, "<marlek-measurement>" + legacyEisDatasetElement()
                                                              + dcDatasetElement() + "</marlek-measurement>"));
        ASSERT_TRUE(imported.has_value()) << version << ": " << textOf(imported.error());
        const auto measurement = std::dynamic_pointer_cast<MXml::Measurement>(imported->object);
        ASSERT_NE(measurement, nullptr);
        ASSERT_EQ(measurement->getDatasets().size(), 2u);
        const auto eis = std::dynamic_pointer_cast<EisDataset>(measurement->getDatasets()[0]);
        ASSERT_NE(eis, nullptr);
        EXPECT_EQ(eis->getPathWaves(0), (std::vector<Values>{{1, 2}}));
        EXPECT_EQ(eis->getPotentiostatsDataHeaders()[0].polynomial.coefficients, (Values{1, 3}));
        EXPECT_NE(std::dynamic_pointer_cast<DcDataset>(measurement->getDatasets()[1]), nullptr);
        EXPECT_FALSE(measurement->getHardwareInfo().has_value());
    }
}

TEST(MXmlImporter, ReportsTheFirstFaultInCheckOrder)
{
    const auto invalid = ErrorCodeEnum::RESOURCE_CONTENT_INVALID;
    const std::string prefix = "resource content invalid: ";
    struct Case {
        std::string xml;
        ErrorCodeEnum code;
        std::string text;
    };
    const Case cases[] = {
        {"<dataset><unclosed></dataset>", invalid, prefix + "malformed XML: "},
        {"", invalid, prefix + "malformed XML: "},
        {"<!-- only a comment -->", invalid, prefix + "document has no root element"},
        {dcDatasetElement(), invalid,
         prefix + "no <marlek-fileinfo> element found, not a standalone Marlek XML file"},
        {standaloneFile("dataset", "4", dcDatasetElement(), "marlek-measurement"), invalid,
         prefix + "root element <dataset> does not match the declared type 'marlek-measurement'"},
        {standaloneFile("dataset", "5", ""), ErrorCodeEnum::FILE_VERSION_NOT_SUPPORTED,
         "file '<memory>' has format version 5 which is not supported (supported: 1..4)"},
        {standaloneFile("spectrum", "4", "<spectrum/>"), ErrorCodeEnum::TYPE_NAME_UNKNOWN,
         "xml file of type name spectrum unknown"},
        {standaloneFile("dataset", "4", "<other/>"), invalid,
         prefix + "no <dataset> payload element inside the file"},
        {standaloneFile("dataset", "4", "<dataset/>"), invalid,
         prefix + "<dataset> is missing its required 'type' attribute"},
        {standaloneFile("marlek-measurement", "4",
                        "<marlek-measurement>" + dcDatasetElement() + "<dataset type=\"DC\"/></marlek-measurement>"),
         invalid, prefix + "DC <dataset> is missing its <data-structure> element"},
        {standaloneFile("marlek-measurement", "4",
                        "<marlek-measurement><hardware-info/>" + dcDatasetElement() + "</marlek-measurement>"),
         invalid, prefix + "<hardware-info> is present but could not be parsed"},
    };
    for (const auto& c : cases) {
        const auto result = importer.importFromMemory(c.xml);
        ASSERT_FALSE(result.has_value()) << c.xml;
        EXPECT_EQ(result.error().getErrorCodeEnum(), c.code) << textOf(result.error());
        EXPECT_TRUE(textOf(result.error()).starts_with(c.text)) << textOf(result.error());
    }
}

TEST(MXmlImporter, ReadsMeasurementsWithoutDatasets)
{
    const auto imported = importer.importFromMemory(
        standaloneFile("marlek-measurement", "4", "<marlek-measurement><note/></marlek-measurement>"));
    ASSERT_TRUE(imported.has_value());
    const auto measurement = std::dynamic_pointer_cast<MXml::Measurement>(imported->object);
    ASSERT_NE(measurement, nullptr);
    EXPECT_TRUE(measurement->getDatasets().empty());
}

TEST(MXmlImporter, DeserializesBareElements)
{
    const auto dataset = importer.deserialize(dcDatasetElement("bare"));
    ASSERT_TRUE(dataset.has_value()) << textOf(dataset.error());
    ASSERT_NE(dcOf(*dataset), nullptr);
    EXPECT_EQ(dcOf(*dataset)->getJobInfo().jobId, "bare");

    const auto unknown = importer.deserialize("<spectrum/>");
    ASSERT_FALSE(unknown.has_value());
    EXPECT_EQ(unknown.error(), ErrorObject(ErrorCodeEnum::TYPE_NAME_UNKNOWN, "{0} of type name {1} unknown",
                                           "xml element", "spectrum"));
    const auto broken = importer.deserialize("<dataset type=\"dc\"/>");
    ASSERT_FALSE(broken.has_value());
    EXPECT_EQ(textOf(broken.error()), "resource content invalid: <dataset type=\"dc\"> is not a known dataset type "
                                      "(expected \"AC\" or \"DC\")");
}

TEST(MXmlImporter, ReadsTheFileInfoBlockWithoutJudgingIt)
{
    const auto info = importer.readFileInfoFromMemory(standaloneFile("dataset", "9", "<x/>", "whatever"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->type, "whatever");
    EXPECT_EQ(info->file_version, 9u);
    const auto none = importer.readFileInfoFromMemory("<dataset/>");
    ASSERT_FALSE(none.has_value());
    EXPECT_EQ(textOf(none.error()),
              "resource content invalid: no <marlek-fileinfo> element found, not a standalone Marlek XML file");
    EXPECT_EQ(MXml::MXmlImporter::makeTypeMismatchError(),
              ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                          "imported object type does not match the requested type"));
}

TEST(MXmlImporter, ReadsFilesAndReportsFileFaults)
{
    TempFolder folder;
    const auto good = folder / "v2.xml";
    writeFile(good, standaloneFile("dataset", "2", dcDatasetElement()));
    const auto imported = importer.importFromFile(good);
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    EXPECT_NE(dcOf(imported->object), nullptr);

    const auto newer = folder / "v5.xml";
    writeFile(newer, standaloneFile("dataset", "5", dcDatasetElement()));
    expectRefused(importer.importFromFile(newer), ErrorCodeEnum::FILE_VERSION_NOT_SUPPORTED,
                  "file '" + newer.string() + "' has format version 5 which is not supported (supported: 1..4)");
    const auto info = importer.readFileInfo(newer);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->file_version, 5u);

    const auto empty = folder / "empty.xml";
    writeFile(empty, "");
    const auto missing = folder / "missing.xml";
    for (const auto& [path, code, text] : {
             std::tuple{empty, ErrorCodeEnum::FILE_IS_EMPTY, "file is empty: '" + empty.string() + "'"},
             std::tuple{missing, ErrorCodeEnum::FILE_NOT_FOUND, "file not found: '" + missing.string() + "'"},
             std::tuple{folder.path(), ErrorCodeEnum::FILE_NOT_FOUND,
                        "file not found: '" + folder.path().string() + "'"},
         }) {
        expectRefused(importer.importFromFile(path), code, text);
        const auto noInfo = importer.readFileInfo(path);
        ASSERT_FALSE(noInfo.has_value());
        EXPECT_EQ(textOf(noInfo.error()), text);
    }
}

TEST(MXmlImporter, FileInfoMustStartWithinTheFirst64KiB)
{
    TempFolder folder;
    const auto late = folder / "late.xml";
    std::string content = standaloneFile("dataset", "4", dcDatasetElement());
    content.insert(content.find("<marlek-fileinfo>"), "<!-- " + std::string(70000, 'x') + " -->");
    writeFile(late, content);

    EXPECT_TRUE(importer.importFromFile(late).has_value());
    const auto info = importer.readFileInfo(late);
    ASSERT_FALSE(info.has_value());
    EXPECT_EQ(textOf(info.error()), "resource content invalid: no <marlek-fileinfo> element within the first 65536 "
                                    "bytes, not a standalone Marlek XML file");
}
