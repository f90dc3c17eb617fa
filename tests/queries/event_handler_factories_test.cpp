#include "queries_test_support.hpp"

#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedataroweis.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis.hpp"

#include <boost/system/system_error.hpp>

#include <tuple>

namespace json = boost::json;

namespace {

const json::object kJobInfo{{"job_id", "job-0001"}, {"status", "RUNNING"}, {"status_detail", "NOT_FINISHED"}};

const json::object kHeader{
    {"measurement_type", "Cyclic Voltammetry"},
    {"measurement_type_short", "CV"},
    {"columns", json::object{{"dimensions", json::array{"time", "voltage"}},
                             {"units", json::array{"s", "V"}},
                             {"urns", json::array{"MAIN:1:T", ""}}}},
};

const json::object kEisHeader = json::parse(
    R"({"measurement_type":"Electrochemical Impedance Spectroscopy","measurement_type_short":"EIS",)"
    R"("impedances":[{"paths":{"numerator":"A:1:U","denominator":"A:1:I"},"impedance_name":"cell",)"
    R"("dimensions":["impedance"],"units":["Ohm"]}],)"
    R"("paths":[{"name":"voltage","dimensions":["voltage"],"polynomial":[0.5,2],"units":["V"],"uri":"A:1:U"}],)"
    R"("async_paths":[],"potentiostats":[{"dimensions":["bias"],"polynomial":[1],"units":["V"],"uri":"MAIN:1:POT"}],)"
    R"("meta":{"dimensions":["frequency"],"units":["Hz"]}})")
                                    .as_object();

// A session that is never connected: the tests feed its dispatch directly,
// the way the connection's worker thread does.
class EventFactories : public ::testing::Test {
protected:
    void dispatchEvent(std::string_view type, json::object event)
    {
        event["type"] = type;
        session.dispatchIncommingJson(json::serialize(json::object{{"type", "EVENT"}, {"event", std::move(event)}}));
    }

    LinkJsonSession session{"127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", ""};
};

} // namespace

TEST_F(EventFactories, EachFactoryFilesItsHandlerUnderItsEventType)
{
    using F = MarlekLinkEventHandler;
    const std::vector<std::pair<std::shared_ptr<F>, EventTypeEnum>> handlers{
        {F::makeLiveDataHeaderEventHandler({}), EventTypeEnum::LIVE_DATA_HEADER},
        {F::makeLiveDataHeaderEisEventHandler({}), EventTypeEnum::LIVE_DATA_HEADER_EIS},
        {F::makeLiveDataRowsEventHandler({}), EventTypeEnum::LIVE_DATA_ROWS},
        {F::makeLiveDataRowEisEventHandler({}), EventTypeEnum::LIVE_DATA_ROW_EIS},
        {F::makeLiveDataWaveEventHandler({}), EventTypeEnum::LIVE_DATA_WAVES},
        {F::makeLiveDataFinishedEventHandler({}), EventTypeEnum::LIVE_DATA_FINISHED},
        {F::makeJobStatusUpdateEventHandler({}), EventTypeEnum::JOB_STATUS_UPDATE},
        {F::makeJobDoneEventHandler({}), EventTypeEnum::JOB_DONE},
        {F::makeJobLogMessageEventHandler({}), EventTypeEnum::MESSAGE_FROM_JOB},
        {F::makeLogMessageEventHandler({}), EventTypeEnum::MESSAGE_FROM_SERVER},
    };
    for (const auto& [handler, type] : handlers) {
        EXPECT_EQ(handler->getEventType(), type);
        ASSERT_TRUE(handler->getRawCallback());
    }
    // Two handlers of one callback are two registrations.
    const auto callback = [](const JobInfo&) {};
    EXPECT_NE(F::makeJobDoneEventHandler(callback)->getRawCallback(),
              F::makeJobDoneEventHandler(callback)->getRawCallback());
}

TEST_F(EventFactories, HeadersArriveWithTheirJobInformation)
{
    std::vector<std::pair<LiveDataHeader, std::string>> dc;
    std::vector<std::pair<LiveDataHeaderEis, std::string>> eis;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataHeaderEventHandler(
        [&](const LiveDataHeader& header, const JobInfo& info) { dc.emplace_back(header, info.jobId); }));
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataHeaderEisEventHandler(
        [&](const LiveDataHeaderEis& header, const JobInfo& info) { eis.emplace_back(header, info.jobId); }));

    dispatchEvent("LIVE_DATA_HEADER", {{"header", kHeader}, {"job_info", kJobInfo}});
    dispatchEvent("LIVE_DATA_HEADER", {{"header", kHeader}});
    dispatchEvent("LIVE_DATA_HEADER", {{"header", kHeader}, {"job_info", "job-0001"}});
    dispatchEvent("LIVE_DATA_HEADER", {{"header", json::array{}}, {"job_info", kJobInfo}});
    dispatchEvent("LIVE_DATA_HEADER_EIS", {{"header", kEisHeader}, {"job_info", kJobInfo}});

    ASSERT_EQ(dc.size(), 1U);
    EXPECT_EQ(dc[0].first.getShortMeasurementType(), "CV");
    EXPECT_EQ(dc[0].first.getColumns().size(), 2U);
    EXPECT_EQ(dc[0].second, "job-0001");
    ASSERT_EQ(eis.size(), 1U);
    EXPECT_EQ(eis[0].first.getShortMeasurementType(), "EIS");
    EXPECT_EQ(eis[0].first.getImpedances().size(), 1U);
    EXPECT_EQ(eis[0].first.getPaths().size(), 1U);
    EXPECT_EQ(eis[0].first.getPotentiostats().size(), 1U);
    EXPECT_EQ(eis[0].second, "job-0001");
}

struct RowsCase {
    const char* name;
    json::value data;
    std::vector<std::vector<std::vector<double>>> delivered;
};

class RowsEvents : public EventFactories, public ::testing::WithParamInterface<RowsCase> {};

TEST_P(RowsEvents, DeliversNonEmptyRowsOnly)
{
    std::vector<std::vector<std::vector<double>>> received;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&](const std::vector<std::vector<double>>& rows) { received.push_back(rows); }));
    json::object event;
    if (!GetParam().data.is_null()) {
        event["data"] = GetParam().data;
    }
    dispatchEvent("LIVE_DATA_ROWS", std::move(event));
    EXPECT_EQ(received, GetParam().delivered);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowsEvents,
    ::testing::Values(
        RowsCase{"TwoRows", json::parse("[[1, 2.5], [3, 4]]"), {{{1.0, 2.5}, {3.0, 4.0}}}},
        RowsCase{"OneEmptyRow", json::parse("[[]]"), {{{}}}},
        RowsCase{"NoRows", json::array{}, {}},
        RowsCase{"DataMissing", nullptr, {}},
        RowsCase{"DataAnObject", json::object{{"0", 1}}, {}},
        RowsCase{"TextCell", json::parse(R"([[1, "2"]])"), {}},
        RowsCase{"RowNotAnArray", json::parse("[1]"), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventFactories, RowsThatDoNotConvertRaiseFromTheRawCallback)
{
    bool called = false;
    const auto handler =
        MarlekLinkEventHandler::makeLiveDataRowsEventHandler([&](const auto&) { called = true; });
    const json::object event{{"type", "LIVE_DATA_ROWS"}, {"data", json::parse(R"([[1, "x"]])")}};
    EXPECT_THROW((*handler->getRawCallback())(event), boost::system::system_error);
    EXPECT_FALSE(called);

    // The dispatch contains it: the next handler of the event still runs.
    int others = 0;
    session.setEventHandler(handler);
    session.setEventHandler(
        MarlekLinkEventHandler::makeLiveDataRowsEventHandler([&](const auto&) { ++others; }));
    ::testing::internal::CaptureStderr();
    dispatchEvent("LIVE_DATA_ROWS", {{"data", json::parse(R"([[1, "x"]])")}});
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(called);
    EXPECT_EQ(others, 0);
    dispatchEvent("LIVE_DATA_ROWS", {{"data", json::parse("[[5]]")}});
    EXPECT_TRUE(called);
    EXPECT_EQ(others, 1);
}

TEST_F(EventFactories, ImpedanceRowsNeedAllSixListsAndMetaValues)
{
    std::vector<LiveDataRowEis> rows;
    session.setEventHandler(
        MarlekLinkEventHandler::makeLiveDataRowEisEventHandler([&](const LiveDataRowEis& row) { rows.push_back(row); }));
    const json::object complete = json::parse(R"({"impedances":[[1,2]],"paths":[[3]],"paths_waves":[[]],)"
                                              R"("async_paths":[],"potentiostats":[[4]],"meta":[100,0.5]})")
                                      .as_object();
    dispatchEvent("LIVE_DATA_ROW_EIS", complete);
    for (const char* key : {"impedances", "paths", "paths_waves", "async_paths", "potentiostats", "meta"}) {
        json::object lacking = complete;
        lacking.erase(key);
        dispatchEvent("LIVE_DATA_ROW_EIS", lacking);
    }
    json::object noMeta = complete;
    noMeta["meta"] = json::array{};
    dispatchEvent("LIVE_DATA_ROW_EIS", noMeta);

    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].getMeta(), (std::vector<double>{100.0, 0.5}));
    EXPECT_EQ(rows[0].getImpedances(), (std::vector<std::vector<double>>{{1.0, 2.0}}));
    EXPECT_EQ(rows[0].getPotentiostats(), (std::vector<std::vector<double>>{{4.0}}));
}

TEST_F(EventFactories, WaveBlocksNeedAtLeastOneWave)
{
    std::vector<LiveDataWavesEis> blocks;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataWaveEventHandler(
        [&](const LiveDataWavesEis& waves) { blocks.push_back(waves); }));
    dispatchEvent("LIVE_DATA_WAVES", {{"paths_waves", json::parse("[[0.5, 1], [2]]")}, {"offset", 4},
                                      {"full_wave_size", 16}});
    dispatchEvent("LIVE_DATA_WAVES", {{"offset", 4}, {"full_wave_size", 16}});
    dispatchEvent("LIVE_DATA_WAVES", {{"paths_waves", json::array{}}, {"offset", 4}});

    ASSERT_EQ(blocks.size(), 1U);
    EXPECT_EQ(blocks[0].getWaves(), (std::vector<std::vector<double>>{{0.5, 1.0}, {2.0}}));
    EXPECT_EQ(blocks[0].getOffset(), 4U);
    EXPECT_EQ(blocks[0].getFullWaveSize(), 16U);
}

TEST_F(EventFactories, FinishedAndDoneCarryTheJobInformation)
{
    std::vector<std::string> finished;
    std::vector<std::pair<std::string, JobStatusEnum>> done;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataFinishedEventHandler(
        [&](const JobInfo& info) { finished.push_back(info.jobId); }));
    session.setEventHandler(MarlekLinkEventHandler::makeJobDoneEventHandler(
        [&](const JobInfo& info) { done.emplace_back(info.jobId, info.status); }));

    dispatchEvent("LIVE_DATA_FINISHED", {{"job_info", kJobInfo}});
    dispatchEvent("LIVE_DATA_FINISHED", {{"job_info", json::array{}}});
    ASSERT_EQ(finished, (std::vector<std::string>{"job-0001"}));

    // Completions of jobs this client never started reach the handler too,
    // but only those with a text request id.
    const json::object finishedInfo{{"job_id", "job-0042"}, {"status", "FINISHED"}};
    session.dispatchIncommingJson(json::serialize(
        json::object{{"type", "JOB_DONE"}, {"request_id", "other-client"}, {"job_info", finishedInfo}}));
    session.dispatchIncommingJson(json::serialize(json::object{{"type", "JOB_DONE"}, {"job_info", finishedInfo}}));
    session.dispatchIncommingJson(json::serialize(json::object{{"type", "JOB_DONE"}, {"request_id", "other-client"}}));
    ASSERT_EQ(done.size(), 1U);
    EXPECT_EQ(done[0], std::make_pair(std::string("job-0042"), JobStatusEnum::FINISHED));
}

struct StatusCase {
    const char* name;
    json::value newStatus;
    std::vector<JobStatusEnum> delivered;
};

class StatusEvents : public EventFactories, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusEvents, StatusTextsAreMatchedExactly)
{
    std::vector<JobStatusEnum> received;
    std::vector<std::string> jobIds;
    session.setEventHandler(MarlekLinkEventHandler::makeJobStatusUpdateEventHandler(
        [&](JobStatusEnum status, const JobInfo& info) {
            received.push_back(status);
            jobIds.push_back(info.jobId);
        }));
    dispatchEvent("JOB_STATUS_UPDATE", {{"new_status", GetParam().newStatus}, {"job_info", kJobInfo}});
    EXPECT_EQ(received, GetParam().delivered);
    for (const auto& jobId : jobIds) {
        EXPECT_EQ(jobId, "job-0001");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StatusEvents,
    ::testing::Values(StatusCase{"Running", "RUNNING", {JobStatusEnum::RUNNING}},
                      StatusCase{"Deleted", "DELETED", {JobStatusEnum::DELETED}},
                      StatusCase{"LowerCase", "running", {JobStatusEnum::UNKNOWN}},
                      StatusCase{"NoStatusName", "PAUSED", {JobStatusEnum::UNKNOWN}},
                      StatusCase{"TextAfterNul", json::string(std::string_view("RUNNING\0x", 9)),
                                 {JobStatusEnum::UNKNOWN}},
                      StatusCase{"Number", 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventFactories, StatusUpdateWithoutJobInformationIsNotDelivered)
{
    int calls = 0;
    session.setEventHandler(
        MarlekLinkEventHandler::makeJobStatusUpdateEventHandler([&](JobStatusEnum, const JobInfo&) { ++calls; }));
    dispatchEvent("JOB_STATUS_UPDATE", {{"new_status", "RUNNING"}});
    EXPECT_EQ(calls, 0);
}

using JobLog = std::tuple<std::string, LogSeverityEnum, std::string, std::string>;
using ServerLog = std::tuple<LogSeverityEnum, std::string, std::string>;

TEST_F(EventFactories, LogMessagesGiveTheirFieldsInTheCallbacksOrder)
{
    std::vector<JobLog> jobLogs;
    std::vector<ServerLog> serverLogs;
    session.setEventHandler(MarlekLinkEventHandler::makeJobLogMessageEventHandler(
        [&](const std::string& jobId, LogSeverityEnum severity, const std::string& dateTime,
            const std::string& message) { jobLogs.emplace_back(jobId, severity, dateTime, message); }));
    session.setEventHandler(MarlekLinkEventHandler::makeLogMessageEventHandler(
        [&](LogSeverityEnum severity, const std::string& dateTime, const std::string& message) {
            serverLogs.emplace_back(severity, dateTime, message);
        }));

    const json::object jobMessage{{"severity", "WARNING"}, {"message", "M"}, {"job_id", "J"}, {"date_time", "T"}};
    dispatchEvent("MESSAGE_FROM_JOB", {{"message", jobMessage}});
    json::object unknownSeverity = jobMessage;
    unknownSeverity["severity"] = "warning";
    dispatchEvent("MESSAGE_FROM_JOB", {{"message", unknownSeverity}});
    json::object withoutJob = jobMessage;
    withoutJob.erase("job_id");
    dispatchEvent("MESSAGE_FROM_JOB", {{"message", withoutJob}});
    json::object numericJob = jobMessage;
    numericJob["job_id"] = 7;
    dispatchEvent("MESSAGE_FROM_JOB", {{"message", numericJob}});
    dispatchEvent("MESSAGE_FROM_JOB", {{"message", "M"}});

    EXPECT_EQ(jobLogs, (std::vector<JobLog>{{"J", LogSeverityEnum::WARNING, "T", "M"},
                                            {"J", LogSeverityEnum::DEBUG, "T", "M"}}));

    dispatchEvent("MESSAGE_FROM_SERVER", {{"message", jobMessage}});
    json::object critical{{"severity", "CRITICAL_ERROR"}, {"message", std::string_view("a\0b", 3)},
                          {"date_time", "2024-05-01T10:00:00"}};
    dispatchEvent("MESSAGE_FROM_SERVER", {{"message", critical}});
    critical.erase("date_time");
    dispatchEvent("MESSAGE_FROM_SERVER", {{"message", critical}});

    EXPECT_EQ(serverLogs, (std::vector<ServerLog>{{LogSeverityEnum::WARNING, "T", "M"},
                                                  {LogSeverityEnum::CRITICAL_ERROR, "2024-05-01T10:00:00",
                                                   std::string("a\0b", 3)}}));
}

// Called into, an empty user callback would raise std::bad_function_call on
// the connection's worker thread for every event.
TEST_F(EventFactories, EmptyUserCallbacksAreSkipped)
{
    using F = MarlekLinkEventHandler;
    const std::vector<std::pair<std::shared_ptr<F>, json::object>> cases{
        {F::makeLiveDataHeaderEventHandler({}), {{"header", kHeader}, {"job_info", kJobInfo}}},
        {F::makeLiveDataHeaderEisEventHandler({}), {{"header", kEisHeader}, {"job_info", kJobInfo}}},
        {F::makeLiveDataRowsEventHandler({}), {{"data", json::parse("[[1]]")}}},
        {F::makeLiveDataRowEisEventHandler({}),
         json::parse(R"({"impedances":[],"paths":[],"paths_waves":[],"async_paths":[],"potentiostats":[],"meta":[1]})")
             .as_object()},
        {F::makeLiveDataWaveEventHandler({}), {{"paths_waves", json::parse("[[1]]")}}},
        {F::makeLiveDataFinishedEventHandler({}), {{"job_info", kJobInfo}}},
        {F::makeJobStatusUpdateEventHandler({}), {{"new_status", "RUNNING"}, {"job_info", kJobInfo}}},
        {F::makeJobDoneEventHandler({}), {{"job_info", kJobInfo}}},
        {F::makeJobLogMessageEventHandler({}),
         {{"message", json::object{{"severity", "DEBUG"}, {"message", "m"}, {"job_id", "j"}, {"date_time", "t"}}}}},
        {F::makeLogMessageEventHandler({}),
         {{"message", json::object{{"severity", "DEBUG"}, {"message", "m"}, {"date_time", "t"}}}}},
    };
    for (const auto& [handler, event] : cases) {
        EXPECT_NO_THROW((*handler->getRawCallback())(event)) << eventTypeName(handler->getEventType());
    }

    // Through the dispatch: nothing on the error stream, and the set callback
    // beside it still gets the event.
    int delivered = 0;
    session.setEventHandler(F::makeLogMessageEventHandler({}));
    session.setEventHandler(F::makeLogMessageEventHandler(
        [&](LogSeverityEnum, const std::string&, const std::string&) { ++delivered; }));
    ::testing::internal::CaptureStderr();
    dispatchEvent("MESSAGE_FROM_SERVER",
                  {{"message", json::object{{"severity", "DEBUG"}, {"message", "m"}, {"date_time", "t"}}}});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(delivered, 1);
}

// The handlers work on events that arrive over a real connection as well.
TEST_F(ConnectedSession, TypedHandlersReceivePushedEvents)
{
    Inbox<std::vector<std::vector<double>>> rows;
    Inbox<JobLog> logs;
    session->setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&](const std::vector<std::vector<double>>& received) { rows.push(received); }));
    session->setEventHandler(MarlekLinkEventHandler::makeJobLogMessageEventHandler(
        [&](const std::string& jobId, LogSeverityEnum severity, const std::string& dateTime,
            const std::string& message) { logs.push({jobId, severity, dateTime, message}); }));

    workstation.sendText(R"({"type":"EVENT","event":{"type":"LIVE_DATA_ROWS","data":[[0.1,-2],[3,4e-3]]}})");
    workstation.sendText(R"({"type":"EVENT","event":{"type":"MESSAGE_FROM_JOB","message":)"
                         R"({"severity":"MESSAGE","message":"ramp done","job_id":"job-0003","date_time":"now"}}})");
    ASSERT_TRUE(rows.waitForCount(1));
    ASSERT_TRUE(logs.waitForCount(1));
    EXPECT_EQ(rows.snapshot()[0], (std::vector<std::vector<double>>{{0.1, -2.0}, {3.0, 4e-3}}));
    EXPECT_EQ(logs.snapshot()[0], (JobLog{"job-0003", LogSeverityEnum::MESSAGE, "now", "ramp done"}));
}
