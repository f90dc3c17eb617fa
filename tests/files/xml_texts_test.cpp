#include "file_test_support.hpp"

#include "support/job_with_id.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/jobs/dc/parameters/wave_file_parameters.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/mxml_importer.hpp"
#include "marlek_link_json/xml/xml_characters.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace file_test;

namespace {

const std::string NUL(1, '\0');
const std::string REFUSED = "resource content invalid: the object would not read back from its XML: ";

// Raw bytes, NULs included.
template <std::size_t N>
std::string bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

struct CharacterCase {
    std::string text;
    std::optional<std::size_t> offset;
    std::string description;
};

} // namespace

TEST(XmlCharacters, FindsWhatXmlCannotCarryAndWhatIsNoUtf8)
{
    const std::string notXml = ", which XML 1.0 cannot carry";
    const std::string notUtf8 = ", which is not UTF-8";
    const std::vector<CharacterCase> cases{
        {"plain text; 1.5e-3 <&>]]>", std::nullopt, ""},
        {"\t\n\r\x7F", std::nullopt, ""},
        {"\xC2\x85 \xC2\xB5 \xED\x9F\xBF \xEE\x80\x80 \xEF\xBF\xBD \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", std::nullopt, ""},
        {bytes("a\0b"), 1, "U+0000" + notXml},
        {"ab\x01", 2, "U+0001" + notXml},
        {"\x0B", 0, "U+000B" + notXml},
        {"x\x0C", 1, "U+000C" + notXml},
        {"\x1F", 0, "U+001F" + notXml},
        {"\xEF\xBF\xBE", 0, "U+FFFE" + notXml},
        {"a\xEF\xBF\xBF", 1, "U+FFFF" + notXml},
        {"\xED\xA0\x80", 0, "U+D800" + notXml},
        {"\xED\xBF\xBF", 0, "U+DFFF" + notXml},
        // How the text setters carry a NUL.
        {"\xC0\x80", 0, "U+0000" + notXml},
        {"\xFF", 0, "the byte 0xFF" + notUtf8},
        {"ok\x80", 2, "the byte 0x80" + notUtf8},
        {"\xC3", 0, "the byte 0xC3" + notUtf8},
        {"\xC3(", 0, "the byte 0xC3" + notUtf8},
        {"\xC1\xBF", 0, "the byte 0xC1" + notUtf8},
        {"\xE0\x80\x80", 0, "the byte 0xE0" + notUtf8},
        {"\xE2\x82", 0, "the byte 0xE2" + notUtf8},
        {"\xF0\x8F\xBF\xBF", 0, "the byte 0xF0" + notUtf8},
        {"\xF4\x90\x80\x80", 0, "the byte 0xF4" + notUtf8},
        {"\xF5\x80\x80\x80", 0, "the byte 0xF5" + notUtf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto found = MXml::firstUnwritableCharacter(c.text);
        ASSERT_EQ(found.has_value(), c.offset.has_value());
        if (found) {
            EXPECT_EQ(found->offset, *c.offset);
            EXPECT_EQ(found->description, c.description);
        }
    }
}

namespace {

DcDataset dcDataset(std::vector<ColumnHeader> columns, JobInfo info = jobWithId("job"))
{
    const std::size_t count = columns.size();
    return DcDataset(LiveDataHeader("Cyclic Voltammetry", "CV", std::move(columns)), std::move(info),
                     std::vector<std::vector<double>>(count, std::vector<double>{0.5, 1.5}));
}

DcDataset twoColumns(const std::string& name, const std::string& unit = "V", const std::string& urn = "MAIN:1:POT")
{
    return dcDataset({ColumnHeader("time", "s", "MAIN:1:TIME"), ColumnHeader(name, unit, urn)});
}

DcDataset withJobInfo(const std::function<void(JobInfo&)>& change)
{
    JobInfo info = jobWithId("job");
    change(info);
    return dcDataset({ColumnHeader("time", "s", "")}, std::move(info));
}

// What every operation of the exporter does with an object that holds such
// a text: refuses it with the same message, and writes no file.
void expectRefusedEverywhere(const MXml::XmlSerializable& object, const std::string& problem,
                             const MXml::MXmlExporter& exporter = MXml::MXmlExporter())
{
    const auto bare = exporter.serialize(object);
    ASSERT_FALSE(bare.has_value());
    EXPECT_EQ(bare.error().getErrorCodeEnum(), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
    EXPECT_EQ(textOf(bare.error()), REFUSED + problem);
    const auto standalone = exporter.serializeAsFileStandalone(object, "");
    ASSERT_FALSE(standalone.has_value());
    EXPECT_EQ(textOf(standalone.error()), REFUSED + problem);

    TempFolder folder;
    const auto fresh = folder / "fresh.xml";
    EXPECT_EQ(textOf(exporter.saveAsFileStandalone(object, fresh, "")), REFUSED + problem);
    EXPECT_FALSE(std::filesystem::exists(fresh));
    const auto existing = folder / "existing.xml";
    writeFile(existing, "old content");
    EXPECT_EQ(textOf(exporter.saveAsFileStandalone(object, existing, "")), REFUSED + problem);
    EXPECT_EQ(readFile(existing), "old content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()),
              1);
}

} // namespace

// The XML library takes texts as C strings: a NUL anywhere would cut the
// text, and with a column's name the whole table after it, while saving
// reported success.
TEST(XmlTexts, ANulIsRefusedWhereverATextGoes)
{
    const std::string nul = "a" + NUL + "b";
    struct Case {
        const char* where;
        DcDataset dataset;
        std::string problem;
    };
    const std::vector<Case> cases{
        {"column name", twoColumns(nul), "<column> attribute 'name' holds U+0000"},
        {"column unit", twoColumns("voltage", nul), "<column> attribute 'unit' holds U+0000"},
        {"column urn", twoColumns("voltage", "V", nul), "<column> attribute 'urn' holds U+0000"},
        {"job type", DcDataset(LiveDataHeader(nul, "CV", {ColumnHeader("t", "s", "")}), jobWithId("job"), {{1.0}}),
         "<dataset> attribute 'job-type' holds U+0000"},
        {"job id", withJobInfo([&](JobInfo& info) { info.jobId = nul; }), "the text of <job-id> holds U+0000"},
        {"job end", withJobInfo([&](JobInfo& info) { info.ended = nul; }), "the text of <ended> holds U+0000"},
        {"meta key", withJobInfo([&](JobInfo& info) { info.jobMeta[nul] = "v"; }),
         "<entry> attribute 'name' holds U+0000"},
        {"meta value", withJobInfo([&](JobInfo& info) { info.jobMeta["k"] = nul; }),
         "<entry> attribute 'value' holds U+0000"},
        {"error message",
         withJobInfo([&](JobInfo& info) { info.error = ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, nul); }),
         "the text of <message> holds U+0000"},
        {"error parameter",
         withJobInfo([&](JobInfo& info) { info.error = ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "{0}", nul); }),
         "the text of <message> holds U+0000"},
        {"record text", withJobInfo([&](JobInfo& info) {
             info.type = "wave_file";
             info.parameters = std::make_shared<SerializableParameterStruct<WaveFileParameters>>(
                 WaveFileParameters{1.0, 1.0, 1, 0.1, nul, 0.0});
         }),
         "the text of <resource_id> holds U+0000"},
        {"stop condition", withJobInfo([&](JobInfo& info) {
             info.stopConditions.push_back(
                 std::make_shared<MinLimitStopCondition>(MinLimitStopConditionParameters{nul, -0.5}));
         }),
         "the text of <for_dimension> holds U+0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        expectRefusedEverywhere(c.dataset, c.problem + ", which XML 1.0 cannot carry");
    }
}

TEST(XmlTexts, TheFileInformationAndTheHardwareInformationAreChecked)
{
    const std::string problem = " holds U+0000, which XML 1.0 cannot carry";
    const DcDataset dataset = twoColumns("voltage");
    TempFolder folder;
    const MXml::MXmlExporter withGenerator("gen" + NUL, "1", false);
    EXPECT_EQ(textOf(withGenerator.saveAsFileStandalone(dataset, folder / "g.xml", "")),
              REFUSED + "the text of <generator>" + problem);
    const MXml::MXmlExporter withVersion("gen", "\xFF", false);
    EXPECT_EQ(textOf(withVersion.serializeAsFileStandalone(dataset, "").error()),
              REFUSED + "the text of <generator-version> holds the byte 0xFF, which is not UTF-8");
    EXPECT_EQ(textOf(MXml::MXmlExporter().saveAsFileStandalone(dataset, folder / "c.xml", "note\x0B")),
              REFUSED + "the text of <comment> holds U+000B, which XML 1.0 cannot carry");
    EXPECT_FALSE(std::filesystem::exists(folder / "g.xml"));
    EXPECT_FALSE(std::filesystem::exists(folder / "c.xml"));

    MXml::Measurement measurement;
    HardwareInfo hardware;
    hardware.workstation.serial_number = "S" + NUL + "1";
    measurement.setHardwareInfo(hardware);
    measurement.appendDataset(std::make_shared<DcDataset>(dataset));
    expectRefusedEverywhere(measurement, "<workstation> attribute 'serial_number'" + problem);
}

TEST(XmlTexts, ImpedanceDatasetTextsAreChecked)
{
    const std::vector<ColumnHeader> meta = {ColumnHeader("frequency", "Hz", ""), ColumnHeader("periods", "", ""),
                                            ColumnHeader("time", "s", "")};
    const auto dataset = [&](std::string uri, std::string name) {
        std::vector<PathDataHeader> paths{
            PathDataHeader(uri, name, {ColumnHeader("dc", "V", uri)}, UserPolynomial())};
        return EisDataset(LiveDataHeaderEis("EIS", "EIS", meta, {}, std::move(paths), {}, {}), {}, {{{1.0}}}, {{}},
                          {}, {}, std::vector<std::vector<double>>(3, std::vector<double>{1.0}), jobWithId("job"));
    };
    expectRefusedEverywhere(dataset("U" + NUL, "p"),
                            "<column-class> attribute 'urn' holds U+0000, which XML 1.0 cannot carry");
    expectRefusedEverywhere(dataset("U", "p\xEF\xBF\xBF"),
                            "<column-class> attribute 'name' holds U+FFFF, which XML 1.0 cannot carry");
}

// Every character XML cannot carry, in a column's name: the file would not
// be well-formed, or a text of VT alone would come back empty.
TEST(XmlTexts, EachCharacterXmlCannotCarryIsNamed)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"\x01", "U+0001, which XML 1.0 cannot carry"},
        {"\x0B", "U+000B, which XML 1.0 cannot carry"},
        {"\x0C", "U+000C, which XML 1.0 cannot carry"},
        {"\x1B[0m", "U+001B, which XML 1.0 cannot carry"},
        {"\xEF\xBF\xBE", "U+FFFE, which XML 1.0 cannot carry"},
        {"\xEF\xBF\xBF", "U+FFFF, which XML 1.0 cannot carry"},
        {"\xED\xB0\x80", "U+DC00, which XML 1.0 cannot carry"},
        {"caf\xE9", "the byte 0xE9, which is not UTF-8"},
        {"\xC0\x80", "U+0000, which XML 1.0 cannot carry"},
    };
    for (const auto& [text, description] : cases) {
        SCOPED_TRACE(description);
        expectRefusedEverywhere(twoColumns(text), "<column> attribute 'name' holds " + description);
    }
}

// Line ends, tabs, DEL, C1 controls, the replacement character and
// characters beyond the first plane are XML characters: they are saved and
// read back unchanged.
TEST(XmlTexts, CharactersXmlCarriesReadBack)
{
    const std::string text = "a\tb\nc\rd\x7F\xC2\x85\xEF\xBF\xBD\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    JobInfo info = jobWithId(text);
    info.jobMeta[text] = text;
    const DcDataset dataset = dcDataset({ColumnHeader(text, text, text)}, info);
    TempFolder folder;
    const auto path = folder / "carried.xml";
    ASSERT_EQ(MXml::MXmlExporter(text, text, false).saveAsFileStandalone(dataset, path, text), ErrorObject());
    const auto imported = MXml::MXmlImporter().importFromFile(path);
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    EXPECT_EQ(imported->file_info.generator, text);
    EXPECT_EQ(imported->file_info.comment, text);
    const auto* read = dynamic_cast<const DcDataset*>(imported->object.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getHeader().getColumns(), dataset.getHeader().getColumns());
    EXPECT_EQ(read->getJobInfo().jobId, text);
    EXPECT_EQ(read->getJobInfo().jobMeta, info.jobMeta);
}

// Files other writers made with such characters still read, as they are.
TEST(XmlTexts, FilesHoldingSuchCharactersStillRead)
{
    const std::string file = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><dataset>"
                             "<marlek-fileinfo><type>dataset</type><file-version>4</file-version>"
                             "<comment>note\x0B</comment></marlek-fileinfo>"
                             "<dataset type=\"DC\" job-type-short=\"CV\" job-type=\"CV\"><data-structure>"
                             "<column name=\"volt\x0C\xEF\xBF\xBF\" type=\"double\" unit=\"V\" urn=\"u\"/>"
                             "</data-structure><sections><section type=\"DC\" job-type-short=\"CV\" job-type=\"CV\" "
                             "length=\"1\" time-start=\"0\"><job-info><job-id>j\x01</job-id></job-info></section>"
                             "</sections><csv type=\"data\"><![CDATA[\nvolt\x0C\xEF\xBF\xBF\nV\nu\n0.5\n]]></csv>"
                             "</dataset></dataset>";
    const auto imported = MXml::MXmlImporter().importFromMemory(file);
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    EXPECT_EQ(imported->file_info.comment, "note\x0B");
    const auto* read = dynamic_cast<const DcDataset*>(imported->object.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getHeader().getColumns()[0].dimension, "volt\x0C\xEF\xBF\xBF");
    EXPECT_EQ(read->getJobInfo().jobId, "j\x01");
    EXPECT_EQ(read->getTracks(), (std::vector<std::vector<double>>{{0.5}}));
}
