#include "link_test_support.hpp"

#include "support/connected_session.hpp"

#include "marlek_json_common/json_common/configuration/device/workstation_info_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_writer.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <atomic>
#include <future>
#include <thread>

using Mode = FakeReplyOverride::Mode;

namespace {

constexpr const char* kJobId = "job-0001";

LiveDataHeader cvHeader()
{
    return LiveDataHeader("Cyclic Voltammetry", "CV",
                          {ColumnHeader("time", "s"), ColumnHeader("voltage", "V", "MAIN:1:U"),
                           ColumnHeader("current", "A", "MAIN:1:I")});
}

const std::vector<std::vector<double>> kCvTracks = {
    {0.0, 0.1, 0.2, 0.30000000000000004},
    {-0.5, -0.25, 1e-300, 0.75},
    {1.5e-6, -2.25e-9, 0.0, 3.0e-3},
};

std::string cvTable()
{
    std::string table;
    for (const auto& track : kCvTracks) {
        table += littleEndian(track);
    }
    return table;
}

using Waves = std::vector<std::vector<std::vector<double>>>;

// An impedance result, in the layout of current workstations.
EisDataset impedanceResult(bool withWaves = true)
{
    LiveDataHeaderEis header(
        "Electrochemical Impedance Spectroscopy", "EIS",
        {ColumnHeader("frequency", "Hz"), ColumnHeader("time", "s")},
        {ImpedanceDataHeader("MAIN:1:U", "MAIN:1:I", {ColumnHeader("|impedance|", "\xE2\x84\xA6"),
                                                      ColumnHeader("phase", "rad")},
                             "Z")},
        {PathDataHeader("MAIN:1:U", "voltage", {ColumnHeader("dc", "V")}, UserPolynomial()),
         PathDataHeader("MAIN:1:I", "current", {ColumnHeader("dc", "A")}, UserPolynomial())},
        {}, {});
    Waves waves;
    if (withWaves) {
        waves = {{{1.0, 2.0}, {3.0, 4.0, 5.0}, {6.0}}, {{-1.0, -2.0}, {-3.0, -4.0, -5.0}, {-6.0}}};
    }
    return EisDataset(std::move(header), {{{10.0, 20.5, 30.25}, {0.0, -0.125, -1.5}}},
                      {{{0.1, 0.2, 0.3}}, {{1e-3, 2e-3, 3e-3}}}, std::move(waves), {}, {},
                      {{1000.0, 100.0, 10.0}, {0.5, 1.5, 2.5}}, finishedJobInfo(kJobId));
}

class JobResults : public ConnectedLinkTest<> {
protected:
    std::string storeDcResult(const std::string& content, const std::string& jobId = kJobId)
    {
        return router().addResource(
            resultDescription(jobId, ResourceSubType::DATASET_DC,
                              resultHeader(finishedJobInfo(jobId), boost::json::value_from(cvHeader()))),
            content);
    }

    std::size_t downloads() { return router().requests("/JOB_RESULT/download").size(); }

    CvJob job = jobThatRan(kJobId);
};

template <typename Dataset>
std::shared_ptr<Dataset> as(const std::expected<std::shared_ptr<DataSet>, ErrorObject>& result)
{
    if (!result) {
        ADD_FAILURE() << formatted(result.error());
        return nullptr;
    }
    auto dataset = std::dynamic_pointer_cast<Dataset>(*result);
    EXPECT_TRUE(dataset) << "dataset of another type";
    return dataset;
}

} // namespace

TEST_F(JobResults, DcResultComesBackValueForValueWithTheStoredJobInformation)
{
    storeDcResult(cvTable());

    const auto dataset = as<DcDataset>(link->getJobResultData(job));
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->getHeader(), cvHeader());
    EXPECT_EQ(dataset->getHeader().getMeasurementType(), "Cyclic Voltammetry");
    ASSERT_EQ(dataset->getTracks().size(), kCvTracks.size());
    for (std::size_t column = 0; column < kCvTracks.size(); ++column) {
        EXPECT_EQ(dataset->getTracks()[column], kCvTracks[column]) << "column " << column;
    }
    // The stored job information, not the job's own (still RUNNING here).
    EXPECT_EQ(dataset->getJobInfo().jobId, kJobId);
    EXPECT_EQ(dataset->getJobInfo().status, JobStatusEnum::FINISHED);
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::RUNNING);
    // A DC result needs no protocol version.
    EXPECT_TRUE(router().requests("/id").empty());
}

TEST_F(JobResults, ContentShorterThanTheResourceIsRefused)
{
    storeDcResult(cvTable());

    // Too little would lose rows.
    router().setDownloadKnobs({.truncateBy = 1});
    const auto result = link->getJobResultData(job);
    ASSERT_FALSE(result);
    EXPECT_EQ(codeOf(result.error()), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
    EXPECT_EQ(formatted(result.error()), "resource content invalid: downloaded resource size invalid");
}

TEST_F(JobResults, ContentLongerThanTheResourceIsReadUpToItsLastFullRow)
{
    storeDcResult(cvTable());

    router().setDownloadKnobs({.extendBy = 5});
    const auto dataset = as<DcDataset>(link->getJobResultData(job));
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->getTracks(), kCvTracks);
}

TEST_F(JobResults, ImpedanceResultComesBackValueForValue)
{
    const EisDataset original = impedanceResult();
    const auto table = eisDatasetToBinary(original);
    ASSERT_TRUE(table) << formatted(table.error());
    router().addResource(resultDescription(kJobId, ResourceSubType::DATASET_AC,
                                           resultHeader(finishedJobInfo(kJobId), boost::json::value_from(table->header),
                                                        table->number_of_rows)),
                         table->data);

    const auto dataset = as<EisDataset>(link->getJobResultData(job));
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->getRowCount(), 3u);
    EXPECT_EQ(dataset->getImpedances(), original.getImpedances());
    for (std::size_t path = 0; path < 2; ++path) {
        EXPECT_EQ(dataset->getPathDcValues(path), original.getPathDcValues(path)) << "path " << path;
        EXPECT_EQ(dataset->getPathWaves(path), original.getPathWaves(path)) << "path " << path;
    }
    EXPECT_EQ(dataset->getFrequencies(), original.getFrequencies());
    EXPECT_EQ(dataset->getTimes(), original.getTimes());
    EXPECT_EQ(dataset->getWaveForRow(1, 1), (std::vector<double>{-3.0, -4.0, -5.0}));
    EXPECT_EQ(dataset->getJobInfo().jobId, kJobId);
    // List, download, then the protocol version for the table layout.
    EXPECT_EQ(router().requests("/id").size(), 1u);
}

// The table layout depends on the version: a cancelled version query ends
// the call instead of reading the table with a guessed layout.
TEST_F(JobResults, CancelledWhileAskingForTheVersionEndsStopped)
{
    const EisDataset original = impedanceResult();
    const auto table = eisDatasetToBinary(original);
    ASSERT_TRUE(table);
    router().addResource(resultDescription(kJobId, ResourceSubType::DATASET_AC,
                                           resultHeader(finishedJobInfo(kJobId), boost::json::value_from(table->header),
                                                        table->number_of_rows)),
                         table->data);
    router().setReplyOverride("/id", {.mode = Mode::NoReply});
    link->setRequestTimeout(std::chrono::minutes(10));

    auto result = std::async(std::launch::async, [this] { return link->getJobResultData(job); });
    ASSERT_TRUE(askedFor(workstation, "/id"));
    link->cancelPendingOperations();
    ASSERT_EQ(result.wait_for(20s), std::future_status::ready);
    const auto dataset = result.get();
    ASSERT_FALSE(dataset);
    EXPECT_EQ(dataset.error(), ErrorObject(ErrorCodeEnum::STOPPED_MANUALLY, "manually stopped"));
}

TEST_F(JobResults, ImpedanceResultWithoutRowCountTakesTheRowsFromTheSize)
{
    const EisDataset original = impedanceResult(false);
    const auto table = eisDatasetToBinary(original);
    ASSERT_TRUE(table);
    const auto header = resultHeader(finishedJobInfo(kJobId), boost::json::value_from(table->header));
    router().addResource(resultDescription(kJobId, ResourceSubType::DATASET_AC, header), table->data);

    const auto dataset = as<EisDataset>(link->getJobResultData(job));
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->getFrequencies(), original.getFrequencies());
    EXPECT_EQ(dataset->getImpedances(), original.getImpedances());
}

TEST_F(JobResults, RowCountThatIsNoCountIsRefusedBeforeTheDownload)
{
    const EisDataset original = impedanceResult(false);
    const auto table = eisDatasetToBinary(original);
    ASSERT_TRUE(table);
    const auto storeWithRows = [&](const std::string& jobId, boost::json::value rows) {
        auto header = resultHeader(finishedJobInfo(jobId), boost::json::value_from(table->header));
        header["number_of_rows"] = std::move(rows);
        router().addResource(resultDescription(jobId, ResourceSubType::DATASET_AC, header), table->data);
    };

    const boost::json::value forged[] = {-1, 2.5, -3.0, 1e300};
    for (std::size_t i = 0; i < std::size(forged); ++i) {
        const std::string jobId = "job-100" + std::to_string(i);
        storeWithRows(jobId, forged[i]);
        CvJob forgedJob = jobThatRan(jobId);
        std::optional<std::expected<std::shared_ptr<DataSet>, ErrorObject>> result;
        ASSERT_NO_THROW(result = link->getJobResultData(forgedJob)) << forged[i];
        ASSERT_FALSE(*result) << forged[i];
        EXPECT_EQ(result->error(), ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                                               "number_of_rows is not a row count"));
    }
    EXPECT_EQ(downloads(), 0u);

    // A whole number written as a double is a count.
    storeWithRows(kJobId, static_cast<double>(table->number_of_rows));
    const auto dataset = as<EisDataset>(link->getJobResultData(job));
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->getFrequencies(), original.getFrequencies());
}

TEST_F(JobResults, FirstResourceOfTheJobIsUsed)
{
    storeDcResult(littleEndian({1, 2, 3}), "job-0002");
    storeDcResult(cvTable());
    storeDcResult(littleEndian({9, 9, 9}));

    const auto dataset = as<DcDataset>(link->getJobResultData(job));
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->getTracks(), kCvTracks);
}

TEST_F(JobResults, JobThatNeverRanOrDiscardedItsDataIsRefusedWithoutAsking)
{
    CvJob neverRan(CvParameters{});
    const auto notStarted = link->getJobResultData(neverRan);
    ASSERT_FALSE(notStarted);
    EXPECT_EQ(notStarted.error(),
              ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "job", "job_id", ""));

    CvJob shortId = jobThatRan("j-01");
    EXPECT_EQ(codeOf(link->getJobResultData(shortId).error()), ErrorCodeEnum::ID_NOT_FOUND);

    job.jobOptions.discard_result_data = true;
    const auto discarded = link->getJobResultData(job);
    ASSERT_FALSE(discarded);
    EXPECT_EQ(codeOf(discarded.error()), ErrorCodeEnum::RESULT_DATA_DISCARDED);
    EXPECT_EQ(formatted(discarded.error()),
              "job result data is not available because 'discard_result_data' was set");

    EXPECT_TRUE(router().requests("/JOB_RESULT/list").empty());
}

TEST_F(JobResults, MissingResourceAndFailedListAreReported)
{
    storeDcResult(cvTable(), "job-0002");
    const auto missing = link->getJobResultData(job);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'",
                                           "job result resource", "job_id", kJobId));

    FakeReplyOverride failed;
    failed.mode = Mode::Failed;
    failed.error = ErrorObject(ErrorCodeEnum::ENDPOINT_NOT_FOUND, "endpoint {0} not found", "/JOB_RESULT/list");
    router().setReplyOverride("/JOB_RESULT/list", failed);
    const auto listFailed = link->getJobResultData(job);
    ASSERT_FALSE(listFailed);
    EXPECT_EQ(listFailed.error(), failed.error);
}

struct BadResultCase {
    const char* name;
    ResourceSubType subType;
    std::optional<boost::json::value> header;
    const char* message;
};

class BadResults : public JobResults, public ::testing::WithParamInterface<BadResultCase> {};

TEST_P(BadResults, AreRefusedBeforeAnyDownload)
{
    const BadResultCase& bad = GetParam();
    router().addResource(resultDescription(kJobId, bad.subType, bad.header), cvTable());

    const auto result = link->getJobResultData(job);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", bad.message));
    EXPECT_EQ(downloads(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BadResults,
    ::testing::Values(
        BadResultCase{"DefaultSubType", ResourceSubType::DEFAULT,
                      resultHeader(finishedJobInfo(kJobId), boost::json::value_from(cvHeader())),
                      "unknown or mismatching dataset type"},
        BadResultCase{"NoHeader", ResourceSubType::DATASET_DC, std::nullopt, "result data header is not an object"},
        BadResultCase{"ArrayHeader", ResourceSubType::DATASET_DC, boost::json::array{1, 2},
                      "result data header is not an object"},
        BadResultCase{"NoJobInfo", ResourceSubType::DATASET_DC,
                      boost::json::object{{"job_data_header", boost::json::value_from(cvHeader())}},
                      "result data header cannot be parsed"},
        BadResultCase{"DataHeaderNotObject", ResourceSubType::DATASET_AC,
                      boost::json::object{{"job_info", jobInfoToJson(finishedJobInfo(kJobId))},
                                          {"job_data_header", "EIS"}},
                      "result data header cannot be parsed"}),
    [](const auto& info) { return std::string(info.param.name); });

// The protocol version decides the impedance table's layout, so it is asked
// for once per connection, and only a version actually read is kept.
class DeviceProtocolVersion : public ConnectedSession {
protected:
    void answerVersion(std::uint64_t version)
    {
        WorkstationInfo info;
        info.protocol_version = version;
        FakeReplyOverride reply;
        reply.mode = Mode::ExtraKeys;
        reply.extraKeys = {{"workstation", boost::json::value_from(info)}};
        workstation.router().setReplyOverride("/id", reply);
    }

    void failVersion(Mode mode)
    {
        FakeReplyOverride reply;
        reply.mode = mode;
        workstation.router().setReplyOverride("/id", reply);
    }

    std::size_t queries() { return workstation.router().requests("/id").size(); }
};

TEST_F(DeviceProtocolVersion, IsAskedOncePerConnection)
{
    EXPECT_EQ(session->getDeviceProtocolVersion(), 12u);
    failVersion(Mode::Failed);
    EXPECT_EQ(session->getDeviceProtocolVersion(), 12u);
    EXPECT_EQ(queries(), 1u);

    session->disconnect();
    workstation.router().clearReplyOverrides();
    answerVersion(9);
    ASSERT_EQ(codeOf(session->connect()), ErrorCodeEnum::NONE);
    EXPECT_EQ(session->getDeviceProtocolVersion(), 9u);
    EXPECT_EQ(queries(), 2u);
}

TEST_F(DeviceProtocolVersion, DisconnectMayForgetItWhileAnotherThreadAsks)
{
    for (int round = 0; round < 5; ++round) {
        std::atomic<bool> done = false;
        std::thread asking([&] {
            while (!done) {
                const std::uint64_t version = session->getDeviceProtocolVersion();
                EXPECT_TRUE(version == 12u || version == 0u) << version;
            }
        });
        session->disconnect();
        done = true;
        asking.join();
        ASSERT_EQ(codeOf(session->connect()), ErrorCodeEnum::NONE);
        EXPECT_EQ(session->getDeviceProtocolVersion(), 12u);
    }
}

TEST_F(DeviceProtocolVersion, FailuresAreNotKept)
{
    failVersion(Mode::NoReply);
    EXPECT_EQ(session->getDeviceProtocolVersion(), 0u);
    failVersion(Mode::WithoutResultKeys);
    EXPECT_EQ(session->getDeviceProtocolVersion(), 0u);
    answerVersion(9);
    EXPECT_EQ(session->getDeviceProtocolVersion(), 9u);
    EXPECT_EQ(session->getDeviceProtocolVersion(), 9u);
    EXPECT_EQ(queries(), 3u);
}

TEST_F(DeviceProtocolVersion, ATimedOutQueryDoesNotSpoilLaterImpedanceResults)
{
    // Older workstations store one wave per row and path; without a
    // "wave_id" column the current layout reads no waves at all.
    LiveDataHeaderEis header("Electrochemical Impedance Spectroscopy", "EIS", {ColumnHeader("frequency", "Hz")}, {},
                             {PathDataHeader("MAIN:1:U", "voltage", {ColumnHeader("dc", "V")}, UserPolynomial())}, {},
                             {});
    const std::string table = littleEndian({100.0, 10.0}) + littleEndian({0.5, 0.25}) +
                              littleEndian({1.0, 2.0, 3.0}) + littleEndian({4.0, 5.0, 6.0});
    workstation.router().addResource(
        resultDescription(kJobId, ResourceSubType::DATASET_AC,
                          resultHeader(finishedJobInfo(kJobId), boost::json::value_from(header), 2)),
        table);
    CvJob job = jobThatRan(kJobId);

    failVersion(Mode::NoReply);
    const auto first = session->getJobResultData(job);
    ASSERT_TRUE(first);
    EXPECT_TRUE(std::dynamic_pointer_cast<EisDataset>(*first)->getPathWaves(0).empty());

    answerVersion(9);
    const auto second = session->getJobResultData(job);
    ASSERT_TRUE(second);
    const auto dataset = std::dynamic_pointer_cast<EisDataset>(*second);
    EXPECT_EQ(dataset->getPathWaves(0), (std::vector<std::vector<double>>{{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}}));
    EXPECT_EQ(dataset->getPathDcValues(0), (std::vector<double>{0.5, 0.25}));
}
