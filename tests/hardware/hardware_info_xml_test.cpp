#include "hardware_fixtures.hpp"

#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info_xml.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>

namespace {

// Writes the tree, prints the document and parses the text again, so that
// the round trip goes through the file form.
HardwareInfo throughText(const HardwareInfo& info, std::string* text = nullptr)
{
    tinyxml2::XMLDocument written;
    written.InsertEndChild(MXml::hardwareInfoToXmlNode(info, written));
    tinyxml2::XMLPrinter printer;
    written.Print(&printer);
    if (text != nullptr) {
        *text = printer.CStr();
    }
    tinyxml2::XMLDocument parsed;
    EXPECT_EQ(parsed.Parse(printer.CStr()), tinyxml2::XML_SUCCESS);
    HardwareInfo back;
    EXPECT_TRUE(MXml::hardwareInfoFromXmlNode(back, parsed.RootElement()));
    return back;
}

struct ParsedXml {
    tinyxml2::XMLDocument document;
    explicit ParsedXml(const char* text) { EXPECT_EQ(document.Parse(text), tinyxml2::XML_SUCCESS); }
    tinyxml2::XMLElement* root() { return document.RootElement(); }
};

} // namespace

TEST(HardwareInfoXml, FixturesComeBackEqual)
{
    for (const auto tree : {kSmallTree, kFullTree}) {
        const auto info = boost::json::value_to<HardwareInfo>(parsedTree(tree));
        EXPECT_EQ(throughText(info), info);
    }
}

TEST(HardwareInfoXml, WrittenForm)
{
    HardwareInfo info;
    info.workstation.protocol_version = 12;
    info.workstation.mode = static_cast<WorkstationModeEnum>(7);
    info.potentiostats.push_back({.url = "MAIN:1:POT", .dac_resolution = -3, .voltage_ranges = {{1, 1e20}}});
    info.paths.push_back({.url = "u", .relevance = 0.5, .filter_ranges = {{2, true, 1000.0}}});
    std::string text;
    const auto back = throughText(info, &text);
    EXPECT_EQ(text,
              "<hardware-info>\n"
              "    <workstation protocol_version=\"12\" serial_number=\"\" model_name=\"\" firmware_version=\"\" "
              "firmware_build_id=\"\" cpu_card_uuid=\"\" system_mac=\"\" system_name=\"\" mode=\"NORMAL\"/>\n"
              "    <paths>\n"
              "        <path url=\"u\" urn=\"\" sampling=\"\" source=\"\" relevance=\"0.5\">\n"
              "            <gain_ranges/>\n"
              "            <filter_ranges>\n"
              "                <filter_range index=\"2\" enabled=\"true\" frequency=\"1000\"/>\n"
              "            </filter_ranges>\n"
              "        </path>\n"
              "    </paths>\n"
              "    <potentiostats>\n"
              "        <potentiostat url=\"MAIN:1:POT\" urn=\"\" identifier=\"\" serialnumber=\"\" software=\"\" "
              "has_calibration_data=\"false\" dac_resolution=\"-3\">\n"
              "            <current_ranges/>\n"
              "            <voltage_ranges>\n"
              "                <voltage_range index=\"1\" voltage=\"1e+20\"/>\n"
              "            </voltage_ranges>\n"
              "            <bandwidth_ranges/>\n"
              "            <compliance_ranges/>\n"
              "        </potentiostat>\n"
              "    </potentiostats>\n"
              "    <cards/>\n"
              "</hardware-info>\n");
    // A mode without a name comes back as NORMAL.
    EXPECT_EQ(back.workstation.mode, WorkstationModeEnum::NORMAL);
    EXPECT_EQ(back.potentiostats, info.potentiostats);
}

TEST(HardwareInfoXml, ValueTextsAndWorkstationAttributes)
{
    ParsedXml xml(R"(<hardware-info>
        <workstation protocol_version="abc" mode="normal"/>
        <paths>
          <path url="a" urn="b" sampling="s" source="" relevance="x">
            <gain_ranges>
              <gain_range index="4294967297" enabled="yes" nominal_gain="2"/>
              <gain_range index="-1" enabled="1"/>
              <gain_range/>
            </gain_ranges>
            <filter_ranges/>
          </path>
          <card name="not a path"/>
        </paths>
        <paths><path url="second container" urn="" sampling="" source=""><gain_ranges/><filter_ranges/></path></paths>
        <potentiostats/>
        <cards/>
      </hardware-info>)");
    HardwareInfo info;
    info.workstation.serial_number = "old";
    ASSERT_TRUE(MXml::hardwareInfoFromXmlNode(info, xml.root()));
    EXPECT_EQ(info.workstation, WorkstationInfo{});
    ASSERT_EQ(info.paths.size(), 1U);
    EXPECT_EQ(info.paths[0].url, "a");
    EXPECT_EQ(info.paths[0].source, "");
    EXPECT_EQ(info.paths[0].relevance, 0.0);
    EXPECT_EQ(info.paths[0].gain_ranges, (std::vector<GainRange>{{1, false, 2.0}, {-1, true, 0.0}, {0, false, 0.0}}));

    ParsedXml modes(R"(<hardware-info><workstation protocol_version="18446744073709551615" mode="EMULATION"
        serial_number="S" system_name="N"/></hardware-info>)");
    WorkstationInfo workstation;
    ASSERT_TRUE(MXml::described_object_from_element(workstation, "workstation", modes.root()));
    EXPECT_EQ(workstation.protocol_version, 18446744073709551615ULL);
    EXPECT_EQ(workstation.mode, WorkstationModeEnum::EMULATION);
    EXPECT_EQ(workstation.system_name, "N");
    EXPECT_FALSE(MXml::described_object_from_element(workstation, "nothing", modes.root()));
}

// Which parts a broken document still delivers: a failed part keeps the
// target's old contents, the others are replaced, the result is false.
struct BrokenXml {
    const char* what;
    const char* body; // children of <hardware-info>
    bool workstationRead;
    bool pathsRead;
    bool potentiostatsRead;
    bool cardsRead;
};

class HardwareInfoXmlRequired : public ::testing::TestWithParam<BrokenXml> {};

TEST_P(HardwareInfoXmlRequired, FailedPartsKeepOldContents)
{
    const auto& c = GetParam();
    HardwareInfo old;
    old.workstation.serial_number = "old";
    old.paths.push_back({.url = "old path"});
    old.potentiostats.push_back({.url = "old pot"});
    old.cards.push_back({.name = "old card"});
    HardwareInfo info = old;
    const std::string text = std::string("<hardware-info>") + c.body + "</hardware-info>";
    ParsedXml xml(text.c_str());
    const bool all = c.workstationRead && c.pathsRead && c.potentiostatsRead && c.cardsRead;
    EXPECT_EQ(MXml::hardwareInfoFromXmlNode(info, xml.root()), all) << c.what;
    EXPECT_EQ(info.workstation == old.workstation, !c.workstationRead) << c.what;
    EXPECT_EQ(info.paths == old.paths, !c.pathsRead) << c.what;
    EXPECT_EQ(info.potentiostats == old.potentiostats, !c.potentiostatsRead) << c.what;
    EXPECT_EQ(info.cards == old.cards, !c.cardsRead) << c.what;
}

#define WS "<workstation serial_number=\"new\"/>"
#define PATH_OK                                                                                                     \
    "<paths><path url=\"p\" urn=\"\" sampling=\"\" source=\"\"><gain_ranges/><filter_ranges/></path></paths>"
#define POTS_OK                                                                                                     \
    "<potentiostats><potentiostat url=\"u\" urn=\"\" identifier=\"\" serialnumber=\"\" software=\"\">"              \
    "<current_ranges/><voltage_ranges/><bandwidth_ranges/><compliance_ranges/></potentiostat></potentiostats>"
#define CARDS_OK "<cards><card name=\"n\" symbol=\"\" serialnumber=\"\" firmware=\"\" hardware=\"\"/></cards>"

INSTANTIATE_TEST_SUITE_P(
    Table, HardwareInfoXmlRequired,
    ::testing::Values(
        BrokenXml{"complete", WS PATH_OK POTS_OK CARDS_OK, true, true, true, true},
        BrokenXml{"no workstation", PATH_OK POTS_OK CARDS_OK, false, true, true, true},
        BrokenXml{"no containers", WS, true, false, false, false},
        BrokenXml{"path without source",
                  WS "<paths><path url=\"p\" urn=\"\" sampling=\"\"><gain_ranges/><filter_ranges/></path></paths>"
                      POTS_OK CARDS_OK,
                  true, false, true, true},
        BrokenXml{"path without filter_ranges",
                  WS "<paths><path url=\"p\" urn=\"\" sampling=\"\" source=\"\"><gain_ranges/></path></paths>" POTS_OK
                      CARDS_OK,
                  true, false, true, true},
        BrokenXml{"second path broken",
                  WS "<paths><path url=\"p\" urn=\"\" sampling=\"\" source=\"\"><gain_ranges/><filter_ranges/></path>"
                     "<path urn=\"\" sampling=\"\" source=\"\"><gain_ranges/><filter_ranges/></path></paths>" POTS_OK
                      CARDS_OK,
                  true, false, true, true},
        BrokenXml{"potentiostat without bandwidth_ranges",
                  WS PATH_OK "<potentiostats><potentiostat url=\"u\" urn=\"\" identifier=\"\" serialnumber=\"\" "
                             "software=\"\"><current_ranges/><voltage_ranges/><compliance_ranges/></potentiostat>"
                             "</potentiostats>" CARDS_OK,
                  true, true, false, true},
        BrokenXml{"potentiostat without software",
                  WS PATH_OK "<potentiostats><potentiostat url=\"u\" urn=\"\" identifier=\"\" serialnumber=\"\">"
                             "<current_ranges/><voltage_ranges/><bandwidth_ranges/><compliance_ranges/></potentiostat>"
                             "</potentiostats>" CARDS_OK,
                  true, true, false, true},
        BrokenXml{"card without hardware",
                  WS PATH_OK POTS_OK "<cards><card name=\"n\" symbol=\"\" serialnumber=\"\" firmware=\"\"/></cards>",
                  true, true, true, false}));

TEST(HardwareInfoXml, NullElementLeavesTheRecord)
{
    HardwareInfo info;
    info.cards.push_back({.name = "kept"});
    EXPECT_FALSE(MXml::hardwareInfoFromXmlNode(info, nullptr));
    EXPECT_EQ(info.cards.at(0).name, "kept");
}
