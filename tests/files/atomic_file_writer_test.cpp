#include "file_test_support.hpp"

#include "marlek_link_json/atomic_file_writer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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

// After the rename the file holds the new data: a failed folder flush says
// so, with the system's reason, rather than that the file was not written.
TEST_F(AtomicFileWriterTest, FolderFlushFailureIsReportedUnlessTheFileSystemCannotFlushFolders)
{
    failFolderFlushWith = EIO;
    AtomicFileWriter writer(watchedTarget, recordingFlush);
    ASSERT_EQ(writer.open(), ErrorObject());
    const ErrorObject error = writer.commit("new", 3);
    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN);
    EXPECT_EQ(textOf(error), "file '" + watchedTarget.string()
                                 + "' was written, but its folder could not be flushed to the disk, so the new "
                                   "content may not survive a power cut: Input/output error");
    EXPECT_TRUE(writer.replaced());
    EXPECT_EQ(readFile(watchedTarget), "new");
    EXPECT_EQ(entries(), 1u);

    failFolderFlushWith = EINVAL;
    EXPECT_EQ(write("newer"), ErrorObject());
    EXPECT_EQ(readFile(watchedTarget), "newer");
}

TEST_F(AtomicFileWriterTest, ErrorsCarryTheSystemsReason)
{
    failFileFlushWith = ENOSPC;
    AtomicFileWriter writer(watchedTarget, recordingFlush);
    ASSERT_EQ(writer.open(), ErrorObject());
    const ErrorObject error = writer.commit("new", 3);
    EXPECT_EQ(textOf(error), "file '" + watchedTarget.string() + "' could not be written: No space left on device");
    EXPECT_EQ(writer.failureReason(), "No space left on device");
    EXPECT_FALSE(writer.replaced());

    AtomicFileWriter intoAFile(folder / "data.xml" / "inner.xml", recordingFlush);
    EXPECT_EQ(textOf(intoAFile.open()),
              "file '" + (folder / "data.xml" / "inner.xml").string() + "' could not be opened: Not a directory");
    EXPECT_EQ(intoAFile.failureReason(), "Not a directory");
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

namespace {

class AtomicFileWriterThroughLinks : public ::testing::Test {
protected:
    // Writes `content` to `path` as a caller would.
    static ErrorObject save(const std::filesystem::path& path, const std::string& content)
    {
        AtomicFileWriter writer(path);
        if (ErrorObject opened = writer.open(); opened != ErrorObject()) {
            return opened;
        }
        return writer.commit(content.data(), content.size());
    }

    static std::vector<std::string> names(const std::filesystem::path& folder)
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    TempFolder folder;
};

} // namespace

// latest.xml -> real/run42.xml: saving to latest.xml replaces run42.xml and
// keeps latest.xml a link, also at the end of a chain of links.
TEST_F(AtomicFileWriterThroughLinks, ReplacesTheFileTheChainEndsAt)
{
    std::filesystem::create_directory(folder / "real");
    writeFile(folder / "real" / "run42.xml", "old");
    std::filesystem::create_symlink("real/run42.xml", folder / "latest.xml");
    std::filesystem::create_symlink(folder / "latest.xml", folder / "newest.xml");

    ASSERT_EQ(save(folder / "latest.xml", "first"), ErrorObject());
    EXPECT_EQ(readFile(folder / "real" / "run42.xml"), "first");
    ASSERT_EQ(save(folder / "newest.xml", "second"), ErrorObject());
    EXPECT_EQ(readFile(folder / "real" / "run42.xml"), "second");

    EXPECT_EQ(std::filesystem::read_symlink(folder / "latest.xml"), "real/run42.xml");
    EXPECT_EQ(std::filesystem::read_symlink(folder / "newest.xml"), folder / "latest.xml");
    EXPECT_EQ(names(folder.path()), (std::vector<std::string>{"latest.xml", "newest.xml", "real"}));
    EXPECT_EQ(names(folder / "real"), (std::vector<std::string>{"run42.xml"}));
}

// A relative link is read from the folder that holds it, not from the
// working folder, also when the link itself lies in another folder.
TEST_F(AtomicFileWriterThroughLinks, RelativeLinksLeadFromTheLinksFolder)
{
    std::filesystem::create_directories(folder / "links");
    std::filesystem::create_directories(folder / "data");
    std::filesystem::create_symlink("../data/file.xml", folder / "links" / "file.xml");
    writeFile(folder / "data" / "file.xml", "old");
    ASSERT_EQ(save(folder / "links" / "file.xml", "new"), ErrorObject());
    EXPECT_EQ(readFile(folder / "data" / "file.xml"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "links" / "file.xml"));
}

TEST_F(AtomicFileWriterThroughLinks, ADanglingLinkCreatesItsTarget)
{
    std::filesystem::create_symlink("made.xml", folder / "link.xml");
    ASSERT_EQ(save(folder / "link.xml", "new"), ErrorObject());
    EXPECT_EQ(readFile(folder / "made.xml"), "new");
    EXPECT_EQ(std::filesystem::read_symlink(folder / "link.xml"), "made.xml");
}

TEST_F(AtomicFileWriterThroughLinks, ALoopOfLinksCannotBeOpened)
{
    std::filesystem::create_symlink("b.xml", folder / "a.xml");
    std::filesystem::create_symlink("a.xml", folder / "b.xml");
    const ErrorObject error = save(folder / "a.xml", "new");
    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED);
    EXPECT_EQ(textOf(error),
              "file '" + (folder / "a.xml").string() + "' could not be opened: Too many levels of symbolic links");
    EXPECT_EQ(names(folder.path()), (std::vector<std::string>{"a.xml", "b.xml"}));
}

// The permission check applies to the file written, not to the link.
TEST_F(AtomicFileWriterThroughLinks, KeepsTheModeOfTheFileTheLinkLeadsTo)
{
    writeFile(folder / "data.xml", "old");
    std::filesystem::permissions(folder / "data.xml", std::filesystem::perms::owner_read
                                                          | std::filesystem::perms::owner_write
                                                          | std::filesystem::perms::group_read);
    std::filesystem::create_symlink("data.xml", folder / "link.xml");
    ASSERT_EQ(save(folder / "link.xml", "new"), ErrorObject());
    EXPECT_EQ(std::filesystem::status(folder / "data.xml").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                  | std::filesystem::perms::group_read);
}
