#include "hardware_fixtures.hpp"

#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"

#include <gtest/gtest.h>

#include <ostream>

namespace {

HardwareInfo fullTree()
{
    return boost::json::value_to<HardwareInfo>(parsedTree(kFullTree));
}

} // namespace

struct Lookup {
    const char* address;
    bool isUrn;
    const char* expected; // empty: no match
};

void PrintTo(const Lookup& lookup, std::ostream* out)
{
    *out << (lookup.isUrn ? "urn " : "url ") << '"' << lookup.address << '"';
}

class HardwareInfoLookups : public ::testing::TestWithParam<Lookup> {};

TEST_P(HardwareInfoLookups, ConvertAndContainAgree)
{
    const auto info = fullTree();
    const auto& [address, isUrn, expected] = GetParam();
    const std::string converted = isUrn ? info.convertUrnToUrl(address) : info.convertUrlToUrn(address);
    const bool contained = isUrn ? info.containsUrn(address) : info.containsUrl(address);
    EXPECT_EQ(converted, expected);
    EXPECT_EQ(contained, std::string_view(expected) != "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, HardwareInfoLookups,
    ::testing::Values(Lookup{"MAIN:1:POT", false, "354531:POT"}, Lookup{"354531:POT", true, "MAIN:1:POT"},
                      Lookup{"XPC:1:EXT2:POT", false, "77002:POT"},
                      Lookup{"88001:CH2~88001:ADC2", true, "ZMU4:1:CH2~ZMU4:1:ADC2"},
                      Lookup{"HP:1:IN1", false, "88002:IN1"},
                      // Case-sensitive, no trimming, cards are not searched.
                      Lookup{"main:1:pot", false, ""}, Lookup{"MAIN:1:POT ", false, ""},
                      Lookup{"354531:pot", true, ""}, Lookup{"MUX16", false, ""}, Lookup{"", true, ""},
                      // A url is not a urn and the other way round.
                      Lookup{"MAIN:1:POT", true, ""}, Lookup{"354531:POT", false, ""}));

TEST(HardwareInfoLookup, PathsWinOverPotentiostatsAndEmptyAddressesMatch)
{
    HardwareInfo info;
    info.potentiostats.push_back({.url = "SHARED", .urn = "pot-urn"});
    info.paths.push_back({.url = "SHARED", .urn = "path-urn"});
    info.paths.push_back({.url = "", .urn = "nameless"});
    EXPECT_EQ(info.convertUrlToUrn("SHARED"), "path-urn");
    EXPECT_EQ(info.convertUrlToUrn(""), "nameless");
    EXPECT_TRUE(info.containsUrl(""));
    EXPECT_EQ(info.convertUrnToUrl("pot-urn"), "SHARED");
}
