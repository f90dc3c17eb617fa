#include "file_test_support.hpp"

#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/xml_format_version.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <csignal>
#include <regex>
#include <string>
#include <utility>
#include <vector>
#include <sys/resource.h>

using namespace file_test;

namespace {

// A payload of a given size, so that a save can be made to outgrow a limit.
class Note : public MXml::XmlSerializable {
public:
    explicit Note(std::string text) : text(std::move(text)) {}

    void acceptSerializer(MXml::XmlSerializer& serializer) const override
    {
        auto* element = serializer.document->NewElement("note");
        element->SetAttribute("kind", "a&b");
        element->SetText(text.c_str());
        serializer.element = element;
    }

private:
    std::string text;
};

MXml::MXmlExporter exporter(bool compact = true)
{
    return MXml::MXmlExporter("marlek tests", "1.2.3", compact);
}

const std::regex TIMESTAMP(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(\.\d{6})?)");

// Lets a write fail with EFBIG beyond `bytes` for the lifetime of the guard.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

std::size_t entriesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(XmlFormatVersion, AcceptsOneToFourAndNamesTheFileOtherwise)
{
    EXPECT_EQ(MXml::XmlFormatVersion::supportedRange(), "1..4");
    for (std::uint64_t version = 1; version <= 4; ++version) {
        EXPECT_EQ(MXml::XmlFormatVersion::checkSupported(version, ""), version);
    }
    for (const std::uint64_t version : {std::uint64_t{0}, std::uint64_t{5}, UINT64_MAX}) {
        const auto refused = MXml::XmlFormatVersion::checkSupported(version, "run.xml");
        ASSERT_FALSE(refused.has_value()) << version;
        EXPECT_EQ(refused.error().getErrorCodeEnum(), ErrorCodeEnum::FILE_VERSION_NOT_SUPPORTED);
        EXPECT_EQ(textOf(refused.error()), "file 'run.xml' has format version " + std::to_string(version)
                                               + " which is not supported (supported: 1..4)");
    }
}

TEST(MXmlExporter, SerializesTheBareElement)
{
    const auto text = exporter().serialize(Note("x < y"));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, R"(<note kind="a&amp;b">x &lt; y</note>)");

    const auto indented = exporter(false).serialize(std::make_shared<Note>("z"));
    ASSERT_TRUE(indented.has_value());
    EXPECT_EQ(*indented, "<note kind=\"a&amp;b\">z</note>\n");

    const auto none = exporter().serialize(std::shared_ptr<MXml::XmlSerializable>());
    ASSERT_FALSE(none.has_value());
    EXPECT_EQ(textOf(none.error()), "resource content invalid: nothing to serialize: the serializable is a null pointer");
}

TEST(MXmlExporter, WritesTheStandaloneFileLayout)
{
    const auto text = exporter().serializeAsFileStandalone(Note("body"), "");
    ASSERT_TRUE(text.has_value());
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(text->c_str()), tinyxml2::XML_SUCCESS);
    ASSERT_NE(document.FirstChild()->ToDeclaration(), nullptr);
    EXPECT_STREQ(document.FirstChild()->Value(), R"(xml version="1.0" encoding="utf-8" standalone="yes")");

    const auto* root = document.RootElement();
    EXPECT_STREQ(root->Name(), "note");
    EXPECT_EQ(root->FirstAttribute(), nullptr);
    const auto* info = root->FirstChildElement();
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->Name(), "marlek-fileinfo");
    std::vector<std::string> names;
    for (const auto* child = info->FirstChildElement(); child; child = child->NextSiblingElement()) {
        names.emplace_back(child->Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"type", "file-version", "creation-timestamp", "generator",
                                               "generator-version", "comment"}));
    EXPECT_STREQ(info->FirstChildElement("type")->GetText(), "note");
    EXPECT_STREQ(info->FirstChildElement("file-version")->GetText(), "4");
    EXPECT_STREQ(info->FirstChildElement("generator")->GetText(), "marlek tests");
    EXPECT_STREQ(info->FirstChildElement("generator-version")->GetText(), "1.2.3");
    EXPECT_EQ(info->FirstChildElement("comment")->GetText(), nullptr);
    EXPECT_TRUE(std::regex_match(info->FirstChildElement("creation-timestamp")->GetText(), TIMESTAMP));

    const auto* payload = info->NextSiblingElement();
    ASSERT_NE(payload, nullptr);
    EXPECT_STREQ(payload->Name(), "note");
    EXPECT_STREQ(payload->GetText(), "body");
    EXPECT_EQ(payload->NextSiblingElement(), nullptr);
}

TEST(MXmlExporter, TimestampHasMicrosecondsOnlyWhenNotZero)
{
    // Taken many times, a whole second is rare; the form is checked each time.
    for (int i = 0; i < 50; ++i) {
        const std::string stamp = MXml::MXmlExporter::getCurrentTimeString();
        ASSERT_TRUE(std::regex_match(stamp, TIMESTAMP)) << stamp;
        if (stamp.size() > 19) {
            EXPECT_NE(stamp.substr(20), "000000");
        }
    }
}

TEST(MXmlExporter, OptionsCanBeReadAndReplaced)
{
    MXml::MXmlExporter e(MXml::ExportOptions{"gen", "0.1", false});
    e.setGenerator("other");
    e.setGeneratorVersion("2");
    e.setCompactXml(true);
    EXPECT_EQ(e.getOptions(), (MXml::ExportOptions{"other", "2", true}));
    e.setOptions({"g", "v", false});
    EXPECT_EQ(e.getGenerator(), "g");
    EXPECT_EQ(e.getGeneratorVersion(), "v");
    EXPECT_FALSE(e.getCompactXml());
}

TEST(MXmlExporter, SavesIntoMissingFoldersAndReplacesWholeFiles)
{
    TempFolder folder;
    const auto path = folder / "a" / "b" / "note.xml";
    ASSERT_EQ(exporter().saveAsFileStandalone(Note("first"), path, "c1"), ErrorObject());
    const std::string first = readFile(path);
    EXPECT_NE(first.find("<comment>c1</comment>"), std::string::npos);

    ASSERT_EQ(exporter().saveAsFileStandalone(std::make_shared<Note>("second"), path, "c2"), ErrorObject());
    const std::string second = readFile(path);
    EXPECT_NE(second.find("second"), std::string::npos);
    EXPECT_EQ(second.find("first"), std::string::npos);
    EXPECT_EQ(entriesIn(path.parent_path()), 1u);
}

TEST(MXmlExporter, RefusesPathsThatCannotBeWritten)
{
    TempFolder folder;
    const auto plain = folder / "plain.txt";
    writeFile(plain, "keep");
    const std::vector<std::pair<std::filesystem::path, std::string>> cases{
        {plain / "note.xml", "Not a directory"},
        {plain / "deeper" / "note.xml", "Not a directory"},
        {folder.path(), "Is a directory"},
    };
    for (const auto& [path, reason] : cases) {
        const ErrorObject error = exporter().saveAsFileStandalone(Note("x"), path, "");
        EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED) << path << ": " << textOf(error);
        EXPECT_EQ(textOf(error), "file '" + path.string() + "' could not be opened: could not open the file for writing");
        // The system's reason tells a missing folder from a full disk.
        EXPECT_EQ(error.getMessageParameters(),
                  (std::vector<ErrorParameter>{path.string(), std::string("could not open the file for writing"), reason}));
    }
    EXPECT_EQ(readFile(plain), "keep");
    EXPECT_EQ(entriesIn(folder.path()), 1u);

    const ErrorObject none = exporter().saveAsFileStandalone(nullptr, folder / "none.xml", "");
    EXPECT_EQ(textOf(none), "resource content invalid: nothing to serialize: the serializable is a null pointer");
    EXPECT_FALSE(std::filesystem::exists(folder / "none.xml"));
}

TEST(MXmlExporter, FailedWriteKeepsTheOldFile)
{
    TempFolder folder;
    const auto path = folder / "note.xml";
    ASSERT_EQ(exporter().saveAsFileStandalone(Note("old"), path, ""), ErrorObject());
    const std::string old = readFile(path);

    ErrorObject error;
    {
        FileSizeLimit limit(4096);
        error = exporter().saveAsFileStandalone(Note(std::string(100000, 'n')), path, "");
    }
    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN) << textOf(error);
    EXPECT_EQ(textOf(error), "file '" + path.string() + "' could not be written: an error occurred while writing the file");
    EXPECT_EQ(error.getMessageParameters(),
              (std::vector<ErrorParameter>{path.string(), std::string("an error occurred while writing the file"),
                                           std::string("File too large")}));
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}
