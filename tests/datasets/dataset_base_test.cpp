#include "dataset_test_support.hpp"

#include "marlek_link_json/jobs/dataset/track_names.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace dataset_test;

namespace {

DcDataset single(std::string jobId, double firstTime, std::size_t rows)
{
    std::vector<double> time;
    std::vector<double> voltage;
    for (std::size_t i = 0; i < rows; ++i) {
        time.push_back(firstTime + static_cast<double>(i));
        voltage.push_back(0.1 * static_cast<double>(i));
    }
    return makeDc({timeColumn(), voltageColumn()}, {time, voltage}, std::move(jobId));
}

std::vector<std::string> jobIdsOf(const DataSet& dataset)
{
    std::vector<std::string> ids;
    for (const auto& part : dataset.getIncludedDatasets()) {
        ids.push_back(part.jobInfo.jobId);
    }
    return ids;
}

} // namespace

TEST(DatasetInfo, DefaultIsValueInitialised)
{
    const DatasetInfo info;
    EXPECT_EQ(info.type, DatasetType::DC);
    EXPECT_EQ(info.job_type, "");
    EXPECT_EQ(info.job_type_short, "");
    EXPECT_EQ(info.num_rows, 0u);
    EXPECT_EQ(info.first_time_value, 0.0);
    EXPECT_EQ(info.jobInfo.status, JobStatusEnum::UNKNOWN);
    EXPECT_EQ(info.jobInfo.statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_EQ(static_cast<int>(DatasetType::AC), 1);
    static_assert(sizeof(DatasetType) == 1);
}

TEST(DataSetMerge, FreshDatasetHasNoParts)
{
    EXPECT_TRUE(single("a", 0.0, 2).getIncludedDatasets().empty());
    EXPECT_TRUE(DcDataset().getIncludedDatasets().empty());
}

TEST(DataSetMerge, ListsEveryPartInJoiningOrder)
{
    DcDataset a = single("a", 5.0, 3);
    const DcDataset b = single("b", 0.0, 2);
    a.mergeIncludedDatasets(b);
    EXPECT_EQ(jobIdsOf(a), (std::vector<std::string>{"a", "b"}));
    a.mergeIncludedDatasets(single("c", 0.0, 1));
    EXPECT_EQ(jobIdsOf(a), (std::vector<std::string>{"a", "b", "c"}));

    DcDataset d = single("d", 0.0, 1);
    d.mergeIncludedDatasets(a);
    EXPECT_EQ(jobIdsOf(d), (std::vector<std::string>{"d", "a", "b", "c"}));
}

TEST(DataSetMerge, FirstEntryDescribesTheReceiverBeforeItsRowsGrew)
{
    DcDataset a = single("a", 5.0, 3);
    ASSERT_TRUE(a.append(single("b", 0.0, 2), 0.0));
    ASSERT_EQ(a.getRowCount(), 5u);
    const auto& parts = a.getIncludedDatasets();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].num_rows, 3u);
    EXPECT_EQ(parts[0].first_time_value, 5.0);
    EXPECT_EQ(parts[0].job_type, "Cyclic Voltammetry");
    EXPECT_EQ(parts[1].num_rows, 2u);
    EXPECT_EQ(parts[1].first_time_value, 0.0);
}

TEST(DataSetMerge, MergingADatasetIntoItselfListsItTwice)
{
    DcDataset a = single("a", 1.0, 2);
    a.mergeIncludedDatasets(a);
    EXPECT_EQ(jobIdsOf(a), (std::vector<std::string>{"a", "a"}));
    // Now combined: its two parts are appended as copies.
    a.mergeIncludedDatasets(a);
    EXPECT_EQ(jobIdsOf(a), (std::vector<std::string>{"a", "a", "a", "a"}));
}

TEST(TrackAndUnitNames, TextsAsTheWorkstationWritesThem)
{
    EXPECT_STREQ(TrackNames::TIME, "time");
    EXPECT_STREQ(TrackNames::IMPEDANCE_ABSOLUTE, "|impedance|");
    EXPECT_STREQ(TrackNames::BANDWITH, "bandwith");
    EXPECT_STREQ(TrackNames::WAVE_SIZE, "wave_size");
    EXPECT_STREQ(TrackNames::PHASE_DRIFT, "phase drift");
    EXPECT_EQ(std::string(UnitNames::IMPEDANCE_ABSOLUTE), std::string("\xE2\x84\xA6"));
    EXPECT_STREQ(UnitNames::PHASE_RAD, "rad");
    EXPECT_STREQ(UnitNames::DRIFT, "1/period");
    EXPECT_STREQ(UnitNames::THD, "%");
    EXPECT_STREQ(UnitNames::FILTER_HZ, "Hz");
    EXPECT_STREQ(UnitNames::PERIODS, "");
}
