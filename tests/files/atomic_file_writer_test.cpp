#include "file_test_support.hpp"

#include "marlek_link_json/atomic_file_writer.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace file_test;

namespace {

// What the flushes saw: a file or a folder, and the target's content at the
// time. A flush function is a plain function, hence the file-wide state.
struct FlushSeen {
    bool folder;
    std::string target;
    friend bool operator==(const FlushSeen&, const FlushSeen&) = default;
};

std::filesystem::path watchedTarget;
std::vector<FlushSeen> flushes;
int failFileFlushWith = 0;
int failFolderFlushWith = 0;

int recordingFlush(int descriptor)
{
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        return -1;
    }
    const bool folder = S_ISDIR(status.st_mode);
    flushes.push_back({folder, readFile(watchedTarget)});
    const int failure = folder ? failFolderFlushWith : failFileFlushWith;
    if (failure != 0) {
        errno = failure;
        return -1;
    }
    return ::fsync(descriptor);
}

class AtomicFileWriterTest : public ::testing::Test {
protected:
    AtomicFileWriterTest()
    {
        watchedTarget = folder / "data.xml";
        flushes.clear();
        failFileFlushWith = 0;
        failFolderFlushWith = 0;
        writeFile(watchedTarget, "old");
    }

    ErrorObject write(const std::string& content)
    {
        AtomicFileWriter writer(watchedTarget, recordingFlush);
        if (ErrorObject opened = writer.open(); opened != ErrorObject()) {
            return opened;
        }
        return writer.commit(content.data(), content.size());
    }

    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder.path()),
                                                      std::filesystem::directory_iterator()));
    }

    TempFolder folder;
};

} // namespace

// The data reaches the disk before it replaces the old file, and the folder,
// which holds the rename, after it.
TEST_F(AtomicFileWriterTest, FlushesTheDataBeforeTheRenameAndTheFolderAfterIt)
{
    ASSERT_EQ(write("new"), ErrorObject());
    EXPECT_EQ(flushes, (std::vector<FlushSeen>{{false, "old"}, {true, "new"}}));
    EXPECT_EQ(readFile(watchedTarget), "new");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileWriterTest, DataThatCannotBeFlushedNeverReplacesTheFile)
{
    failFileFlushWith = EIO;
    const ErrorObject error = write("new");
    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN) << textOf(error);
    EXPECT_NE(textOf(error).find("data.xml"), std::string::npos) << textOf(error);
    EXPECT_EQ(readFile(watchedTarget), "old");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileWriterTest, FolderFlushFailureIsReportedUnlessTheFileSystemCannotFlushFolders)
{
    const std::vector<std::pair<int, ErrorCodeEnum>> cases{{EIO, ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN},
                                                           {EINVAL, ErrorCodeEnum::NONE}};
    for (const auto& [failure, expected] : cases) {
        SCOPED_TRACE(failure);
        failFolderFlushWith = failure;
        EXPECT_EQ(write("new").getErrorCodeEnum(), expected);
        EXPECT_EQ(readFile(watchedTarget), "new");
        EXPECT_EQ(entries(), 1u);
    }
}

TEST(AtomicFileWriter, FlushesTheWorkingFolderForABareFileName)
{
    TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    watchedTarget = folder / "bare.txt";
    flushes.clear();
    failFileFlushWith = 0;
    failFolderFlushWith = 0;
    AtomicFileWriter writer("bare.txt", recordingFlush);
    const std::string content = "text";
    const bool written = writer.open() == ErrorObject() && writer.commit(content.data(), content.size()) == ErrorObject();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(flushes, (std::vector<FlushSeen>{{false, ""}, {true, "text"}}));
}
