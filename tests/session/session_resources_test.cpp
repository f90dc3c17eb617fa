#include "session_test_support.hpp"

#include "support/file_contents.hpp"
#include "support/temporary_folder.hpp"

#include "marlek_json_common/json_common/text/base64.hpp"

#include <filesystem>
#include <random>
#include <thread>

using Mode = FakeReplyOverride::Mode;
namespace fs = std::filesystem;

namespace {

std::string randomBytes(std::size_t size, unsigned seed = 7)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(generator() & 0xff);
    }
    return bytes;
}

std::size_t decodedSize(const boost::json::object& request)
{
    std::string bytes;
    EXPECT_EQ(base64::decode(request.at("data").as_string(), base64::Policy::Strict, bytes), std::nullopt);
    return bytes.size();
}

class Resources : public ConnectedSession {
protected:
    // Uploads and downloads move megabytes in many requests: the short
    // time-out of the fixture would fail them on a loaded machine. Tests of
    // a time-out set their own.
    static constexpr auto kTransferTimeout = 30s;

    void SetUp() override
    {
        ConnectedSession::SetUp();
        session->setRequestTimeout(kTransferTimeout);
    }

    Resource stored(const std::string& content, ResourceTypeEnum type = ResourceTypeEnum::WAVE)
    {
        Resource resource = Resource::fromId(type, router().addResource(type, "stored", content));
        return resource;
    }
};

} // namespace

TEST(ResourceHandle, FromIdHoldsTypeAndIdOnly)
{
    const Resource resource = Resource::fromId(ResourceTypeEnum::CALIB_MESH, "res-9");
    EXPECT_TRUE(resource.isValid());
    EXPECT_EQ(resource.getResourceId(), "res-9");
    EXPECT_EQ(resource.getType(), ResourceTypeEnum::CALIB_MESH);
    EXPECT_EQ(resource.getSize(), 0u);
    EXPECT_EQ(resource.getName(), "");
    EXPECT_FALSE(Resource().isValid());
}

TEST_F(Resources, CreateListInfoDeleteRoundTrip)
{
    const Resource created = session->createResource(ResourceTypeEnum::DEBUG_INFO, "notes");
    ASSERT_TRUE(created.isValid());
    EXPECT_EQ(created.getName(), "notes");
    EXPECT_EQ(created.getType(), ResourceTypeEnum::DEBUG_INFO);
    EXPECT_EQ(router().requests("/DEBUG_INFO/create")[0].at("name"), "notes");

    EXPECT_EQ(session->appendToResource(created, {'a', 'b', 'c'}), ErrorObject());
    Resource refreshed = created;
    EXPECT_EQ(session->getUpdatedResourceInfo(refreshed), ErrorObject());
    EXPECT_EQ(refreshed.getSize(), 3u);
    EXPECT_EQ(refreshed.getCreated(), "2024-01-01T00:00:00.000000");

    const auto list = session->getResourceList(ResourceTypeEnum::DEBUG_INFO);
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].getResourceId(), created.getResourceId());
    EXPECT_TRUE(session->getResourceList(ResourceTypeEnum::WAVE)->empty());

    EXPECT_EQ(session->deleteResource(created), ErrorObject());
    EXPECT_EQ(router().resourceCount(ResourceTypeEnum::DEBUG_INFO), 0u);
    EXPECT_EQ(codeOf(session->deleteResource(created)), ErrorCodeEnum::ID_NOT_FOUND);
    EXPECT_EQ(codeOf(session->getUpdatedResourceInfo(refreshed)), ErrorCodeEnum::ID_NOT_FOUND);
    EXPECT_EQ(refreshed.getSize(), 3u);
}

TEST_F(Resources, FailuresOfTheCommandsReportTheRepliesError)
{
    const ErrorObject refusal(ErrorCodeEnum::RESOURCE_NOT_WRITABLE, "refused {0}", "now");
    for (const char* command : {"/WAVE/list", "/WAVE/create", "/WAVE/append", "/WAVE/delete"}) {
        router().setReplyOverride(command, {.mode = Mode::Failed, .error = refusal});
    }
    EXPECT_EQ(session->getResourceList(ResourceTypeEnum::WAVE).error(), refusal);
    EXPECT_FALSE(session->createResource(ResourceTypeEnum::WAVE, "x").isValid());
    const Resource resource = stored("abc");
    EXPECT_EQ(session->appendToResource(resource, {'x'}), refusal);
    EXPECT_EQ(session->deleteResource(resource), refusal);

    router().setReplyOverride("/WAVE/list", {.mode = Mode::WithoutResultKeys});
    ASSERT_TRUE(session->getResourceList(ResourceTypeEnum::WAVE).has_value());
    EXPECT_TRUE(session->getResourceList(ResourceTypeEnum::WAVE)->empty());
    router().setReplyOverride("/WAVE/create", {.mode = Mode::WithoutResultKeys});
    EXPECT_FALSE(session->createResource(ResourceTypeEnum::WAVE, "x").isValid());
}

TEST_F(Resources, InfoReplyMustDescribeTheSameResource)
{
    Resource resource = stored("abc");
    router().setReplyOverride("/WAVE/info", {.mode = Mode::WithoutResultKeys});
    ErrorObject missing = session->getUpdatedResourceInfo(resource);
    EXPECT_EQ(formatted(missing), "property 'resource' missing or not an object");

    FakeReplyOverride other{.mode = Mode::ExtraKeys};
    other.extraKeys["resource"] = boost::json::object{{"resource_id", "res-999"}, {"size", 5}};
    router().setReplyOverride("/WAVE/info", other);
    EXPECT_EQ(formatted(session->getUpdatedResourceInfo(resource)), "json malformed: resource");
    EXPECT_EQ(resource.getSize(), 0u);
}

TEST_F(Resources, AppendSplitsIntoChunksAndSendsNothingForNoContent)
{
    const Resource resource = stored("");
    EXPECT_EQ(session->appendToResource(resource, {}), ErrorObject());
    EXPECT_TRUE(router().requests("/WAVE/append").empty());

    const std::string content = randomBytes(1000000);
    EXPECT_EQ(session->appendToResource(resource, std::vector<char>(content.begin(), content.end())), ErrorObject());
    const auto appends = router().requests("/WAVE/append");
    ASSERT_EQ(appends.size(), 3u);
    EXPECT_EQ(decodedSize(appends[0]), 393216u);
    EXPECT_EQ(decodedSize(appends[1]), 393216u);
    EXPECT_EQ(decodedSize(appends[2]), 213568u);
    EXPECT_EQ(router().resourceContent(ResourceTypeEnum::WAVE, resource.getResourceId()), content);
}

TEST_F(Resources, UploadFromFileAndReadBackInChunksByteForByte)
{
    TemporaryFolder folder;
    const std::string content = randomBytes(5 * 1024 * 1024, 11);
    writeFile(folder.path() / "wave.bin", content);

    const auto uploaded = session->createResourceFromFile(ResourceTypeEnum::WAVE, folder.path() / "wave.bin", "");
    ASSERT_TRUE(uploaded.has_value()) << formatted(uploaded.error());
    const Resource resource = *uploaded;
    ASSERT_TRUE(resource.isValid());
    EXPECT_EQ(resource.getName(), "wave.bin");
    EXPECT_EQ(router().requests("/WAVE/append").size(), 14u); // 4 MiB in 11, 1 MiB in 3
    EXPECT_EQ(router().resourceContent(ResourceTypeEnum::WAVE, resource.getResourceId()), content);

    std::vector<char> output{'p', 'r', 'e'};
    EXPECT_EQ(session->retrieveResource(resource, output, 0, 0), ErrorObject());
    ASSERT_EQ(output.size(), content.size() + 3);
    EXPECT_EQ(std::string(output.begin(), output.begin() + 3), "pre");
    EXPECT_TRUE(std::equal(content.begin(), content.end(), output.begin() + 3));
    const auto gets = router().requests("/WAVE/get");
    ASSERT_EQ(gets.size(), 14u);
    EXPECT_EQ(gets[1].at("offset"), 393216);
    EXPECT_EQ(gets[1].at("limit"), 393216);
    EXPECT_EQ(gets.back().at("limit"), content.size() - 13 * 393216);

    const auto named = session->createResourceFromFile(ResourceTypeEnum::WAVE, folder.path() / "wave.bin", "given");
    ASSERT_TRUE(named.has_value());
    EXPECT_EQ(named->getName(), "given");
}

TEST_F(Resources, UploadFromAMissingFileAsksNothing)
{
    TemporaryFolder folder;
    ::testing::internal::CaptureStderr();
    const auto missing = session->createResourceFromFile(ResourceTypeEnum::WAVE, folder.path() / "missing", "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error: Could not open file: " + (folder.path() / "missing").string() + "\n");
    ASSERT_TRUE(missing.has_value());
    EXPECT_FALSE(missing->isValid());
    EXPECT_TRUE(router().requests("/WAVE/create").empty());
}

TEST_F(Resources, FailedUploadDeletesTheResourceAgainAndReportsWhy)
{
    TemporaryFolder folder;
    // A folder opens but cannot be read: that is a failure, not an empty file.
    const auto unreadable = session->createResourceFromFile(ResourceTypeEnum::WAVE, folder.path(), "");
    ASSERT_FALSE(unreadable.has_value());
    EXPECT_EQ(formatted(unreadable.error()), "file '" + folder.path().string() + "' could not be read: Is a directory");
    EXPECT_EQ(router().requests("/WAVE/create").size(), 1u);
    EXPECT_EQ(router().requests("/WAVE/delete").size(), 1u);
    EXPECT_EQ(router().resourceCount(ResourceTypeEnum::WAVE), 0u);

    writeFile(folder.path() / "wave.bin", randomBytes(1000000));
    const ErrorObject refusal(ErrorCodeEnum::RESOURCE_NOT_WRITABLE, "refused {0}", "now");
    router().setReplyOverride("/WAVE/append", {.mode = Mode::Failed, .error = refusal});
    const auto refused = session->createResourceFromFile(ResourceTypeEnum::WAVE, folder.path() / "wave.bin", "");
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error(), refusal);
    EXPECT_EQ(router().resourceCount(ResourceTypeEnum::WAVE), 0u);
}

struct RetrieveCase {
    const char* name;
    std::size_t contentSize;
    std::size_t limit;
    std::size_t offset;
    std::vector<std::pair<std::size_t, std::size_t>> requests; // offset, limit
    std::size_t received;
};

class RetrieveRanges : public Resources, public ::testing::WithParamInterface<RetrieveCase> {};

TEST_P(RetrieveRanges, AskForTheRightSlices)
{
    const auto& c = GetParam();
    const std::string content = randomBytes(c.contentSize);
    const Resource resource = stored(content);
    std::vector<char> output;
    EXPECT_EQ(session->retrieveResource(resource, output, c.limit, c.offset), ErrorObject());
    const auto gets = router().requests("/WAVE/get");
    ASSERT_EQ(gets.size(), c.requests.size());
    for (std::size_t i = 0; i < gets.size(); ++i) {
        EXPECT_EQ(gets[i].at("offset").to_number<std::size_t>(), c.requests[i].first);
        EXPECT_EQ(gets[i].at("limit").to_number<std::size_t>(), c.requests[i].second);
    }
    ASSERT_EQ(output.size(), c.received);
    EXPECT_TRUE(std::equal(output.begin(), output.end(), content.begin() + std::min(c.offset, content.size())));
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, RetrieveRanges,
    ::testing::Values(
        RetrieveCase{"whole", 1000000, 0, 0, {{0, 393216}, {393216, 393216}, {786432, 213568}}, 1000000},
        RetrieveCase{"limit", 1000, 100, 0, {{0, 100}}, 100},
        RetrieveCase{"limit_beyond_end", 1000, 500, 800, {{800, 500}}, 200},
        RetrieveCase{"offset_at_end", 1000, 0, 1000, {{1000, 393216}}, 0},
        RetrieveCase{"empty", 0, 0, 0, {{0, 393216}}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Resources, RetrieveRefusesBadReplies)
{
    const Resource resource = stored(randomBytes(1000));
    std::vector<char> output;

    router().setReplyOverride("/WAVE/get", {.mode = Mode::WithoutResultKeys});
    EXPECT_EQ(formatted(session->retrieveResource(resource, output, 0, 0)),
              "json malformed: incomplete json object received");

    router().clearReplyOverrides();
    EXPECT_EQ(formatted(session->retrieveResource(resource, output, 10, 5000)),
              "an unexpected exception occured: offset beyond resource size");

    // A workstation that keeps answering without content is not asked forever.
    FakeReplyOverride empty{.mode = Mode::ExtraKeys};
    empty.extraKeys["data"] = "";
    router().setReplyOverride("/WAVE/get", empty);
    const auto before = router().requests("/WAVE/get").size();
    EXPECT_EQ(codeOf(session->retrieveResource(resource, output, 0, 0)), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
    EXPECT_EQ(router().requests("/WAVE/get").size(), before + 1);
    EXPECT_TRUE(output.empty());
}

constexpr std::size_t kDownloadSize = 3 * 1024 * 1024 + 17;

TEST_F(Resources, RetrieveWithoutLimitIsBoundByTheKnownSize)
{
    const std::string content = randomBytes(1000);
    const std::string id = router().addResource(ResourceTypeEnum::WAVE, "stored", content);
    ResourceInfo stale;
    stale.resource_id = id;
    stale.type = ResourceTypeEnum::WAVE;
    stale.size = 400;
    std::vector<char> output;
    EXPECT_EQ(formatted(session->retrieveResource(Resource(stale), output, 0, 0)),
              "resource content invalid: resource larger than its known size");
    EXPECT_TRUE(output.empty());

    // A limit of the caller's own still reads a part of it.
    EXPECT_EQ(session->retrieveResource(Resource(stale), output, 100, 0), ErrorObject());
    EXPECT_EQ(output.size(), 100u);

    output.clear();
    const auto list = session->getResourceList(ResourceTypeEnum::WAVE);
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ(session->retrieveResource(list->front(), output, 0, 0), ErrorObject());
    EXPECT_EQ(std::string(output.begin(), output.end()), content);
}

TEST_F(Resources, RetrieveRefusesMoreDataThanRequested)
{
    const Resource resource = stored(randomBytes(1000));
    const std::string surplus = randomBytes(200, 3);
    FakeReplyOverride flood{.mode = Mode::ExtraKeys};
    flood.extraKeys["data"] = base64::encode(surplus);
    router().setReplyOverride("/WAVE/get", flood);

    std::vector<char> output;
    EXPECT_EQ(formatted(session->retrieveResource(resource, output, 100, 0)),
              "resource content invalid: more data received than requested");
    EXPECT_TRUE(output.empty());
    EXPECT_EQ(session->retrieveResource(resource, output, 200, 0), ErrorObject());
    EXPECT_EQ(std::string(output.begin(), output.end()), surplus);
}

// A chunk is taken whole or not at all: a stray character must not end it
// early and pass the rest off as the resource's content.
TEST_F(Resources, RetrieveRefusesAChunkThatIsNotBase64)
{
    const Resource resource = stored("ABC");
    struct Case {
        const char* data;
        const char* error;
    };
    for (const auto& c : {
             Case{"QU!D", "resource content invalid: invalid base64 byte 0x21 at offset 2"},
             Case{"QUJD-", "resource content invalid: invalid base64 byte 0x2d at offset 4"},
             Case{"QU=D", "resource content invalid: base64 data after padding 0x44 at offset 3"},
         }) {
        FakeReplyOverride garbled{.mode = Mode::ExtraKeys};
        garbled.extraKeys["data"] = c.data;
        router().setReplyOverride("/WAVE/get", garbled);
        std::vector<char> output{'x'};
        const ErrorObject result = session->retrieveResource(resource, output, 0, 0);
        EXPECT_EQ(codeOf(result), ErrorCodeEnum::RESOURCE_CONTENT_INVALID) << c.data;
        EXPECT_EQ(formatted(result), c.error);
        EXPECT_EQ(output, std::vector<char>{'x'}) << c.data;
    }
    // White space within a chunk hides nothing.
    FakeReplyOverride wrapped{.mode = Mode::ExtraKeys};
    wrapped.extraKeys["data"] = "QU\r\nJD";
    router().setReplyOverride("/WAVE/get", wrapped);
    std::vector<char> output;
    EXPECT_EQ(session->retrieveResource(resource, output, 0, 0), ErrorObject());
    EXPECT_EQ(std::string(output.begin(), output.end()), "ABC");
}

struct DownloadCase {
    const char* name;
    FakeDownloadKnobs knobs;
    ErrorCodeEnum code;
    std::size_t receivedSize;
    std::size_t maximum = 0;
};

class FullDownload : public Resources, public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(FullDownload, ChecksTheBinaryMessage)
{
    const auto& c = GetParam();
    session->setBinaryFrameTimeoutForTesting(500ms);
    router().setDownloadKnobs(c.knobs);
    const std::string content = randomBytes(kDownloadSize);
    Resource resource = stored(content);
    std::string output;
    const auto started = std::chrono::steady_clock::now();
    const ErrorObject result = session->retrieveFullResource(resource, output, c.maximum);
    // Ended by the wait for the binary message, not by the request time-out.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_EQ(codeOf(result), c.code) << formatted(result);
    EXPECT_EQ(resource.getSize(), content.size());
    if (c.code == ErrorCodeEnum::NONE) {
        ASSERT_EQ(output.size(), c.receivedSize);
        EXPECT_EQ(output.substr(0, content.size()), content);
    }
    if (c.code == ErrorCodeEnum::RESOURCE_CONTENT_INVALID) {
        EXPECT_EQ(formatted(result), "resource content invalid: downloaded resource size invalid");
    }
    if (c.code == ErrorCodeEnum::OPERATION_TIMED_OUT) {
        EXPECT_EQ(formatted(result), "operation timed out");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Knobs, FullDownload,
    ::testing::Values(DownloadCase{"normal", {}, ErrorCodeEnum::NONE, kDownloadSize},
                      DownloadCase{"binary_before_reply", {.binaryBeforeReply = true}, ErrorCodeEnum::NONE,
                                   kDownloadSize},
                      DownloadCase{"exactly_the_maximum", {}, ErrorCodeEnum::NONE, kDownloadSize, kDownloadSize},
                      DownloadCase{"longer", {.extendBy = 5}, ErrorCodeEnum::NONE, kDownloadSize + 5},
                      DownloadCase{"longer_within_the_maximum", {.extendBy = 5}, ErrorCodeEnum::NONE,
                                   kDownloadSize + 5, kDownloadSize + 5},
                      DownloadCase{"longer_beyond_the_maximum", {.extendBy = 5}, ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
                                   0, kDownloadSize + 4},
                      DownloadCase{"truncated", {.truncateBy = 1}, ErrorCodeEnum::RESOURCE_CONTENT_INVALID, 0},
                      DownloadCase{"missing", {.omitBinary = true}, ErrorCodeEnum::OPERATION_TIMED_OUT, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Resources, FullDownloadLimitsAndEmptyResources)
{
    Resource empty = stored("");
    std::string output = "old";
    EXPECT_EQ(session->retrieveFullResource(empty, output, 0), ErrorObject());
    EXPECT_EQ(output, "");
    EXPECT_TRUE(router().requests("/WAVE/download").empty());

    Resource large = stored(randomBytes(100));
    EXPECT_EQ(session->retrieveFullResource(large, output, 10).getMessageFormatted<ErrorFormatters::DefaultErrorFormatter>(),
              "parameter 'limit' is too high: '100' > '10' must be false");
    EXPECT_TRUE(router().requests("/WAVE/download").empty());
}

TEST_F(Resources, FailedDownloadReplyClearsThePendingDownload)
{
    Resource resource = stored(randomBytes(100));
    router().setReplyOverride("/WAVE/download",
                              {.mode = Mode::Failed, .error = ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "gone")});
    router().setDownloadKnobs({.binaryBeforeReply = false});
    std::string output;
    EXPECT_EQ(codeOf(session->retrieveFullResource(resource, output, 0)), ErrorCodeEnum::ID_NOT_FOUND);
    // A binary message now finds no receiver (it would write to a dead one).
    workstation.sendBinary("stray");
    // Frames arrive in order: once this reply is in, the stray one was handled.
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(boost::json::object{{"do", "/status"}}, -1)));
    router().clearReplyOverrides();
    EXPECT_EQ(session->retrieveFullResource(resource, output, 0), ErrorObject());
}

TEST_F(Resources, ConcurrentFullDownloadsEachGetTheirContent)
{
    const std::string first = randomBytes(200000, 1);
    const std::string second = randomBytes(300000, 2);
    Resource a = stored(first);
    Resource b = stored(second);
    std::string outA;
    std::string outB;
    ErrorObject resultA;
    ErrorObject resultB;
    std::thread downloadA([&] { resultA = session->retrieveFullResource(a, outA, 0); });
    std::thread downloadB([&] { resultB = session->retrieveFullResource(b, outB, 0); });
    downloadA.join();
    downloadB.join();
    EXPECT_EQ(resultA, ErrorObject());
    EXPECT_EQ(resultB, ErrorObject());
    EXPECT_EQ(outA, first);
    EXPECT_EQ(outB, second);
}

TEST_F(Resources, DownloadToFileWritesTheWholeResource)
{
    TemporaryFolder folder;
    const std::string content = randomBytes(1000000);
    const Resource resource = stored(content);
    const fs::path target = folder.path() / "deeper" / "level" / "out.bin";
    EXPECT_EQ(session->downloadResourceToFile(resource, target), ErrorObject());
    EXPECT_EQ(readFile(target), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()), 1);

    EXPECT_EQ(formatted(session->downloadResourceToFile(Resource::fromId(ResourceTypeEnum::WAVE, ""), target)),
              "could not find resource with resource_id ''");
}

TEST_F(Resources, FailedDownloadToFileLeavesAnExistingFileUntouched)
{
    TemporaryFolder folder;
    const fs::path target = folder.path() / "keep.bin";
    writeFile(target, "precious");
    const Resource resource = stored(randomBytes(1000000));

    router().setReplyOverride("/WAVE/get", {.mode = Mode::Failed,
                                            .error = ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "gone")});
    EXPECT_EQ(codeOf(session->downloadResourceToFile(resource, target)), ErrorCodeEnum::ID_NOT_FOUND);
    EXPECT_EQ(readFile(target), "precious");

    router().setReplyOverride("/WAVE/get", {.mode = Mode::NoReply});
    session->setRequestTimeout(kRequestTimeout);
    EXPECT_EQ(codeOf(session->downloadResourceToFile(resource, target)), ErrorCodeEnum::OPERATION_TIMED_OUT);
    session->setRequestTimeout(kTransferTimeout);
    EXPECT_EQ(readFile(target), "precious");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    router().clearReplyOverrides();
    EXPECT_EQ(session->downloadResourceToFile(resource, target), ErrorObject());
    EXPECT_EQ(readFile(target).size(), 1000000u);
}

TEST_F(Resources, DownloadToAFolderCannotOpenTheFile)
{
    TemporaryFolder folder;
    const Resource resource = stored("abc");
    const ErrorObject result = session->downloadResourceToFile(resource, folder.path());
    EXPECT_EQ(codeOf(result), ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED);
    EXPECT_EQ(formatted(result), "file '" + folder.path().string() + "' could not be opened: Is a directory");
}
