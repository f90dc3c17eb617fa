#include "link_test_support.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_link/marlek_link_exc.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"

#include <filesystem>
#include <thread>

using Mode = FakeReplyOverride::Mode;

namespace {

// Runs the call and returns the error object of the MarlekLinkException it
// throws; fails the test when it throws nothing.
template <typename Call>
ErrorObject thrownBy(Call&& call)
{
    try {
        call();
    } catch (const MarlekLinkException& e) {
        EXPECT_EQ(std::string(e.what()), ErrorFormatters::formatOrFallback(e.getError()));
        return e.getError();
    }
    ADD_FAILURE() << "nothing thrown";
    return ErrorObject();
}

FakeReplyOverride failedWith(const ErrorObject& error)
{
    FakeReplyOverride reply;
    reply.mode = Mode::Failed;
    reply.error = error;
    return reply;
}

} // namespace

TEST(MarlekLinkException, CarriesTheErrorAndItsFormattedText)
{
    const ErrorObject error(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH, "parameter '{0}' is too high: {1}", "scan_rate",
                            2.5);
    const MarlekLinkException exception(error);
    EXPECT_EQ(exception.getError(), error);
    EXPECT_STREQ(exception.what(), "parameter 'scan_rate' is too high: 2.5");
}

TEST(MarlekLinkException, AMessageThatDoesNotFitItsParametersIsShownUnformatted)
{
    // Such texts may come from the workstation; building the exception must
    // not fail on them.
    for (const ErrorObject& error : {ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "value {3} out of range", 1.0),
                                     ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "unbalanced { brace"),
                                     ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "{0:%Q}", 7LL)}) {
        std::optional<MarlekLinkException> exception;
        ASSERT_NO_THROW(exception.emplace(error)) << error.getMessageFormatString();
        EXPECT_EQ(std::string(exception->what()), error.getMessageFormatString());
        EXPECT_EQ(exception->getError(), error);
    }
}

TEST(MarlekLinkExcSuppression, StopEndingsAreSuppressedByDefaultAndTheSetIsASet)
{
    MarlekLinkExc link("127.0.0.1", "1");
    EXPECT_TRUE(link.isDoJobExceptionSuppressed(ErrorCodeEnum::STOP_CONDITION_TRIGGERED));
    EXPECT_TRUE(link.isDoJobExceptionSuppressed(ErrorCodeEnum::STOPPED_MANUALLY));
    for (const auto code : {ErrorCodeEnum::NONE, ErrorCodeEnum::STOPPED_MANUALLY_BEFORE_RUN,
                            ErrorCodeEnum::CONNECTION_WAS_CLOSED, ErrorCodeEnum::UNKNOWN_ERR}) {
        EXPECT_FALSE(link.isDoJobExceptionSuppressed(code));
    }
    link.suppressDoJobException(ErrorCodeEnum::QUEUE_FULL);
    link.suppressDoJobException(ErrorCodeEnum::QUEUE_FULL);
    link.enableDoJobException(ErrorCodeEnum::QUEUE_FULL);
    EXPECT_FALSE(link.isDoJobExceptionSuppressed(ErrorCodeEnum::QUEUE_FULL));
    link.enableDoJobException(ErrorCodeEnum::STOPPED_MANUALLY);
    EXPECT_FALSE(link.isDoJobExceptionSuppressed(ErrorCodeEnum::STOPPED_MANUALLY));
}

TEST(MarlekLinkExcSuppression, TheSetMayChangeWhileAJobEndingIsChecked)
{
    MarlekLinkExc link("127.0.0.1", "1");
    constexpr int kRounds = 20000;
    std::thread changer([&link] {
        for (int round = 0; round < kRounds; ++round) {
            const auto code = static_cast<ErrorCodeEnum>(0x1000 + round % 64);
            link.suppressDoJobException(code);
            link.enableDoJobException(code);
        }
    });
    std::size_t stopEndings = 0;
    for (int round = 0; round < kRounds; ++round) {
        stopEndings += link.isDoJobExceptionSuppressed(ErrorCodeEnum::STOPPED_MANUALLY) ? 1 : 0;
        link.isDoJobExceptionSuppressed(static_cast<ErrorCodeEnum>(0x1000 + round % 64));
    }
    changer.join();
    EXPECT_EQ(stopEndings, static_cast<std::size_t>(kRounds));
}

TEST(MarlekLinkExcWithoutSession, ThrowsNotConnectedExceptWhereItNeverThrows)
{
    MarlekLinkExc link("127.0.0.1", "1");
    const Resource wave = Resource::fromId(ResourceTypeEnum::WAVE, "res-1");
    CvJob job = jobThatRan("job-0001");
    EXPECT_EQ(thrownBy([&] { link.getAvailableResources(ResourceTypeEnum::WAVE); }), kNotConnected);
    EXPECT_EQ(thrownBy([&] { link.getJobResultData(job); }), kNotConnected);
    EXPECT_EQ(thrownBy([&] { link.createResource(ResourceTypeEnum::WAVE, "w"); }), kNotConnected);
    EXPECT_EQ(thrownBy([&] { link.deleteResource(wave); }), kNotConnected);
    EXPECT_EQ(thrownBy([&] { link.getWorkstationInfo(); }), kNotConnected);
    EXPECT_EQ(thrownBy([&] { link.getSettings(); }), kNotConnected);
    EXPECT_EQ(thrownBy([&] { link.dropWorkstationConnection({}); }), kNotConnected);

    SettingsSet settings({{"beep", Setting(true)}});
    EXPECT_NO_THROW(link.updateSettings(settings));
    EXPECT_EQ(settings["beep"].getUpdateFailureReason(), kNotConnected);
    EXPECT_NO_THROW(link.sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_FLUSH));

    Resource resource = wave;
    std::string content;
    ErrorObject fullResource;
    EXPECT_NO_THROW(fullResource = link.retrieveFullResource(resource, content, 0));
    EXPECT_EQ(fullResource, kNotConnected);
    EXPECT_NO_THROW(link.disconnect());
    EXPECT_NO_THROW(EXPECT_FALSE(link.isConnected()));
}

TEST(MarlekLinkExcConnect, UnreachablePortThrowsAndLeavesNoSession)
{
    MarlekLinkExc link("127.0.0.1", "1");
    try {
        link.connect();
        ADD_FAILURE() << "connect did not throw";
    } catch (const MarlekLinkException& e) {
        EXPECT_STREQ(e.what(), "failed to connect");
        EXPECT_EQ(e.getError().getErrorCodeEnum(), ErrorCodeEnum::CONNECTION_FAILED);
    }
    EXPECT_EQ(thrownBy([&] { link.getAvailableResources(ResourceTypeEnum::WAVE); }), kNotConnected);
}

using ConnectedExcLink = ConnectedLinkTest<MarlekLinkExc>;

TEST_F(ConnectedExcLink, FailedOperationsThrowTheWorkstationsErrorUnchanged)
{
    const ErrorObject refused(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "resource",
                              "resource_id", "res-7");
    router().setReplyOverride("/WAVE/list", failedWith(refused));
    router().setReplyOverride("/WAVE/delete", failedWith(refused));
    router().setReplyOverride("/status", failedWith(refused));
    EXPECT_EQ(thrownBy([&] { link->getAvailableResources(ResourceTypeEnum::WAVE); }), refused);
    EXPECT_EQ(thrownBy([&] { link->getWorkstationStatus(); }), refused);
    EXPECT_EQ(thrownBy([&] { link->deleteResource(Resource::fromId(ResourceTypeEnum::WAVE, "res-7")); }), refused);
    // Suppression concerns job endings only.
    link->suppressDoJobException(ErrorCodeEnum::ID_NOT_FOUND);
    EXPECT_EQ(thrownBy([&] { link->getAvailableResources(ResourceTypeEnum::WAVE); }), refused);
}

TEST_F(ConnectedExcLink, SuccessReturnsWhatTheLinkReturns)
{
    const auto created = link->createResource(ResourceTypeEnum::WAVE, "w");
    ASSERT_TRUE(created);
    EXPECT_TRUE(created->isValid());
    EXPECT_EQ(link->appendToResource(*created, {'a', 'b'}), ErrorObject());
    const auto listed = link->getAvailableResources(ResourceTypeEnum::WAVE);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->size(), 1u);
    EXPECT_THROW(link->connect(), MarlekLinkException);
    EXPECT_TRUE(link->isConnected());
}

TEST_F(ConnectedExcLink, RefusedCreateIsAnInvalidHandleNotAnException)
{
    const ErrorObject refused(ErrorCodeEnum::RESOURCE_CREATION_FAILED, "resource creation failed");
    router().setReplyOverride("/WAVE/create", failedWith(refused));
    std::expected<Resource, ErrorObject> created;
    ASSERT_NO_THROW(created = link->createResource(ResourceTypeEnum::WAVE, "w"));
    ASSERT_TRUE(created);
    EXPECT_FALSE(created->isValid());
}

TEST_F(ConnectedExcLink, FailedUploadThrowsItsError)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const ErrorObject error = thrownBy([&] { link->createResourceFromFile(ResourceTypeEnum::WAVE, folder, "w"); });
    EXPECT_EQ(codeOf(error), ErrorCodeEnum::FILE_COULD_NOT_BE_READ);
    EXPECT_EQ(router().resourceCount(ResourceTypeEnum::WAVE), 0u);
}

TEST_F(ConnectedExcLink, ResultDataThrowsForAnUnsuppressedJobError)
{
    const auto store = [&](const std::string& jobId, const ErrorObject& jobError) {
        JobInfo info = finishedJobInfo(jobId);
        info.status = JobStatusEnum::FAILED;
        info.error = jobError;
        const LiveDataHeader header("Cyclic Voltammetry", "CV", {ColumnHeader("time", "s")});
        router().addResource(resultDescription(jobId, ResourceSubType::DATASET_DC,
                                               resultHeader(info, boost::json::value_from(header))),
                             littleEndian({0.0, 1.0}));
    };
    const ErrorObject stopped(ErrorCodeEnum::STOP_CONDITION_TRIGGERED, "stop condition triggered");
    const ErrorObject broken(ErrorCodeEnum::HARDWARE_CONFIGURATION_ISSUE, "hardware configuration issue: {0}", "pot");
    store("job-0001", stopped);
    store("job-0002", broken);
    CvJob stoppedJob = jobThatRan("job-0001");
    CvJob brokenJob = jobThatRan("job-0002");

    const auto data = link->getJobResultData(stoppedJob);
    ASSERT_TRUE(data);
    ASSERT_TRUE(*data);
    EXPECT_EQ((*data)->getJobInfo().error, stopped);

    // The data came back, but from a job that failed.
    EXPECT_EQ(thrownBy([&] { link->getJobResultData(brokenJob); }), broken);

    link->enableDoJobException(ErrorCodeEnum::STOP_CONDITION_TRIGGERED);
    EXPECT_EQ(thrownBy([&] { link->getJobResultData(stoppedJob); }), stopped);
}
