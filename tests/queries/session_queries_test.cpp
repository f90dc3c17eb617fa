#include "queries_test_support.hpp"

#include "marlek_link_json/websocket_connection_info_json.hpp"

#include <boost/system/system_error.hpp>

#include <optional>

namespace json = boost::json;

using SessionQueries = ConnectedSession;

namespace {

WorkstationInfo defaultWorkstation()
{
    WorkstationInfo info;
    info.protocol_version = 12;
    info.serial_number = "SN-1";
    info.model_name = "M";
    info.firmware_version = "1.0";
    info.firmware_build_id = "b";
    info.cpu_card_uuid = "u";
    info.system_mac = "00:11:22:33:44:55";
    info.system_name = "ws";
    info.mode = WorkstationModeEnum::NORMAL;
    return info;
}

FakeReplyOverride failedWith(ErrorObject error)
{
    FakeReplyOverride override;
    override.mode = FakeReplyOverride::Mode::Failed;
    override.error = std::move(error);
    return override;
}

FakeReplyOverride withKeys(json::object keys)
{
    FakeReplyOverride override;
    override.mode = FakeReplyOverride::Mode::ExtraKeys;
    override.extraKeys = std::move(keys);
    return override;
}

FakeReplyOverride mode(FakeReplyOverride::Mode mode)
{
    FakeReplyOverride override;
    override.mode = mode;
    return override;
}

} // namespace

TEST_F(SessionQueries, IdentityAndStatusReadTheWorkstationsRecords)
{
    const auto info = session->getWorkstationInfo();
    ASSERT_TRUE(info.has_value()) << formatted(info.error());
    EXPECT_EQ(*info, defaultWorkstation());
    EXPECT_EQ(lastRequestWithoutId(router(), "/id"), (json::object{{"do", "/id"}}));

    const auto status = session->getWorkstationStatus();
    ASSERT_TRUE(status.has_value()) << formatted(status.error());
    EXPECT_EQ(*status, (WorkstationStatus{1234, false, "never"}));
    EXPECT_EQ(lastRequestWithoutId(router(), "/status"), (json::object{{"do", "/status"}}));

    // Every request carries a fresh id of its own, last.
    const auto requests = router().requests("/id");
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(keysOf(requests[0]), (std::vector<std::string>{"do", "request_id"}));
    EXPECT_EQ(requests[0].at("request_id").as_string().size(), 36U);
}

TEST_F(SessionQueries, ConnectionsAreListedReadAndDropped)
{
    json::object second = FakeQueryHandlers::defaultConnection();
    second["connection_id"] = "conn-2";
    second["remote_port"] = 50001;
    second["using_tls"] = true;
    router().queries().setConnections(json::array{FakeQueryHandlers::defaultConnection(), second});

    const auto own = session->getOwnConnectionInfo();
    ASSERT_TRUE(own.has_value()) << formatted(own.error());
    const WebsocketConnectionInfo expectedOwn{"conn-1", "2024-01-01T00:00:00", "127.0.0.1", 50000,
                                              "/default", "marlek_link_lib",      false};
    EXPECT_EQ(*own, expectedOwn);
    EXPECT_EQ(lastRequestWithoutId(router(), "/connection/id"), (json::object{{"do", "/connection/id"}}));

    const auto list = session->getWorkstationConnectionList();
    ASSERT_TRUE(list.has_value()) << formatted(list.error());
    ASSERT_EQ(list->size(), 2U);
    EXPECT_EQ((*list)[0], expectedOwn);
    EXPECT_EQ((*list)[1].connection_id, "conn-2");
    EXPECT_EQ((*list)[1].remote_port, 50001);
    EXPECT_TRUE((*list)[1].using_tls);
    EXPECT_EQ(lastRequestWithoutId(router(), "/connection/list"), (json::object{{"do", "/connection/list"}}));

    EXPECT_EQ(codeOf(session->dropWorkstationConnection((*list)[1])), ErrorCodeEnum::NONE);
    EXPECT_EQ(lastRequestWithoutId(router(), "/connection/drop"),
              (json::object{{"do", "/connection/drop"}, {"connection_id", "conn-2"}}));
    EXPECT_EQ(router().queries().connections().size(), 1U);

    // The workstation's refusal comes back unchanged.
    const ErrorObject refused = session->dropWorkstationConnection((*list)[1]);
    EXPECT_EQ(refused, ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "connection",
                                   "connection_id", "conn-2"));
}

TEST_F(SessionQueries, EmptyConnectionListIsAnEmptyVector)
{
    router().queries().setConnections(json::array{});
    const auto list = session->getWorkstationConnectionList();
    ASSERT_TRUE(list.has_value());
    EXPECT_TRUE(list->empty());
}

TEST_F(SessionQueries, JobInformationIsAskedByTheJobsId)
{
    router().queries().setJobs(json::array{jobInfoJson("job-0001", "RUNNING"), jobInfoJson("job-0002", "FINISHED")});
    OcvJob job{OcvParameters{}};
    JobInfo own;
    own.jobId = "job-0002";
    own.status = JobStatusEnum::RUNNING;
    job.setLastJobInfo(own);

    const auto info = session->getJobInfo(job);
    ASSERT_TRUE(info.has_value()) << formatted(info.error());
    EXPECT_EQ(info->jobId, "job-0002");
    EXPECT_EQ(info->status, JobStatusEnum::FINISHED);
    EXPECT_EQ(lastRequestWithoutId(router(), "/job/info"),
              (json::object{{"do", "/job/info"}, {"job_id", "job-0002"}}));
    // The job keeps its own information.
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::RUNNING);
}

TEST_F(SessionQueries, JobInformationOfAShortIdIsNotFound)
{
    OcvJob neverRun{OcvParameters{}};
    const auto unsent = session->getJobInfo(neverRun);
    ASSERT_FALSE(unsent.has_value());
    EXPECT_EQ(unsent.error(), ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "job",
                                          "job_id", ""));
    EXPECT_TRUE(router().requests("/job/info").empty());

    // A reply whose job id is too short names the job asked for.
    OcvJob job{OcvParameters{}};
    JobInfo own;
    own.jobId = "job-0007";
    job.setLastJobInfo(own);
    router().setReplyOverride("/job/info", withKeys({{"status", "SUCCESS"}, {"job_info", jobInfoJson("j-1", "RUNNING")}}));
    const auto answered = session->getJobInfo(job);
    ASSERT_FALSE(answered.has_value());
    EXPECT_EQ(answered.error(), ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "job",
                                            "job_id", "job-0007"));
}

TEST_F(SessionQueries, JobListSendsTheFilterAsABoolean)
{
    router().queries().setJobs(json::array{jobInfoJson("job-0001", "RUNNING"), jobInfoJson("job-0002", "FINISHED"),
                                           jobInfoJson("job-0003", "PENDING")});
    const auto all = session->getJobInfoList(false);
    ASSERT_TRUE(all.has_value()) << formatted(all.error());
    ASSERT_EQ(all->size(), 3U);
    EXPECT_EQ((*all)[0].jobId, "job-0001");
    EXPECT_EQ((*all)[1].status, JobStatusEnum::FINISHED);
    EXPECT_EQ((*all)[2].status, JobStatusEnum::PENDING);
    EXPECT_EQ(lastRequestWithoutId(router(), "/job/list"),
              (json::object{{"do", "/job/list"}, {"exclude_finished", false}}));

    const auto unfinished = session->getJobInfoList(true);
    ASSERT_TRUE(unfinished.has_value());
    ASSERT_EQ(unfinished->size(), 2U);
    EXPECT_EQ((*unfinished)[1].jobId, "job-0003");
    EXPECT_TRUE(lastRequestWithoutId(router(), "/job/list").at("exclude_finished").is_bool());
    EXPECT_EQ(lastRequestWithoutId(router(), "/job/list").at("exclude_finished"), true);

    router().queries().setJobs(json::array{});
    const auto none = session->getJobInfoList(true);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
}

TEST_F(SessionQueries, ParameterCheckSendsTheJobRequest)
{
    OcvJob job{OcvParameters{2.0, 10.0}, std::map<std::string, std::string>{{"sample", "A"}}};
    job.jobOptions.bypass_queue = true;
    EXPECT_EQ(session->checkJobParameters(job), ErrorObject(ErrorCodeEnum::NONE, "no error occoured"));

    const json::object expected{
        {"do", "/job/check_parameters"},
        {"job",
         json::object{{"type", "ocv"},
                      {"parameters", json::object{{"duration", 2.0}, {"output_data_rate", 10.0}}},
                      {"stop_conditions", json::array{}},
                      {"job_meta", json::object{{"sample", "A"}}}}},
        {"bypass_queue", true},
    };
    const auto sent = lastRequestWithoutId(router(), "/job/check_parameters");
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(keysOf(sent), (std::vector<std::string>{"do", "job", "bypass_queue"}));
    EXPECT_EQ(keysOf(sent.at("job").as_object()),
              (std::vector<std::string>{"type", "parameters", "stop_conditions", "job_meta"}));
}

struct CheckCase {
    const char* name;
    FakeReplyOverride override;
    ErrorObject expected;
};

class ParameterCheckFailure : public ConnectedSession, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ParameterCheckFailure, ReportsWhyTheCheckFailed)
{
    router().setReplyOverride("/job/check_parameters", GetParam().override);
    OcvJob job{OcvParameters{}};
    EXPECT_EQ(session->checkJobParameters(job), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParameterCheckFailure,
    ::testing::Values(
        CheckCase{"Refused", failedWith(ErrorObject(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH, "value {0} too high", 7.5)),
                  ErrorObject(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH, "value {0} too high", 7.5)},
        CheckCase{"FailedWithoutError", withKeys({{"status", "FAILED"}}),
                  ErrorObject(ErrorCodeEnum::JSON_OBJECT_EXPECTED, "json object expected")},
        CheckCase{"StatusMissing", mode(FakeReplyOverride::Mode::WithoutStatus),
                  ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "reply status invalid")},
        CheckCase{"StatusNotText", withKeys({{"status", 1}}),
                  ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "reply status invalid")},
        CheckCase{"Silent", mode(FakeReplyOverride::Mode::NoReply), timedOut()}),
    [](const auto& info) { return std::string(info.param.name); });

// Every query that reads a result key, against every way a reply can fail.
struct QueryUnderTest {
    const char* name;
    const char* command;
    std::function<std::optional<ErrorObject>(LinkJsonSession&)> run;
};

template <typename T>
std::optional<ErrorObject> errorOf(const std::expected<T, ErrorObject>& result)
{
    return result ? std::nullopt : std::optional<ErrorObject>(result.error());
}

const std::vector<QueryUnderTest>& keyedQueries()
{
    static const std::vector<QueryUnderTest> queries{
        {"Identity", "/id", [](LinkJsonSession& s) { return errorOf(s.getWorkstationInfo()); }},
        {"Status", "/status", [](LinkJsonSession& s) { return errorOf(s.getWorkstationStatus()); }},
        {"JobList", "/job/list", [](LinkJsonSession& s) { return errorOf(s.getJobInfoList(false)); }},
        {"Settings", "/settings/get", [](LinkJsonSession& s) { return errorOf(s.getAllSettings()); }},
        {"OwnConnection", "/connection/id", [](LinkJsonSession& s) { return errorOf(s.getOwnConnectionInfo()); }},
        {"ConnectionList", "/connection/list", [](LinkJsonSession& s) { return errorOf(s.getWorkstationConnectionList()); }},
        {"JobInfo", "/job/info",
         [](LinkJsonSession& s) {
             OcvJob job{OcvParameters{}};
             JobInfo info;
             info.jobId = "job-0001";
             job.setLastJobInfo(info);
             return errorOf(s.getJobInfo(job));
         }},
    };
    return queries;
}

struct ReplyFault {
    const char* name;
    std::function<FakeReplyOverride(const QueryUnderTest&)> override;
    ErrorObject expected;
};

const std::vector<ReplyFault>& replyFaults()
{
    static const std::vector<ReplyFault> faults{
        {"Refused", [](const QueryUnderTest&) { return failedWith(ErrorObject(ErrorCodeEnum::QUEUE_FULL, "queue full")); },
         ErrorObject(ErrorCodeEnum::QUEUE_FULL, "queue full")},
        {"FailedWithoutError", [](const QueryUnderTest&) { return withKeys({{"status", "FAILED"}}); }, unknownError()},
        {"WithoutStatus", [](const QueryUnderTest&) { return mode(FakeReplyOverride::Mode::WithoutStatus); },
         unknownError()},
        {"WithoutResultKeys", [](const QueryUnderTest&) { return mode(FakeReplyOverride::Mode::WithoutResultKeys); },
         incompleteObject()},
        {"ResultOfWrongKind",
         [](const QueryUnderTest& query) {
             // An object where a list belongs, an array where an object does.
             const std::string command = query.command;
             const bool list = command == "/job/list" || command == "/connection/list";
             const std::map<std::string, std::string> keys{
                 {"/id", "workstation"},       {"/status", "workstation_status"}, {"/job/list", "jobs"},
                 {"/settings/get", "settings"}, {"/connection/id", "connection"},   {"/connection/list", "connections"},
                 {"/job/info", "job_info"}};
             json::object extra;
             extra[keys.at(command)] = list ? json::value(json::object{}) : json::value(json::array{});
             return withKeys(std::move(extra));
         },
         incompleteObject()},
        {"Silent", [](const QueryUnderTest&) { return mode(FakeReplyOverride::Mode::NoReply); }, timedOut()},
        {"ForeignRequestId", [](const QueryUnderTest&) { return mode(FakeReplyOverride::Mode::ForeignRequestId); },
         timedOut()},
    };
    return faults;
}

class QueryReplyFault : public ConnectedSession,
                        public ::testing::WithParamInterface<std::tuple<std::size_t, std::size_t>> {};

TEST_P(QueryReplyFault, GivesTheReplysErrorOrTheIncompleteObjectError)
{
    const auto& query = keyedQueries()[std::get<0>(GetParam())];
    const auto& fault = replyFaults()[std::get<1>(GetParam())];
    router().queries().setJobs(json::array{jobInfoJson("job-0001", "RUNNING")});
    router().setReplyOverride(query.command, fault.override(query));
    const auto error = query.run(*session);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, fault.expected) << formatted(*error);
}

INSTANTIATE_TEST_SUITE_P(Matrix, QueryReplyFault,
                         ::testing::Combine(::testing::Range<std::size_t>(0, 7), ::testing::Range<std::size_t>(0, 7)),
                         [](const auto& info) {
                             return std::string(keyedQueries()[std::get<0>(info.param)].name)
                                    + replyFaults()[std::get<1>(info.param)].name;
                         });

TEST_F(SessionQueries, RecordsThatDoNotReadRaiseTheConversionError)
{
    router().setReplyOverride(
        "/status", withKeys({{"workstation_status", json::object{{"busy", false}, {"last_dc_calibration", "x"}}}}));
    EXPECT_THROW(session->getWorkstationStatus(), boost::system::system_error);

    json::object badPort = FakeQueryHandlers::defaultConnection();
    badPort["remote_port"] = 5000000000LL;
    router().setReplyOverride("/connection/id", withKeys({{"connection", badPort}}));
    EXPECT_THROW(session->getOwnConnectionInfo(), boost::system::system_error);

    router().setReplyOverride("/connection/list",
                              withKeys({{"connections", json::array{FakeQueryHandlers::defaultConnection(), 3}}}));
    EXPECT_THROW(session->getWorkstationConnectionList(), boost::system::system_error);
}

TEST_F(SessionQueries, QueriesWithoutConnectionFailAtOnce)
{
    session->disconnect();
    const auto info = session->getWorkstationInfo();
    ASSERT_FALSE(info.has_value());
    EXPECT_EQ(codeOf(info.error()), ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED);
    EXPECT_EQ(codeOf(session->dropWorkstationConnection(WebsocketConnectionInfo{})), ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED);
}
