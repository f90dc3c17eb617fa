#include "test_records.hpp"

#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/common/jobparameter_registration.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

#include <thread>

namespace json = boost::json;

namespace {

json::object fullJobInfo()
{
    return json::parse(R"({
        "job_id": "j-1", "status": "FINISHED", "status_detail": "RUN_TO_COMPLETION",
        "created": "c", "started": "s", "ended": "e", "type": "test_sweep",
        "job_meta": {"b": "2", "a": "1"},
        "error": {"number": 65539, "code": "STOPPED_MANUALLY", "message": "stopped {0}", "message_parameters": [3]},
        "parameters": {"start_value": 0.5, "autorange": true, "repetitions": 2, "resource_id": "r", "mode": "FAST"},
        "stop_conditions": [{"type": "max", "parameters": {"for_dimension": "current", "maximum": 2}}],
        "options": {"bypass_queue": true}
    })")
        .as_object();
}

void expectDefault(const JobInfo& info)
{
    EXPECT_EQ(info.jobId, "");
    EXPECT_EQ(info.status, JobStatusEnum::UNKNOWN);
    EXPECT_EQ(info.statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_EQ(info.error, ErrorObject());
    EXPECT_EQ(info.parameters, nullptr);
    EXPECT_TRUE(info.stopConditions.empty());
}

} // namespace

TEST(JobStatus, NamesAndParsing)
{
    EXPECT_EQ(jobStatusName(JobStatusEnum::DELETED), "DELETED");
    EXPECT_EQ(jobStatusDetailName(JobStatusDetailEnum::RUNTIME_ERROR), "RUNTIME_ERROR");
    EXPECT_EQ(jobStatusDetailName(JobStatusDetailEnum::FUNCTIONAL_LIMIT_OCCURRED), "FUNCTIONAL_LIMIT_OCCURRED");
    JobStatusEnum status = JobStatusEnum::PENDING;
    EXPECT_FALSE(parseJobStatus("finished", status));
    EXPECT_FALSE(parseJobStatus("FINISHED ", status));
    EXPECT_EQ(status, JobStatusEnum::PENDING);
    EXPECT_TRUE(parseJobStatus("RUNNING", status));
    EXPECT_EQ(status, JobStatusEnum::RUNNING);
    JobStatusDetailEnum detail = JobStatusDetailEnum::NOT_FINISHED;
    EXPECT_TRUE(parseJobStatusDetail("CONNECTION_LOSS", detail));
    EXPECT_EQ(detail, JobStatusDetailEnum::CONNECTION_LOSS);
}

TEST(JobInfo, DefaultAndSetFailed)
{
    const JobInfo fresh;
    expectDefault(fresh);
    EXPECT_EQ(fresh.error.getMessageFormatString(), "no error occoured");

    registerTestJobKind();
    JobInfo info = jobInfoFromJson(fullJobInfo());
    info.setFailed(ErrorObject(ErrorCodeEnum::CONNECTION_BROKEN, "lost"), JobStatusDetailEnum::CONNECTION_LOSS,
                   JobStatusEnum::FAILED);
    EXPECT_EQ(info.status, JobStatusEnum::FAILED);
    EXPECT_EQ(info.statusDetail, JobStatusDetailEnum::CONNECTION_LOSS);
    EXPECT_EQ(info.error, ErrorObject(ErrorCodeEnum::CONNECTION_BROKEN, "lost"));
    EXPECT_EQ(info.jobId, "j-1");
    EXPECT_EQ(info.started, "s");
    EXPECT_EQ(info.type, "test_sweep");
    EXPECT_EQ(info.jobMeta.size(), 2u);
    EXPECT_NE(info.parameters, nullptr);
    EXPECT_EQ(info.stopConditions.size(), 1u);
    EXPECT_TRUE(info.options.bypass_queue);
}

// Registrations may come while job information is read on another thread
// (the connection's worker reads replies and events).
TEST(JobInfoJson, ReadsWhileBuildersAreRegistered)
{
    registerTestJobKind();
    constexpr int kRounds = 2000;
    std::thread registering([] {
        for (int round = 0; round < kRounds; ++round) {
            registerBuilderInFactory<TestSweepJob>(&JobParameterFactory::getInstance());
        }
    });
    const json::value source(fullJobInfo());
    std::size_t withParameters = 0;
    for (int round = 0; round < kRounds; ++round) {
        withParameters += jobInfoFromJson(source).parameters != nullptr ? 1 : 0;
    }
    registering.join();
    EXPECT_EQ(withParameters, static_cast<std::size_t>(kRounds));
}

TEST(JobInfoJson, ReadsEveryMember)
{
    registerTestJobKind();
    const auto info = jobInfoFromJson(json::value(fullJobInfo()));
    EXPECT_EQ(info.jobId, "j-1");
    EXPECT_EQ(info.status, JobStatusEnum::FINISHED);
    EXPECT_EQ(info.statusDetail, JobStatusDetailEnum::RUN_TO_COMPLETION);
    EXPECT_EQ(info.created, "c");
    EXPECT_EQ(info.started, "s");
    EXPECT_EQ(info.ended, "e");
    EXPECT_EQ(info.type, "test_sweep");
    EXPECT_EQ(info.jobMeta, (std::map<std::string, std::string>{{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(info.error, ErrorObject(ErrorCodeEnum::STOPPED_MANUALLY, "stopped {0}", 3));
    const auto* parameters = dynamic_cast<const SerializableParameterStruct<TestSweepParameters>*>(
        info.getParameterObject().get());
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->getRecord(), (TestSweepParameters{0.5, true, 2, "r", TestMode::FAST}));
    ASSERT_EQ(info.stopConditions.size(), 1u);
    EXPECT_EQ(info.stopConditions[0]->getType(), "max");
    EXPECT_EQ(info.options, (JobOptions{true, false}));
}

struct TolerantCase {
    const char* what;
    const char* json;
    JobStatusEnum status;
    JobStatusDetailEnum detail;
};

class JobInfoJsonStatus : public testing::TestWithParam<TolerantCase> {};

TEST_P(JobInfoJsonStatus, FallsBackToTheDefaultsValues)
{
    const auto info = jobInfoFromJson(json::parse(GetParam().json));
    EXPECT_EQ(info.status, GetParam().status);
    EXPECT_EQ(info.statusDetail, GetParam().detail);
}

INSTANTIATE_TEST_SUITE_P(
    Members, JobInfoJsonStatus,
    testing::Values(
        TolerantCase{"both_missing", R"({"job_id": "x"})", JobStatusEnum::UNKNOWN,
                     JobStatusDetailEnum::FAILED_TO_CREATE},
        TolerantCase{"unknown_names", R"({"job_id": "x", "status": "DONE", "status_detail": "finished"})",
                     JobStatusEnum::UNKNOWN, JobStatusDetailEnum::FAILED_TO_CREATE},
        TolerantCase{"not_strings", R"({"job_id": "x", "status": 3, "status_detail": null})",
                     JobStatusEnum::UNKNOWN, JobStatusDetailEnum::FAILED_TO_CREATE},
        TolerantCase{"only_detail", R"({"job_id": "x", "status_detail": "STOPPED_BY_USER"})",
                     JobStatusEnum::UNKNOWN, JobStatusDetailEnum::STOPPED_BY_USER},
        TolerantCase{"only_status", R"({"job_id": "x", "status": "PENDING"})", JobStatusEnum::PENDING,
                     JobStatusDetailEnum::FAILED_TO_CREATE}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(JobInfoJson, WithoutStringJobIdNothingIsRead)
{
    registerTestJobKind();
    auto source = fullJobInfo();
    source["job_id"] = 17;
    expectDefault(jobInfoFromJson(source));
    source.erase("job_id");
    expectDefault(jobInfoFromJson(source));
    expectDefault(jobInfoFromJson(json::value(json::array{})));
    expectDefault(jobInfoFromJson(json::value("text")));
}

TEST(JobInfoJson, OnlyJobIdGivesEmptyRecord)
{
    const auto info = jobInfoFromJson(json::parse(R"({"job_id": "only"})"));
    EXPECT_EQ(info.jobId, "only");
    EXPECT_EQ(info.created, "");
    EXPECT_EQ(info.type, "");
    EXPECT_EQ(info.error, ErrorObject());
    EXPECT_EQ(info.parameters, nullptr);
    EXPECT_TRUE(info.stopConditions.empty());
    EXPECT_TRUE(info.jobMeta.empty());
    EXPECT_EQ(info.options, JobOptions());
}

TEST(JobInfoJson, WrongKindsCountAsMissing)
{
    const auto info = jobInfoFromJson(json::parse(R"({"job_id": "x", "created": 1, "type": ["cv"],
        "started": null, "ended": {}, "error": "bad", "stop_conditions": {}, "options": [true], "job_meta": []})"));
    EXPECT_EQ(info.created, "");
    EXPECT_EQ(info.type, "");
    EXPECT_EQ(info.error, ErrorObject());
    EXPECT_EQ(info.options, JobOptions());
    EXPECT_TRUE(info.jobMeta.empty());
}

TEST(JobInfoJson, ParametersNeedARegisteredTypeAndAnObject)
{
    registerTestJobKind();
    struct Case {
        const char* what;
        const char* type;
        const char* parameters;
    };
    for (const auto& c : {Case{"no type", nullptr, R"({"start_value": 1})"},
                          Case{"empty type", "", R"({"start_value": 1})"},
                          Case{"unregistered", "reboot", R"({"anything": 1})"},
                          Case{"other case", "TEST_SWEEP", R"({"start_value": 1})"},
                          Case{"array parameters", "test_sweep", "[1, 2]"}}) {
        json::object source{{"job_id", "x"}, {"parameters", json::parse(c.parameters)}};
        if (c.type != nullptr) {
            source["type"] = c.type;
        }
        EXPECT_EQ(jobInfoFromJson(source).parameters, nullptr) << c.what;
    }
}

struct RaisingCase {
    const char* what;
    const char* key;
    const char* value;
    json::error expected;
};

class JobInfoJsonRaises : public testing::TestWithParam<RaisingCase> {};

TEST_P(JobInfoJsonRaises, WithTheReadersCode)
{
    registerTestJobKind();
    auto source = fullJobInfo();
    source[GetParam().key] = json::parse(GetParam().value);
    try {
        (void)jobInfoFromJson(source);
        FAIL() << "no error";
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(e.code(), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Members, JobInfoJsonRaises,
    testing::Values(
        RaisingCase{"meta_value_number", "job_meta", R"({"a": "1", "b": 2, "c": "3"})", json::error::not_string},
        RaisingCase{"parameters_missing_member", "parameters",
                    R"({"autorange": true, "repetitions": 2, "resource_id": "r", "mode": "FAST"})",
                    json::error::size_mismatch},
        RaisingCase{"parameters_bad_enum", "parameters",
                    R"({"start_value": 1, "autorange": true, "repetitions": 2, "resource_id": "r", "mode": "fast"})",
                    json::error::unknown_name},
        RaisingCase{"stop_condition_missing_member", "stop_conditions",
                    R"([{"type": "min", "parameters": {"minimum": 1}}])", json::error::size_mismatch}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(JobInfoJson, WritesTenMembersInOrder)
{
    registerTestJobKind();
    const auto info = jobInfoFromJson(fullJobInfo());
    const auto written = jobInfoToJson(info);
    std::vector<std::string> keys;
    for (const auto& member : written) {
        keys.emplace_back(member.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"job_id", "status", "status_detail", "type", "created", "started",
                                              "ended", "error", "options", "job_meta"}));
    EXPECT_EQ(written.at("status"), "FINISHED");
    EXPECT_EQ(written.at("status_detail"), "RUN_TO_COMPLETION");
    EXPECT_EQ(written.at("options"), json::parse(R"({"bypass_queue": true})"));
    EXPECT_EQ(json::serialize(written.at("job_meta")), R"({"a":"1","b":"2"})");
    EXPECT_EQ(written.at("error").at("code"), "STOPPED_MANUALLY");

    const auto reread = jobInfoFromJson(written);
    EXPECT_EQ(reread.jobId, info.jobId);
    EXPECT_EQ(reread.status, info.status);
    EXPECT_EQ(reread.statusDetail, info.statusDetail);
    EXPECT_EQ(reread.jobMeta, info.jobMeta);
    EXPECT_EQ(reread.error, info.error);
    EXPECT_EQ(reread.options, info.options);
    EXPECT_EQ(reread.parameters, nullptr);
    EXPECT_TRUE(reread.stopConditions.empty());
}

TEST(JobInfo, CopiesShareParametersAndConditions)
{
    registerTestJobKind();
    const auto info = jobInfoFromJson(fullJobInfo());
    const JobInfo copy = info; // NOLINT(performance-unnecessary-copy-initialization)
    EXPECT_EQ(copy.parameters.get(), info.parameters.get());
    EXPECT_EQ(copy.stopConditions.at(0).get(), info.stopConditions.at(0).get());
}
