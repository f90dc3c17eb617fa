#include "hardware_fixtures.hpp"

#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace json = boost::json;

namespace {

HardwareInfo readTree(std::string_view text)
{
    return json::value_to<HardwareInfo>(parsedTree(text));
}

json::error readingError(const json::value& tree)
{
    try {
        (void)json::value_to<HardwareInfo>(tree);
    } catch (const boost::system::system_error& error) {
        return static_cast<json::error>(error.code().value());
    }
    ADD_FAILURE() << "read without error: " << json::serialize(tree);
    return {};
}

} // namespace

TEST(HardwareInfoJson, SmallTreeReads)
{
    const auto info = readTree(kSmallTree);
    EXPECT_EQ(info.workstation.serial_number, "354531");
    EXPECT_EQ(info.workstation.protocol_version, 12U);
    ASSERT_EQ(info.paths.size(), 2U);
    EXPECT_EQ(info.paths[0].relevance, 1.0);
    EXPECT_EQ(info.paths[1].source, "shunt");
    ASSERT_EQ(info.potentiostats.size(), 1U);
    EXPECT_TRUE(info.potentiostats[0].has_calibration_data);
    EXPECT_EQ(info.potentiostats[0].dac_resolution, 16);
    EXPECT_TRUE(info.cards.empty());
}

TEST(HardwareInfoJson, FullTreeReadsEveryCardAndRangeKind)
{
    const auto info = readTree(kFullTree);
    EXPECT_EQ(info.workstation.mode, WorkstationModeEnum::EMULATION);
    ASSERT_EQ(info.paths.size(), 3U);
    EXPECT_EQ(info.paths[0].gain_ranges,
              (std::vector<GainRange>{{0, true, 1.0}, {1, false, 10.5}}));
    EXPECT_EQ(info.paths[0].filter_ranges,
              (std::vector<FilterRange>{{0, true, 1e6}, {2, true, 0.1}}));
    EXPECT_EQ(info.paths[2].gain_ranges, (std::vector<GainRange>{{-1, false, 0.001}}));
    const auto& main = info.potentiostats.at(0);
    EXPECT_EQ(main.current_ranges, (std::vector<CurrentRange>{{0, true, 1.0, 1.5}, {1, false, 1e-9, 1e9}}));
    EXPECT_EQ(main.voltage_ranges, (std::vector<VoltageRange>{{0, 4.5}, {1, 14.0}}));
    EXPECT_EQ(main.bandwidth_ranges, (std::vector<BandwidthRange>{{0, true}, {3, false}}));
    EXPECT_EQ(main.compliance_ranges, (std::vector<ComplianceRange>{{0, 14.5}, {1, 30.0}}));
    EXPECT_EQ(info.potentiostats.at(1).url, "XPC:1:EXT2:POT");
    ASSERT_EQ(info.cards.size(), 5U);
    EXPECT_EQ(info.cards[4], (CardInfo{"MUX16", "MUX16", "44001", "1.0", "A"}));
}

TEST(HardwareInfoJson, EmptyPartsAndLenientWorkstation)
{
    const auto empty = readTree(R"({"workstation": {}, "paths": [], "potentiostats": [], "cards": []})");
    EXPECT_EQ(empty, HardwareInfo{});
    const auto nullWorkstation =
        readTree(R"({"workstation": null, "paths": [], "potentiostats": [], "cards": []})");
    EXPECT_EQ(nullWorkstation.workstation, WorkstationInfo{});
}

struct BrokenTree {
    const char* what;
    std::function<void(json::value&)> breakIt;
    json::error expected;
};

class HardwareInfoJsonErrors : public ::testing::TestWithParam<BrokenTree> {};

TEST_P(HardwareInfoJsonErrors, FirstFailureInFieldOrderIsReported)
{
    auto tree = parsedTree(kSmallTree);
    GetParam().breakIt(tree);
    EXPECT_EQ(readingError(tree), GetParam().expected) << GetParam().what;
}

namespace {

json::object& firstPath(json::value& tree)
{
    return tree.at("paths").as_array().at(0).as_object();
}

json::object& firstPotentiostat(json::value& tree)
{
    return tree.at("potentiostats").as_array().at(0).as_object();
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Table, HardwareInfoJsonErrors,
    ::testing::Values(
        BrokenTree{"tree is an array", [](json::value& t) { t = json::array{}; }, json::error::not_object},
        BrokenTree{"no workstation", [](json::value& t) { t.as_object().erase("workstation"); },
                   json::error::size_mismatch},
        BrokenTree{"path is a number", [](json::value& t) { t.at("paths").as_array().at(0) = 1; },
                   json::error::not_object},
        BrokenTree{"paths is an object", [](json::value& t) { t.at("paths") = json::object{}; },
                   json::error::not_array},
        BrokenTree{"path without filter_ranges", [](json::value& t) { firstPath(t).erase("filter_ranges"); },
                   json::error::size_mismatch},
        // The missing urn comes first in field order, although cards is gone too.
        BrokenTree{"urn and cards missing",
                   [](json::value& t) {
                       firstPath(t).erase("urn");
                       t.as_object().erase("cards");
                   },
                   json::error::size_mismatch},
        BrokenTree{"url is a number", [](json::value& t) { firstPath(t)["url"] = 5; }, json::error::not_string},
        BrokenTree{"relevance is text", [](json::value& t) { firstPath(t)["relevance"] = "1"; },
                   json::error::not_number},
        BrokenTree{"calibration flag is 1", [](json::value& t) { firstPotentiostat(t)["has_calibration_data"] = 1; },
                   json::error::not_bool},
        BrokenTree{"dac resolution 2.5", [](json::value& t) { firstPotentiostat(t)["dac_resolution"] = 2.5; },
                   json::error::not_exact},
        BrokenTree{"dac resolution 2^31", [](json::value& t) { firstPotentiostat(t)["dac_resolution"] = 2147483648U; },
                   json::error::not_exact},
        BrokenTree{"dac resolution below int32",
                   [](json::value& t) { firstPotentiostat(t)["dac_resolution"] = -2147483649LL; },
                   json::error::not_exact},
        BrokenTree{"index is text",
                   [](json::value& t) {
                       firstPotentiostat(t)["voltage_ranges"] = json::array{{{"index", "2"}, {"voltage", 1.0}}};
                   },
                   json::error::not_number},
        BrokenTree{"enabled is 1",
                   [](json::value& t) {
                       firstPotentiostat(t)["bandwidth_ranges"] = json::array{{{"index", 0}, {"enabled", 1}}};
                   },
                   json::error::not_bool},
        BrokenTree{"card without hardware",
                   [](json::value& t) {
                       t.at("cards") = json::array{
                           {{"name", "Z"}, {"symbol", "Z"}, {"serialnumber", "1"}, {"firmware", "1"}}};
                   },
                   json::error::size_mismatch}));
