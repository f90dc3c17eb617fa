#include "dc_test_support.hpp"

#include "marlek_link_json/jobs/common/jobrequest_json.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"

namespace {

const CvParameters cvRecord{0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, true, 0.01, false, 0.01, -0.01, 0.0, 0.0};

std::shared_ptr<AbstractStopCondition> minimumCurrent()
{
    return std::make_shared<MinLimitStopCondition>(MinLimitStopConditionParameters{"current", -0.1});
}

std::shared_ptr<AbstractStopCondition> maximumVoltage()
{
    return std::make_shared<MaxLimitStopCondition>(MaxLimitStopConditionParameters{"voltage", 1.5});
}

void expectFreshState(const CvJob& job)
{
    EXPECT_EQ(job.getName(), "cv");
    EXPECT_EQ(&job.getName(), &CvJob::name);
    EXPECT_EQ(job.getType(), JobTypeEnum::DC);
    EXPECT_EQ(job.getParameters(), cvRecord);
    EXPECT_EQ(job.getJobOptions(), JobOptions{});
    EXPECT_EQ(job.getLastJobStatus(), JobStatusEnum::UNKNOWN);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_EQ(job.getLastJobErrorMessage(), "no error occoured");
}

} // namespace

TEST(DcMeasurementJob, FromTheRecordAlone)
{
    const CvJob job(cvRecord);
    expectFreshState(job);
    EXPECT_TRUE(job.getStopConditions().empty());
    EXPECT_TRUE(job.getMetaDataObject().empty());
    EXPECT_TRUE(job.getStopConditionsArray().empty());
}

// Every constructor that takes metadata or stop conditions, with whether it
// copies or takes the caller's list.
TEST(DcMeasurementJob, MetadataIsCopiedStopConditionListsCopiedOrTaken)
{
    const auto condition = minimumCurrent();
    struct Case {
        const char* name;
        bool withMeta;
        bool withList;
        bool takesList;
    };
    const Case cases[] = {
        {"meta", true, false, false},
        {"const list", false, true, false},
        {"list&&", false, true, true},
        {"meta, const list", true, true, false},
        {"meta, list&&", true, true, true},
    };
    for (const auto& c : cases) {
        std::map<std::string, std::string> meta{{"sample", "A1"}};
        StopConditionList list{{condition}};
        auto make = [&]() -> CvJob {
            if (c.withMeta && c.withList) {
                return c.takesList ? CvJob(cvRecord, meta, std::move(list)) : CvJob(cvRecord, meta, list);
            }
            if (c.withMeta) {
                return CvJob(cvRecord, meta);
            }
            return c.takesList ? CvJob(cvRecord, std::move(list)) : CvJob(cvRecord, list);
        };
        auto job = make();
        expectFreshState(job);

        // The caller's map and list are the caller's: changing them later
        // does not reach the job.
        meta["sample"] = "changed";
        meta["other"] = "x";
        EXPECT_EQ(c.takesList, list.conditions.empty()) << c.name;
        list.conditions.push_back(maximumVoltage());

        EXPECT_EQ(job.getMetaData(), (c.withMeta ? std::map<std::string, std::string>{{"sample", "A1"}}
                                                  : std::map<std::string, std::string>{}))
            << c.name;
        if (c.withList) {
            ASSERT_EQ(job.getStopConditions().size(), 1u) << c.name;
            // The condition itself is shared, not copied.
            EXPECT_EQ(job.getStopConditions().front(), condition) << c.name;
        } else {
            EXPECT_TRUE(job.getStopConditions().empty()) << c.name;
        }
    }
}

TEST(DcMeasurementJob, OptionsCanBeSetAfterConstruction)
{
    CvJob job(cvRecord);
    job.jobOptions.bypass_queue = true;
    EXPECT_EQ(job.getJobOptions(), (JobOptions{true, false}));
}

TEST(DcMeasurementJob, StartRequestOfACvJob)
{
    CvJob job(cvRecord, {{"sample", "A1"}, {"operator", "kb"}}, StopConditionList{{minimumCurrent()}});
    const auto request = makeJobRequestObject("/job/start", job.getName(), job.getParameterObject(),
                                              job.getStopConditionsArray(), job.getMetaDataObject(),
                                              job.getJobOptions());
    const auto expected = json::parse(R"({
        "do": "/job/start",
        "job": {
            "type": "cv",
            "parameters": {
                "start_value": 0.0, "first_vertex": 1.0, "second_vertex": -1.0, "end_value": 0.0,
                "scan_rate": 0.1, "output_data_rate": 25.0, "num_cycles": 2.5, "autorange": true,
                "current_range": 0.01, "turn_limit_check": false, "upper_turn_boundary": 0.01,
                "lower_turn_boundary": -0.01, "step_height": 0.0, "ir_drop": 0.0
            },
            "stop_conditions": [{"type": "min", "parameters": {"for_dimension": "current", "minimum": -0.1}}],
            "job_meta": {"operator": "kb", "sample": "A1"}
        }
    })");
    // Value equality tells a double 0.0 from an integer 0.
    EXPECT_EQ(json::value(request), expected) << json::serialize(request);
    EXPECT_EQ(keysOf(request), (std::vector<std::string>{"do", "job"}));
    EXPECT_EQ(keysOf(request.at("job").as_object()),
              (std::vector<std::string>{"type", "parameters", "stop_conditions", "job_meta"}));
    const auto& parameters = request.at("job").at("parameters").as_object();
    EXPECT_EQ(keysOf(parameters).front(), "start_value");
    EXPECT_EQ(keysOf(parameters).back(), "ir_drop");

    job.jobOptions.discard_result_data = true;
    const auto withOption = makeJobRequestObject("/job/start", job.getName(), job.getParameterObject(),
                                                 job.getStopConditionsArray(), job.getMetaDataObject(),
                                                 job.getJobOptions());
    EXPECT_EQ(keysOf(withOption).front(), "do");
    EXPECT_EQ(withOption.at("job"), request.at("job"));
}

TEST(DcMeasurementJob, EveryKindReportsItsNameAndTheDcFamily)
{
    EXPECT_EQ(OcvJob(OcvParameters{}).getName(), "ocv");
    EXPECT_EQ(FastCyclingJob(FastCyclingParameters{}).getName(), "fast_cycling");
    EXPECT_EQ(AcCvJob(AcCvParameters{}).getName(), "ac_cv");
    EXPECT_EQ(PogaJob(PogaParameters{}).getName(), "poga");
    EXPECT_EQ(RampJob(RampParameters{}).getName(), "ramp");
    EXPECT_EQ(SteadyStairsJob(SteadyStairsParameters{}).getName(), "steady_stairs");
    EXPECT_EQ(DpvJob(DpvParameters{}).getName(), "dpv");
    EXPECT_EQ(NpvJob(NpvParameters{}).getName(), "npv");
    EXPECT_EQ(SwvJob(SwvParameters{}).getName(), "swv");
    EXPECT_EQ(WaveJob(WaveParameters{}).getName(), "wave");
    EXPECT_EQ(WaveFileJob(WaveFileParameters{}).getName(), "wave_file");
    const AbstractMeasurementJob& job = WaveFileJob(WaveFileParameters{});
    EXPECT_EQ(job.getType(), JobTypeEnum::DC);
}
