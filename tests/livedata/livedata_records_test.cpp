#include "live_data_test_support.hpp"

#include "marlek_link_json/jobs/ac/live_data/livedataroweis_json.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis_json.hpp"

#include <cstdint>
#include <limits>
#include <vector>

namespace {

using Lists = std::vector<std::vector<double>>;

constexpr const char* completeRow = R"({"type":"LIVE_DATA_ROW_EIS",
    "impedances":[[0.1,-2.5e-7],[3]],
    "paths":[[1,2,3]],
    "paths_waves":[[]],
    "async_paths":[],
    "potentiostats":[[0.30000000000000004]],
    "meta":[1000,2,0.0001]})";

} // namespace

TEST(LiveDataRowEisJson, ReadsSixListsExactly)
{
    const auto row = json::value_to<LiveDataRowEis>(parsePrecise(completeRow));
    EXPECT_EQ(row.getImpedances(), (Lists{{0.1, -2.5e-7}, {3.0}}));
    EXPECT_EQ(row.getPaths(), (Lists{{1.0, 2.0, 3.0}}));
    EXPECT_EQ(row.getPathsWaves(), (Lists{{}}));
    EXPECT_TRUE(row.getAsyncPaths().empty());
    EXPECT_EQ(row.getPotentiostats(), (Lists{{0.30000000000000004}}));
    EXPECT_EQ(row.getMeta(), (std::vector<double>{1000.0, 2.0, 0.0001}));
}

TEST(LiveDataRowEisJson, AcceptsEveryNumberKind)
{
    json::object event = parsePrecise(completeRow).as_object();
    event["meta"] = json::array{std::int64_t{-7}, std::uint64_t{18446744073709551615ULL}, 0.5};
    const auto row = json::value_to<LiveDataRowEis>(json::value(event));
    EXPECT_EQ(row.getMeta(), (std::vector<double>{-7.0, 18446744073709551615.0, 0.5}));
}

class LiveDataRowEisFallback : public ::testing::TestWithParam<const char*> {};

// A partial row would look complete to a caller indexing by the header, so
// anything short of six arrays gives six empty lists.
TEST_P(LiveDataRowEisFallback, GivesTheEmptyRow)
{
    json::value event = parsePrecise(completeRow);
    if (std::string_view(GetParam()) == "not an object") {
        event = json::array{event};
    } else if (std::string_view(GetParam()).starts_with("null ")) {
        event.as_object()[std::string_view(GetParam()).substr(5)] = nullptr;
    } else {
        event.as_object().erase(GetParam());
    }
    EXPECT_EQ(json::value_to<LiveDataRowEis>(event), LiveDataRowEis());
}

INSTANTIATE_TEST_SUITE_P(Incomplete, LiveDataRowEisFallback,
                         ::testing::Values("impedances", "paths", "paths_waves", "async_paths", "potentiostats",
                                           "meta", "null potentiostats", "null meta", "not an object"));

class LiveDataRowEisBadElement : public ::testing::TestWithParam<const char*> {};

TEST_P(LiveDataRowEisBadElement, Raises)
{
    json::object event = parsePrecise(completeRow).as_object();
    if (std::string_view(GetParam()) == "meta") {
        event["meta"] = json::array{1.0, "2"};
    } else {
        event[GetParam()] = json::array{json::array{1.0, nullptr}};
    }
    EXPECT_THROW(json::value_to<LiveDataRowEis>(json::value(event)), boost::system::system_error);
}

INSTANTIATE_TEST_SUITE_P(EachList, LiveDataRowEisBadElement,
                         ::testing::Values("impedances", "paths", "paths_waves", "async_paths", "potentiostats",
                                           "meta"));

TEST(LiveDataRowEisJson, ListOfNonListsRaises)
{
    json::object event = parsePrecise(completeRow).as_object();
    event["paths"] = json::array{1.0, 2.0};
    EXPECT_THROW(json::value_to<LiveDataRowEis>(json::value(event)), boost::system::system_error);
}

struct WavesCase {
    const char* json;
    Lists waves;
    std::size_t offset;
    std::size_t fullWaveSize;
};

class LiveDataWavesEisRead : public ::testing::TestWithParam<WavesCase> {};

TEST_P(LiveDataWavesEisRead, Reads)
{
    const auto waves = json::value_to<LiveDataWavesEis>(parsePrecise(GetParam().json));
    EXPECT_EQ(waves.getWaves(), GetParam().waves);
    EXPECT_EQ(waves.getOffset(), GetParam().offset);
    EXPECT_EQ(waves.getFullWaveSize(), GetParam().fullWaveSize);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LiveDataWavesEisRead,
    ::testing::Values(
        WavesCase{R"({"paths_waves":[[0.1,2],[-3e-9]],"offset":4,"full_wave_size":16})", {{0.1, 2.0}, {-3e-9}}, 4,
                  16},
        WavesCase{R"({"paths_waves":[[1]],"offset":3.0,"full_wave_size":1e3})", {{1.0}}, 3, 1000},
        WavesCase{R"({"paths_waves":[[1]],"offset":"3","full_wave_size":null})", {{1.0}}, 0, 0},
        WavesCase{R"({"paths_waves":[[1]],"offset":7})", {{1.0}}, 7, 0},
        WavesCase{R"({"paths_waves":[],"offset":18446744073709551615,"full_wave_size":-0.0})", {},
                  std::numeric_limits<std::size_t>::max(), 0},
        WavesCase{R"({"paths_waves":{},"offset":4,"full_wave_size":16})", {}, 0, 0},
        WavesCase{R"({"offset":4,"full_wave_size":16})", {}, 0, 0},
        WavesCase{R"([{"paths_waves":[[1]]}])", {}, 0, 0}));

class LiveDataWavesEisBadPosition : public ::testing::TestWithParam<const char*> {};

// A position that is not a whole non-negative 64-bit number would place the
// samples somewhere else in the wave.
TEST_P(LiveDataWavesEisBadPosition, RaisesNotExact)
{
    const auto event = parsePrecise(GetParam());
    expectJsonError([&] { (void)json::value_to<LiveDataWavesEis>(event); }, json::error::not_exact);
}

INSTANTIATE_TEST_SUITE_P(Cases, LiveDataWavesEisBadPosition,
                         ::testing::Values(R"({"paths_waves":[],"offset":2.5})", R"({"paths_waves":[],"offset":-1})",
                                           R"({"paths_waves":[],"full_wave_size":-0.5})",
                                           R"({"paths_waves":[],"full_wave_size":1.8446744073709552e19})",
                                           R"({"paths_waves":[],"offset":1e300})"));

TEST(LiveDataWavesEisJson, NonNumberSampleRaises)
{
    EXPECT_THROW(json::value_to<LiveDataWavesEis>(parsePrecise(R"({"paths_waves":[[1,true]],"offset":0})")),
                 boost::system::system_error);
}
