#include "jobrun_test_support.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"

namespace {

const ErrorObject NO_ERROR{ErrorCodeEnum::NONE, "no error occoured"};

// Key order and number kinds count: the text of the parsed expectation is
// compared with the text the client sent.
void expectSameJson(const json::value& actual, std::string_view expected)
{
    EXPECT_EQ(json::serialize(actual), json::serialize(json::parse(expected)));
}

TEST_F(JobRunTest, CvJobRunsToCompletionWithItsLiveData)
{
    router().setJobScript(FakeJobScript()
                              .event(statusEvent("RUNNING"))
                              .event(cvHeaderEvent())
                              .event(rowsEvent(json::array{json::array{0.0, 0.0, 1.5e-6}, json::array{0.04, 0.004, 2}}))
                              .sleep(20ms)
                              .event(rowsEvent(json::array{json::array{0.08, 0.008, -2.5e-6}}))
                              .event(finishedEvent())
                              .jobDone("FINISHED", "NONE", NO_ERROR));
    Inbox<std::string> statuses;
    const auto statusHandler = std::make_shared<MarlekLinkEventHandler>(
        EventTypeEnum::JOB_STATUS_UPDATE,
        std::make_shared<MarlekLinkEventHandler::RawCallback>(
            [&statuses](const json::object& event) { statuses.push(std::string(event.at("new_status").as_string())); }));
    session->setEventHandler(statusHandler);

    const CvParameters record{0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, true, 0.01, false, 0.01, -0.01, 0.0, 0.0};
    Inbox<DcSeen> seen;
    CvJob job(record, recordInto(seen), CvJob::MetaData{{"sample", "A1"}},
              StopConditionList{
                  {std::make_shared<MinLimitStopCondition>(MinLimitStopConditionParameters{"current", -0.1})}});

    EXPECT_EQ(session->doJob(job), NO_ERROR);
    session->clearEventHandler(statusHandler);

    const json::object request = onlyStartRequest();
    EXPECT_EQ(request.at("request_id").as_string().size(), 36u);
    json::object withoutId = request;
    withoutId.erase("request_id");
    expectSameJson(withoutId, R"({"do":"/job/start","job":{"type":"cv","parameters":{
        "start_value":0.0,"first_vertex":1.0,"second_vertex":-1.0,"end_value":0.0,"scan_rate":0.1,
        "output_data_rate":25.0,"num_cycles":2.5,"autorange":true,"current_range":0.01,"turn_limit_check":false,
        "upper_turn_boundary":0.01,"lower_turn_boundary":-0.01,"step_height":0.0,"ir_drop":0.0},
        "stop_conditions":[{"type":"min","parameters":{"for_dimension":"current","minimum":-0.1}}],
        "job_meta":{"sample":"A1"}}})");

    const auto messages = seen.snapshot();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].kind, DcLiveDataMessageKind::HEADER);
    const auto& columns = messages[0].header.getColumns();
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].dimension, "time");
    EXPECT_EQ(columns[1].unit, "V");
    EXPECT_EQ(columns[2].urn, "MAIN:1:POT:I");
    EXPECT_EQ(messages[1].kind, DcLiveDataMessageKind::ROWS);
    EXPECT_EQ(messages[1].rows, (std::vector<std::vector<double>>{{0.0, 0.0, 1.5e-6}, {0.04, 0.004, 2.0}}));
    EXPECT_EQ(messages[2].rows, (std::vector<std::vector<double>>{{0.08, 0.008, -2.5e-6}}));
    EXPECT_EQ(messages[2].header, messages[0].header);
    EXPECT_EQ(messages[3].kind, DcLiveDataMessageKind::FINISHED);
    EXPECT_TRUE(messages[3].rows.empty());

    EXPECT_EQ(statuses.snapshot(), std::vector<std::string>{"RUNNING"});
    EXPECT_EQ(job.getLastJobInfo().jobId, "job-0001");
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FINISHED);
    EXPECT_TRUE(job.wasSuccessful());
}

TEST_F(JobRunTest, FailedCompletionIsTheJobsError)
{
    const ErrorObject limit(ErrorCodeEnum::STOP_CONDITION_TRIGGERED, "stop condition {0} triggered", "min");
    router().setJobScript(FakeJobScript().jobDone("FAILED", "FUNCTIONAL_LIMIT_OCCURRED", limit));
    OcvJob job(OcvParameters{1.0, 10.0});

    EXPECT_EQ(session->doJob(job), limit);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::FUNCTIONAL_LIMIT_OCCURRED);
    EXPECT_EQ(job.getLastJobErrorMessage(), "stop condition min triggered");
}

TEST_F(JobRunTest, EisJobRunsToCompletionWithHeaderRowsAndWaves)
{
    router().setJobScript(
        FakeJobScript()
            .event(eisHeaderEvent())
            .event(json::parse(R"({"type":"LIVE_DATA_ROW_EIS","impedances":[[100.5,-20.25]],)"
                               R"("paths":[[0.01,0.0],[1e-4,2e-5]],"paths_waves":[[0.1,0.2,0.3],[1,2,3]],)"
                               R"("async_paths":[],"potentiostats":[[0.25]],"meta":[1000,8,0.125]})")
                       .as_object())
            .event(json::parse(R"({"type":"LIVE_DATA_WAVES","paths_waves":[[0.4,0.5],[4,5]],"offset":3,)"
                               R"("full_wave_size":5})")
                       .as_object())
            .event(json::parse(R"({"type":"LIVE_DATA_ROW_EIS","impedances":[[99.75,-30.5]],)"
                               R"("paths":[[0.01,0.001],[1e-4,3e-5]],"paths_waves":[[],[]],)"
                               R"("async_paths":[],"potentiostats":[[0.25]],"meta":[100,8,1.5]})")
                       .as_object())
            .event(finishedEvent())
            .jobDone("FINISHED", "NONE", NO_ERROR));
    const EisParametersFrequencyTable record{
        .bias = 0.25,
        .spectrum = {{1000.0, 0.01, 0.5, 2, 1.5, 3}, {100.0, 0.02, 0.0, 0, 0.25, 8}},
        .drift_correction = DriftCorrection::OFF};
    Inbox<AcSeen> seen;
    EisTableJob job(record, recordInto(seen), {{"cell", "B2"}});

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    json::object request = onlyStartRequest();
    request.erase("request_id");
    expectSameJson(request, R"({"do":"/job/start","job":{"type":"eis_table","parameters":{"bias":0.25,
        "frequency_range":{"type":"table","spectrum":[
        {"frequency":1000.0,"amplitude":0.01,"pre_duration":0.5,"pre_waves":2,"meas_duration":1.5,"meas_waves":3},
        {"frequency":100.0,"amplitude":0.02,"pre_duration":0.0,"pre_waves":0,"meas_duration":0.25,"meas_waves":8}]},
        "drift_correction":"OFF"},"stop_conditions":[],"job_meta":{"cell":"B2"}}})");

    const auto messages = seen.snapshot();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].kind, AcLiveDataMessageKind::HEADER);
    const LiveDataHeaderEis& header = messages[0].header;
    ASSERT_EQ(header.getPaths().size(), 2u);
    EXPECT_EQ(header.getPaths()[1].getUri(), "MAIN:1:POT:I");
    EXPECT_EQ(header.getImpedances().at(0).getNumeratorPath(), "MAIN:1:POT:U");
    ASSERT_EQ(header.getMetaColumns().size(), 3u);
    EXPECT_EQ(header.getMetaColumns()[2].dimension, "time");

    EXPECT_EQ(messages[1].kind, AcLiveDataMessageKind::ROW);
    EXPECT_EQ(messages[1].row.getImpedances(), (std::vector<std::vector<double>>{{100.5, -20.25}}));
    EXPECT_EQ(messages[1].row.getPaths(), (std::vector<std::vector<double>>{{0.01, 0.0}, {1e-4, 2e-5}}));
    EXPECT_EQ(messages[1].row.getPathsWaves(), (std::vector<std::vector<double>>{{0.1, 0.2, 0.3}, {1.0, 2.0, 3.0}}));
    EXPECT_TRUE(messages[1].row.getAsyncPaths().empty());
    EXPECT_EQ(messages[1].row.getPotentiostats(), (std::vector<std::vector<double>>{{0.25}}));
    EXPECT_EQ(messages[1].row.getMeta(), (std::vector<double>{1000.0, 8.0, 0.125}));
    EXPECT_TRUE(messages[1].dummyWaves);

    EXPECT_EQ(messages[2].kind, AcLiveDataMessageKind::WAVES);
    EXPECT_EQ(messages[2].waves.getWaves(), (std::vector<std::vector<double>>{{0.4, 0.5}, {4.0, 5.0}}));
    EXPECT_EQ(messages[2].waves.getOffset(), 3u);
    EXPECT_EQ(messages[2].waves.getFullWaveSize(), 5u);
    EXPECT_TRUE(messages[2].dummyRow);

    EXPECT_EQ(messages[3].kind, AcLiveDataMessageKind::ROW);
    EXPECT_EQ(messages[3].row.getImpedances(), (std::vector<std::vector<double>>{{99.75, -30.5}}));
    EXPECT_EQ(messages[3].row.getPathsWaves(), (std::vector<std::vector<double>>{{}, {}}));
    EXPECT_EQ(messages[3].row.getMeta(), (std::vector<double>{100.0, 8.0, 1.5}));
    EXPECT_EQ(messages[3].header, header);

    EXPECT_EQ(messages[4].kind, AcLiveDataMessageKind::FINISHED);
    EXPECT_EQ(job.getLastJobInfo().jobId, "job-0001");
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FINISHED);
}

} // namespace
