#include "dataset_test_support.hpp"

#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace dataset_test;

namespace {

// The little-endian bytes of a double given by its bit pattern, spelt out
// independently of the host's memory layout.
std::string le(std::uint64_t bits)
{
    std::string bytes;
    for (int i = 0; i < 8; ++i) {
        bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    }
    return bytes;
}

constexpr std::uint64_t ONE = 0x3FF0000000000000;        // 1.0
constexpr std::uint64_t TWO = 0x4000000000000000;        // 2.0
constexpr std::uint64_t MINUS_HALF = 0xBFE0000000000000; // -0.5
constexpr std::uint64_t QUARTER = 0x3FD0000000000000;    // 0.25
constexpr std::uint64_t TENTH = 0x3FB999999999999A;      // 0.1
constexpr std::uint64_t HUGE_VALUE = 0x7FEFFFFFFFFFFFFF; // largest finite double

LiveDataHeader threeColumnHeader()
{
    return LiveDataHeader("Cyclic Voltammetry", "CV", {timeColumn(), voltageColumn(), currentColumn()});
}

// Two rows of three columns, column after column.
std::string smallTable()
{
    return le(ONE) + le(TWO) + le(MINUS_HALF) + le(QUARTER) + le(TENTH) + le(HUGE_VALUE);
}

} // namespace

TEST(DcBinaryTable, ReadsColumnAfterColumnInLittleEndian)
{
    const DcDataset ds = dcDatasetFromBinary(smallTable(), threeColumnHeader(), jobWithId("j-1"));
    ASSERT_EQ(ds.getTracks().size(), 3u);
    EXPECT_EQ(ds.getTracks()[0], (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(ds.getTracks()[1], (std::vector<double>{-0.5, 0.25}));
    EXPECT_EQ(ds.getTracks()[2], (std::vector<double>{0.1, 1.7976931348623157e308}));
    EXPECT_EQ(ds.getHeader().getColumns(), threeColumnHeader().getColumns());
    EXPECT_EQ(ds.getJobInfo().jobId, "j-1");
}

TEST(DcBinaryTable, WritesTheSameBytes)
{
    const DcDataset ds = makeDc({timeColumn(), voltageColumn(), currentColumn()},
                                {{1.0, 2.0}, {-0.5, 0.25}, {0.1, 1.7976931348623157e308}});
    const auto table = dcDatasetToBinary(ds);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(*table, smallTable());
}

struct TableSizeCase {
    std::size_t bytes;
    std::size_t columns;
    std::size_t expectedTracks;
    std::size_t expectedRows;
};

class DcBinaryTableSize : public ::testing::TestWithParam<TableSizeCase> {};

TEST_P(DcBinaryTableSize, RowsFromWholeRowsOfBytes)
{
    const auto& c = GetParam();
    std::vector<ColumnHeader> columns(c.columns, timeColumn());
    std::string table;
    for (std::size_t i = 0; i < c.bytes; ++i) {
        table.push_back(static_cast<char>(i));
    }
    const DcDataset ds = dcDatasetFromBinary(table, LiveDataHeader("t", "s", columns), JobInfo{});
    ASSERT_EQ(ds.getTracks().size(), c.expectedTracks);
    for (const auto& track : ds.getTracks()) {
        EXPECT_EQ(track.size(), c.expectedRows);
    }
    EXPECT_EQ(ds.getRowCount(), c.expectedRows);
}

INSTANTIATE_TEST_SUITE_P(Cases, DcBinaryTableSize,
                         ::testing::Values(TableSizeCase{48, 3, 3, 2}, // exact
                                           TableSizeCase{50, 3, 3, 2}, // 2 trailing bytes ignored
                                           TableSizeCase{71, 3, 3, 2}, // almost a third row
                                           TableSizeCase{20, 3, 3, 0}, // less than one row
                                           TableSizeCase{0, 3, 3, 0},
                                           TableSizeCase{48, 0, 0, 0}, // no columns: no division by zero
                                           TableSizeCase{0, 0, 0, 0}));

TEST(DcBinaryTable, TrailingBytesDoNotShiftTheColumns)
{
    const DcDataset ds = dcDatasetFromBinary(smallTable() + "\x01\x02\x03", threeColumnHeader(), JobInfo{});
    EXPECT_EQ(ds.getTracks()[1], (std::vector<double>{-0.5, 0.25}));
}

TEST(DcBinaryTable, RoundTripsByteForByte)
{
    std::vector<std::vector<double>> tracks(4);
    for (int row = 0; row < 257; ++row) {
        tracks[0].push_back(row * 0.001);
        tracks[1].push_back(-row * 1e-300);
        tracks[2].push_back(NaN);
        tracks[3].push_back(row % 2 == 0 ? -0.0 : 1e300);
    }
    const DcDataset original =
        makeDc({timeColumn(), voltageColumn(), currentColumn(), ColumnHeader("x", "", "")}, std::move(tracks));
    const auto table = dcDatasetToBinary(original);
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->size(), 257u * 4u * 8u);
    LiveDataHeader header = original.getHeader();
    const DcDataset back = dcDatasetFromBinary(*table, std::move(header), JobInfo{});
    const auto again = dcDatasetToBinary(back);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(*again, *table);
}

TEST(DcBinaryTable, RaggedDatasetIsRefused)
{
    const DcDataset ragged =
        makeDc({timeColumn(), voltageColumn(), currentColumn()}, {{1.0, 2.0, 3.0}, {1.0, 2.0, 3.0}, {1.0, 2.0}});
    const auto table = dcDatasetToBinary(ragged);
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().getErrorCodeEnum(), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
    EXPECT_EQ(table.error().getMessageFormatString(), "resource content invalid: {0}");
    ASSERT_EQ(table.error().getMessageParameters().size(), 1u);
    EXPECT_EQ(std::get<std::string>(table.error().getMessageParameters()[0]),
              "DC column 2 has 2 values but column 0 has 3 - a ragged dataset cannot be written as a flat binary "
              "table");
}

TEST(DcBinaryTable, DatasetWithoutTracksWritesNothing)
{
    const auto table = dcDatasetToBinary(DcDataset());
    ASSERT_TRUE(table.has_value());
    EXPECT_TRUE(table->empty());
}
