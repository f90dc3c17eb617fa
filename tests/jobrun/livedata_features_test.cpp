#include "jobrun_test_support.hpp"

#include "marlek_link_json/jobs/common/stopconditions.hpp"

#include <functional>

namespace {

// Events go straight into the session's dispatch; no connection is needed.
class LiveDataFeatures : public ::testing::Test {
protected:
    void deliver(const json::object& event) { session.dispatchIncommingJson(eventText(event)); }

    LinkJsonSession session{"127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", ""};
};

const json::array threeRows{json::array{0.0, 0.5, 1e-6}, json::array{0.1, 0.6, 2e-6}, json::array{0.2, 0.7, -3}};

TEST_F(LiveDataFeatures, DcCallbacksReceiveEveryKindInGivenOrder)
{
    std::vector<std::string> order;
    Inbox<DcSeen> seen;
    CvJob job(CvParameters{}, CvJob::Callbacks{
                                  [&order](const DcLiveDataMessage&) { order.push_back("first"); },
                                  recordInto(seen),
                              });
    job.addLivedataEventHandler([&order](const DcLiveDataMessage&) { order.push_back("added"); });
    job.setEventHandlers(session);

    deliver(cvHeaderEvent());
    deliver(rowsEvent(threeRows));
    deliver(finishedEvent());
    job.removeEventHandlers(session);

    EXPECT_EQ(order, (std::vector<std::string>{"first", "added", "first", "added", "first", "added"}));
    const auto messages = seen.snapshot();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].kind, DcLiveDataMessageKind::HEADER);
    ASSERT_EQ(messages[0].header.getColumns().size(), 3u);
    EXPECT_EQ(messages[0].header.getColumns()[2].dimension, "current");
    EXPECT_EQ(messages[0].header.getColumns()[2].urn, "MAIN:1:POT:I");
    EXPECT_TRUE(messages[0].rows.empty());

    EXPECT_EQ(messages[1].kind, DcLiveDataMessageKind::ROWS);
    EXPECT_EQ(messages[1].header.getShortMeasurementType(), "CV");
    EXPECT_EQ(messages[1].rows, (std::vector<std::vector<double>>{{0.0, 0.5, 1e-6}, {0.1, 0.6, 2e-6}, {0.2, 0.7, -3.0}}));

    // The end marker still carries the header its rows were read with.
    EXPECT_EQ(messages[2].kind, DcLiveDataMessageKind::FINISHED);
    EXPECT_EQ(messages[2].header, messages[0].header);
    EXPECT_TRUE(messages[2].rows.empty());
}

TEST_F(LiveDataFeatures, EmptyCallbackIsSkippedAndTheOthersStillRun)
{
    Inbox<DcSeen> dcSeen;
    CvJob dcJob(CvParameters{}, CvJob::Callbacks{nullptr, recordInto(dcSeen)});
    dcJob.addLivedataEventHandler(nullptr);
    dcJob.addLivedataEventHandler(recordInto(dcSeen));
    Inbox<AcSeen> acSeen;
    EisTableJob acJob(EisParametersFrequencyTable{}, EisTableJob::Callbacks{nullptr, recordInto(acSeen)});
    dcJob.setEventHandlers(session);
    acJob.setEventHandlers(session);

    deliver(rowsEvent(threeRows));
    deliver(finishedEvent());

    EXPECT_EQ(dcSeen.size(), 4u);
    EXPECT_EQ(acSeen.size(), 1u);
    dcJob.removeEventHandlers(session);
    acJob.removeEventHandlers(session);
}

TEST_F(LiveDataFeatures, NothingArrivesAfterRemovalOrOnceTheJobIsGone)
{
    Inbox<DcSeen> removedSeen;
    CvJob removed(CvParameters{}, recordInto(removedSeen), StopConditionList{});
    removed.setEventHandlers(session);
    removed.removeEventHandlers(session);

    // Registered and never removed: its handlers stay with the session, the
    // job does not.
    Inbox<DcSeen> destroyedSeen;
    auto destroyed = std::make_unique<CvJob>(CvParameters{}, recordInto(destroyedSeen), StopConditionList{});
    destroyed->setEventHandlers(session);
    destroyed.reset();

    deliver(cvHeaderEvent());
    deliver(rowsEvent(threeRows));
    deliver(finishedEvent());

    EXPECT_EQ(removedSeen.size(), 0u);
    EXPECT_EQ(destroyedSeen.size(), 0u);
}

TEST_F(LiveDataFeatures, AJobWithoutCallbacksStillKeepsItsHeader)
{
    CvJob job(CvParameters{});
    job.setEventHandlers(session);
    deliver(cvHeaderEvent());

    Inbox<DcSeen> seen;
    job.addLivedataEventHandler(recordInto(seen));
    deliver(finishedEvent());
    job.removeEventHandlers(session);

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.snapshot()[0].header.getColumns().size(), 3u);
}

TEST_F(LiveDataFeatures, UnreadableEventReachesNoCallbackAndTheNextOneDoes)
{
    Inbox<DcSeen> seen;
    CvJob job(CvParameters{}, CvJob::Callbacks{recordInto(seen)});
    job.setEventHandlers(session);

    deliver(rowsEvent(json::array{json::array{1.0, "x"}}));
    deliver(json::object{{"type", "LIVE_DATA_ROWS"}});
    deliver(json::object{{"type", "LIVE_DATA_HEADER"}});
    EXPECT_EQ(seen.size(), 0u);

    deliver(rowsEvent(json::array{json::array{1, 2.5}}));
    job.removeEventHandlers(session);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.snapshot()[0].rows, (std::vector<std::vector<double>>{{1.0, 2.5}}));
}

TEST_F(LiveDataFeatures, ACopiedJobIsNotRegisteredWhereTheOriginalIs)
{
    Inbox<DcSeen> seen;
    CvJob original(CvParameters{}, CvJob::Callbacks{recordInto(seen)});
    original.setEventHandlers(session);
    {
        const CvJob copy(original);
        deliver(finishedEvent());
    }
    deliver(finishedEvent());
    original.removeEventHandlers(session);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(LiveDataFeatures, AcMessagesCarryTheirOwnPartAndPlaceholdersForTheRest)
{
    Inbox<AcSeen> seen;
    EisTableJob job(EisParametersFrequencyTable{}, recordInto(seen));
    job.setEventHandlers(session);

    deliver(eisHeaderEvent());
    deliver(json::parse(R"({"type":"LIVE_DATA_ROW_EIS","impedances":[[10.5,-2.25]],"paths":[[1,0],[0.1,0]],)"
                        R"("paths_waves":[[],[]],"async_paths":[],"potentiostats":[[0.2]],"meta":[1000,4,0.5]})")
                .as_object());
    deliver(json::parse(R"({"type":"LIVE_DATA_WAVES","paths_waves":[[0.5,0.25],[1,2]],"offset":3,)"
                        R"("full_wave_size":64})")
                .as_object());
    deliver(finishedEvent());
    job.removeEventHandlers(session);

    const auto messages = seen.snapshot();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].kind, AcLiveDataMessageKind::HEADER);
    EXPECT_TRUE(messages[0].dummyRow);
    EXPECT_TRUE(messages[0].dummyWaves);
    EXPECT_EQ(messages[0].header.getImpedances().at(0).getImpedanceName(), "cell");
    EXPECT_EQ(messages[0].header.getPaths().size(), 2u);

    EXPECT_EQ(messages[1].kind, AcLiveDataMessageKind::ROW);
    EXPECT_FALSE(messages[1].dummyRow);
    EXPECT_TRUE(messages[1].dummyWaves);
    EXPECT_EQ(messages[1].row.getImpedances(), (std::vector<std::vector<double>>{{10.5, -2.25}}));
    EXPECT_EQ(messages[1].row.getMeta(), (std::vector<double>{1000.0, 4.0, 0.5}));
    EXPECT_EQ(messages[1].header.getMetaColumns().at(0).dimension, "frequency");

    EXPECT_EQ(messages[2].kind, AcLiveDataMessageKind::WAVES);
    EXPECT_TRUE(messages[2].dummyRow);
    EXPECT_FALSE(messages[2].dummyWaves);
    EXPECT_EQ(messages[2].waves.getWaves(), (std::vector<std::vector<double>>{{0.5, 0.25}, {1.0, 2.0}}));
    EXPECT_EQ(messages[2].waves.getOffset(), 3u);
    EXPECT_EQ(messages[2].waves.getFullWaveSize(), 64u);

    EXPECT_EQ(messages[3].kind, AcLiveDataMessageKind::FINISHED);
    EXPECT_TRUE(messages[3].dummyRow && messages[3].dummyWaves);
    EXPECT_EQ(messages[3].header.getImpedances().size(), 1u);
}

// What each DC constructor makes of its arguments: which callbacks end up
// in the job, and whether metadata and stop conditions are there.
struct DcConstructorCase {
    const char* name;
    std::function<std::unique_ptr<CvJob>(CvJob::Callback&, CvJob::Callbacks&, const CvJob::MetaData&,
                                         StopConditionList&)>
        make;
    std::size_t callbacks; // deliveries of one event
    bool withMeta;
    bool withStops;
    bool takesCallback;
    bool takesCallbacks;
    bool takesList;
};

class DcConstructors : public LiveDataFeatures, public ::testing::WithParamInterface<DcConstructorCase> {};

TEST_P(DcConstructors, PlaceEachArgumentWhereItBelongs)
{
    const auto& c = GetParam();
    Inbox<DcSeen> seen;
    CvJob::Callback one = recordInto(seen);
    CvJob::Callbacks two{recordInto(seen), recordInto(seen)};
    const CvJob::MetaData meta{{"sample", "A1"}};
    StopConditionList list{
        {std::make_shared<MinLimitStopCondition>(MinLimitStopConditionParameters{"current", -0.1})}};

    const auto job = c.make(one, two, meta, list);
    EXPECT_EQ(job->getType(), JobTypeEnum::DC);
    EXPECT_EQ(job->getMetaData().size(), c.withMeta ? 1u : 0u);
    EXPECT_EQ(job->getStopConditionsArray().size(), c.withStops ? 1u : 0u);
    EXPECT_EQ(static_cast<bool>(one), !c.takesCallback);
    EXPECT_EQ(two.empty(), c.takesCallbacks);
    EXPECT_EQ(list.conditions.empty(), c.takesList);

    job->setEventHandlers(session);
    deliver(finishedEvent());
    job->removeEventHandlers(session);
    EXPECT_EQ(seen.size(), c.callbacks);
}

using M = CvJob::MetaData;
using L = StopConditionList;
using Cb = CvJob::Callback;
using Cbs = CvJob::Callbacks;
const CvParameters cv{};

INSTANTIATE_TEST_SUITE_P(
    AllTwentyThree, DcConstructors,
    ::testing::Values(
        DcConstructorCase{"none", [](Cb&, Cbs&, const M&, L&) { return std::make_unique<CvJob>(cv); }, 0, false,
                          false, false, false, false},
        DcConstructorCase{"meta", [](Cb&, Cbs&, const M& m, L&) { return std::make_unique<CvJob>(cv, m); }, 0, true,
                          false, false, false, false},
        DcConstructorCase{"cbs&&",
                          [](Cb&, Cbs& s, const M&, L&) { return std::make_unique<CvJob>(cv, std::move(s)); }, 2,
                          false, false, false, true, false},
        DcConstructorCase{"const cbs&",
                          [](Cb&, Cbs& s, const M&, L&) { return std::make_unique<CvJob>(cv, std::as_const(s)); },
                          2, false, false, false, false, false},
        DcConstructorCase{"const list&",
                          [](Cb&, Cbs&, const M&, L& l) { return std::make_unique<CvJob>(cv, std::as_const(l)); },
                          0, false, true, false, false, false},
        DcConstructorCase{"list&&",
                          [](Cb&, Cbs&, const M&, L& l) { return std::make_unique<CvJob>(cv, std::move(l)); }, 0,
                          false, true, false, false, true},
        DcConstructorCase{"cbs&&, meta",
                          [](Cb&, Cbs& s, const M& m, L&) { return std::make_unique<CvJob>(cv, std::move(s), m); },
                          2, true, false, false, true, false},
        DcConstructorCase{"const cbs&, meta",
                          [](Cb&, Cbs& s, const M& m, L&) {
                              return std::make_unique<CvJob>(cv, std::as_const(s), m);
                          },
                          2, true, false, false, false, false},
        DcConstructorCase{"cb&&, const list&",
                          [](Cb& o, Cbs&, const M&, L& l) {
                              return std::make_unique<CvJob>(cv, std::move(o), std::as_const(l));
                          },
                          1, false, true, true, false, false},
        DcConstructorCase{"const cb&, const list&",
                          [](Cb& o, Cbs&, const M&, L& l) {
                              return std::make_unique<CvJob>(cv, std::as_const(o), std::as_const(l));
                          },
                          1, false, true, false, false, false},
        DcConstructorCase{"cbs&&, list&&",
                          [](Cb&, Cbs& s, const M&, L& l) {
                              return std::make_unique<CvJob>(cv, std::move(s), std::move(l));
                          },
                          2, false, true, false, true, true},
        DcConstructorCase{"const cbs&, const list&",
                          [](Cb&, Cbs& s, const M&, L& l) {
                              return std::make_unique<CvJob>(cv, std::as_const(s), std::as_const(l));
                          },
                          2, false, true, false, false, false},
        DcConstructorCase{"const cbs&, list&&",
                          [](Cb&, Cbs& s, const M&, L& l) {
                              return std::make_unique<CvJob>(cv, std::as_const(s), std::move(l));
                          },
                          2, false, true, false, false, true},
        DcConstructorCase{"meta, const list&",
                          [](Cb&, Cbs&, const M& m, L& l) { return std::make_unique<CvJob>(cv, m, std::as_const(l)); },
                          0, true, true, false, false, false},
        DcConstructorCase{"meta, list&&",
                          [](Cb&, Cbs&, const M& m, L& l) { return std::make_unique<CvJob>(cv, m, std::move(l)); },
                          0, true, true, false, false, true},
        DcConstructorCase{"cb&&, meta, const list&",
                          [](Cb& o, Cbs&, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::move(o), m, std::as_const(l));
                          },
                          1, true, true, true, false, false},
        DcConstructorCase{"cb&&, meta, list&&",
                          [](Cb& o, Cbs&, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::move(o), m, std::move(l));
                          },
                          1, true, true, true, false, true},
        DcConstructorCase{"const cb&, meta, const list&",
                          [](Cb& o, Cbs&, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::as_const(o), m, std::as_const(l));
                          },
                          1, true, true, false, false, false},
        DcConstructorCase{"const cb&, meta, list&&",
                          [](Cb& o, Cbs&, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::as_const(o), m, std::move(l));
                          },
                          1, true, true, false, false, true},
        DcConstructorCase{"cbs&&, meta, const list&",
                          [](Cb&, Cbs& s, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::move(s), m, std::as_const(l));
                          },
                          2, true, true, false, true, false},
        DcConstructorCase{"cbs&&, meta, list&&",
                          [](Cb&, Cbs& s, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::move(s), m, std::move(l));
                          },
                          2, true, true, false, true, true},
        DcConstructorCase{"const cbs&, meta, const list&",
                          [](Cb&, Cbs& s, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::as_const(s), m, std::as_const(l));
                          },
                          2, true, true, false, false, false},
        DcConstructorCase{"const cbs&, meta, list&&",
                          [](Cb&, Cbs& s, const M& m, L& l) {
                              return std::make_unique<CvJob>(cv, std::as_const(s), m, std::move(l));
                          },
                          2, true, true, false, false, true}),
    [](const auto& info) {
        std::string name;
        for (const char c : std::string_view(info.param.name)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST_F(LiveDataFeatures, AcConstructorsTakeTheirCallbacksAndAddedOnesFollow)
{
    std::vector<std::string> order;
    const auto mark = [&order](std::string label) {
        return EisTableJob::Callback([&order, label](const AcLiveDataMessage&) { order.push_back(label); });
    };
    const EisTableJob::MetaData meta{{"cell", "B2"}};

    EisTableJob::Callback single = mark("single");
    EisTableJob::Callbacks list{mark("list-1"), mark("list-2")};
    EisTableJob::Callback singleWithMeta = mark("single+meta");
    EisTableJob::Callbacks listWithMeta{mark("list+meta")};
    std::vector<std::unique_ptr<EisTableJob>> jobs;
    jobs.push_back(std::make_unique<EisTableJob>(EisParametersFrequencyTable{}, std::move(single)));
    jobs.push_back(std::make_unique<EisTableJob>(EisParametersFrequencyTable{}, std::move(list)));
    jobs.push_back(std::make_unique<EisTableJob>(EisParametersFrequencyTable{}, std::move(singleWithMeta), meta));
    jobs.push_back(std::make_unique<EisTableJob>(EisParametersFrequencyTable{}, std::move(listWithMeta), meta));
    EXPECT_FALSE(single || singleWithMeta);
    EXPECT_TRUE(list.empty() && listWithMeta.empty());
    jobs[1]->addLivedataEventHandler(mark("added"));

    for (const auto& job : jobs) {
        EXPECT_EQ(job->getType(), JobTypeEnum::AC);
        job->setEventHandlers(session);
        deliver(finishedEvent());
        job->removeEventHandlers(session);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"single", "list-1", "list-2", "added", "single+meta", "list+meta"}));
    EXPECT_TRUE(jobs[0]->getMetaData().empty());
    EXPECT_TRUE(jobs[1]->getMetaData().empty());
    EXPECT_EQ(jobs[2]->getMetaData(), meta);
    EXPECT_EQ(jobs[3]->getMetaData(), meta);
}

} // namespace
