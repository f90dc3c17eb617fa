#include "test_records.hpp"

#include "support/json_keys.hpp"

#include "marlek_link_json/jobs/common/jobrequest_json.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"
#include "marlek_link_json/jobs/job_names.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

namespace json = boost::json;

namespace {

using ParameterlessJob = MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::REBOOT_JOB_NAME>;

// A single-value job that counts how often it was asked for its result.
class ResultJob : public SingleValueMeasurementJobTemplate<double, TestSweepParameters, &TEST_RESULT_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    void extractJobResult(const json::object& completion) override
    {
        ++extractions;
        if (const auto* value = completion.if_contains("result"); value != nullptr && value->is_number()) {
            result = value->to_number<double>();
        }
    }

    int extractions = 0;
};

const TestSweepParameters sweep{0.25, true, 3, "res", TestMode::FAST};

} // namespace

TEST(MeasurementJob, FreshJobState)
{
    const TestSweepJob job(sweep, {{"k", "v"}}, JobOptions{true, false});
    EXPECT_EQ(job.getName(), "test_sweep");
    EXPECT_EQ(&job.getName(), &TestSweepJob::name);
    EXPECT_EQ(job.getParameters(), sweep);
    EXPECT_EQ(job.getLastJobStatus(), JobStatusEnum::UNKNOWN);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_FALSE(job.wasSuccessful());
    EXPECT_EQ(job.getLastJobErrorMessage(), "no error occoured");
    EXPECT_EQ(job.getJobOptions(), (JobOptions{true, false}));
    EXPECT_EQ(job.getType(), JobTypeEnum::OTHER);
    EXPECT_EQ(static_cast<int>(job.getType()), 2);
    EXPECT_TRUE(job.getStopConditions().empty());
    EXPECT_EQ(json::serialize(job.getMetaDataObject()), R"({"k":"v"})");
}

TEST(MeasurementJob, ParameterObjectIsTheRecordsJson)
{
    const TestSweepJob job(sweep, JobOptions{});
    const auto object = job.getParameterObject();
    EXPECT_EQ(keysOf(object),
              (std::vector<std::string>{"start_value", "autorange", "repetitions", "resource_id", "mode"}));
    EXPECT_EQ(object, json::parse(R"({"start_value": 0.25, "autorange": true, "repetitions": 3,
                                     "resource_id": "res", "mode": "FAST"})"));

    const ParameterlessJob reboot;
    EXPECT_EQ(reboot.getName(), "reboot");
    EXPECT_TRUE(reboot.getParameterObject().empty());
    const ParameterlessJob withOptions(JobOptions{false, true});
    EXPECT_TRUE(withOptions.getJobOptions().discard_result_data);
}

TEST(MeasurementJob, MetadataAccess)
{
    TestSweepJob job(sweep, JobOptions{});
    EXPECT_TRUE(job.getMetaDataObject().empty());
    job.setMetaData({{"b", "2"}, {"a", "1"}});
    job.getMetaData()["c"] = "3";
    job.setMetaData(job.getMetaData());
    EXPECT_EQ(json::serialize(job.getMetaDataObject()), R"({"a":"1","b":"2","c":"3"})");
}

TEST(MeasurementJob, StopConditionsArraySkipsEmptyEntries)
{
    TestSweepJob job(sweep, JobOptions{});
    EXPECT_TRUE(job.getStopConditionsArray().empty());
    job.setStopConditions({
        std::make_shared<MinLimitStopCondition>(MinLimitStopConditionParameters{"voltage", 1.0}),
        nullptr,
        std::make_shared<MaxLimitStopCondition>(MaxLimitStopConditionParameters{"current", 0.5}),
    });
    job.setStopConditions(job.getStopConditions());
    const auto array = job.getStopConditionsArray();
    ASSERT_EQ(array.size(), 2u);
    EXPECT_EQ(keysOf(array[0].as_object()), (std::vector<std::string>{"type", "parameters"}));
    EXPECT_EQ(array[0], json::parse(R"({"type": "min", "parameters": {"for_dimension": "voltage", "minimum": 1.0}})"));
    EXPECT_EQ(array[1].at("type"), "max");
    job.clearStopConditions();
    EXPECT_TRUE(job.getStopConditions().empty());
}

TEST(MeasurementJob, ProcessJobResultTakesJobInfoAndAlwaysExtracts)
{
    ResultJob job(sweep, JobOptions{});
    job.processJobResult(json::parse(R"({"type": "JOB_DONE", "result": 2.5})").as_object());
    EXPECT_EQ(job.extractions, 1);
    EXPECT_EQ(job.getJobResult(), 2.5);
    EXPECT_EQ(job.getLastJobStatus(), JobStatusEnum::UNKNOWN);

    job.processJobResult(json::parse(R"({"job_info": "not an object"})").as_object());
    EXPECT_EQ(job.extractions, 2);
    EXPECT_EQ(job.getLastJobInfo().jobId, "");

    job.processJobResult(json::parse(R"({"job_info": {"job_id": "j", "status": "FINISHED",
        "status_detail": "FUNCTIONAL_LIMIT_OCCURRED"}})").as_object());
    EXPECT_EQ(job.extractions, 3);
    EXPECT_EQ(job.getLastJobInfo().jobId, "j");
    EXPECT_TRUE(job.wasSuccessful()) << "only the status counts";

    job.setFailed(ErrorObject(ErrorCodeEnum::OPERATION_TIMED_OUT, "operation timed out"),
                  JobStatusDetailEnum::CONNECTION_LOSS);
    EXPECT_EQ(job.getLastJobInfo().jobId, "j");
    EXPECT_EQ(job.getLastJobStatus(), JobStatusEnum::FAILED);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::CONNECTION_LOSS);
    EXPECT_EQ(job.getLastJobErrorMessage(), "operation timed out");
    EXPECT_FALSE(job.wasSuccessful());
}

TEST(MeasurementJob, WasSuccessfulOnlyForFinished)
{
    TestSweepJob job(sweep, JobOptions{});
    for (const auto status : {JobStatusEnum::UNKNOWN, JobStatusEnum::PENDING, JobStatusEnum::RUNNING,
                              JobStatusEnum::FAILED, JobStatusEnum::DELETED}) {
        JobInfo info;
        info.status = status;
        job.setLastJobInfo(info);
        EXPECT_FALSE(job.wasSuccessful()) << static_cast<int>(status);
    }
}

TEST(MeasurementJob, ErrorMessageFromTheWorkstationNeverThrows)
{
    TestSweepJob job(sweep, JobOptions{});
    JobInfo info;
    info.error = ErrorObject(ErrorCodeEnum::CALIBRATION_ERROR, "value {0} and {1}", 1.5);
    job.setLastJobInfo(info);
    EXPECT_EQ(job.getLastJobErrorMessage(), "value {0} and {1}");
    info.error = ErrorObject(ErrorCodeEnum::CALIBRATION_ERROR, "value {0}", 100000.0);
    job.setLastJobInfo(info);
    EXPECT_EQ(job.getLastJobErrorMessage(), "value 1e+05");
}

TEST(JobRequest, MembersInOrderWithOptionsAtTopLevel)
{
    struct Case {
        JobOptions options;
        std::vector<std::string> keys;
    };
    for (const auto& c : {Case{JobOptions{}, {"do", "job"}}, Case{JobOptions{true, false}, {"do", "job", "bypass_queue"}},
                          Case{JobOptions{false, true}, {"do", "job", "discard_result_data"}},
                          Case{JobOptions{true, true}, {"do", "job", "bypass_queue", "discard_result_data"}}}) {
        const auto request = makeJobRequestObject("/job/start", "cv", {}, {}, {}, c.options);
        EXPECT_EQ(keysOf(request), c.keys);
        for (std::size_t i = 2; i < c.keys.size(); ++i) {
            EXPECT_EQ(request.at(c.keys[i]), true);
        }
    }
}

TEST(JobRequest, JobObjectFromWhatTheJobHolds)
{
    TestSweepJob job(sweep, {{"who", "me"}}, JobOptions{true, false});
    job.setStopConditions({std::make_shared<MaxLimitStopCondition>(MaxLimitStopConditionParameters{"current", 2})});
    const auto request = makeJobRequestObject("/job/check_parameters", job.getName(), job.getParameterObject(),
                                              job.getStopConditionsArray(), job.getMetaDataObject(),
                                              job.getJobOptions());
    EXPECT_EQ(request.at("do"), "/job/check_parameters");
    const auto& inner = request.at("job").as_object();
    EXPECT_EQ(keysOf(inner), (std::vector<std::string>{"type", "parameters", "stop_conditions", "job_meta"}));
    EXPECT_EQ(inner.at("type"), "test_sweep");
    EXPECT_EQ(inner.at("parameters"), job.getParameterObject());
    EXPECT_EQ(inner.at("stop_conditions"), job.getStopConditionsArray());
    EXPECT_EQ(inner.at("job_meta"), json::parse(R"({"who": "me"})"));
    EXPECT_FALSE(inner.contains("bypass_queue"));
}

TEST(JobRequest, EmptyMembersAreWrittenNotLeftOut)
{
    const auto request = makeJobRequestObject("/job/start", "reboot", {}, {}, {}, {});
    EXPECT_EQ(json::serialize(request),
              R"({"do":"/job/start","job":{"type":"reboot","parameters":{},"stop_conditions":[],"job_meta":{}}})");
}
