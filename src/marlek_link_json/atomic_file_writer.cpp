#include "marlek_link_json/atomic_file_writer.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <cerrno>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int MAX_LINKS = 40;

std::filesystem::path temporaryPathFor(const std::filesystem::path& target)
{
    std::random_device random;
    const std::string suffix = mfmt::format("{:08x}{:08x}", random(), random());
    return target.parent_path() / ("." + target.filename().string() + ".part-" + suffix);
}

// The text a symbolic link holds; nothing, with errno set, when it cannot be
// read.
std::optional<std::string> linkText(const std::filesystem::path& link)
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Follows `path` while it is a symbolic link. A relative link is taken
// relative to the folder that holds the link, as the system takes it; the
// path is not normalised, since ".." after a linked folder leads elsewhere
// than the text suggests. Nothing, with errno set, on a loop or a link that
// cannot be read.
std::optional<std::filesystem::path> finalTarget(std::filesystem::path path)
{
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        if (links == MAX_LINKS) {
            errno = ELOOP;
            return std::nullopt;
        }
        const std::optional<std::string> text = linkText(path);
        if (!text) {
            return std::nullopt;
        }
        const std::filesystem::path next(*text);
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target, Flush flush)
    : target(std::move(target)), flush(flush != nullptr ? flush : ::fsync)
{
}

AtomicFileWriter::~AtomicFileWriter()
{
    discard();
}

ErrorObject AtomicFileWriter::failure(ErrorCodeEnum code, const char* format, int error)
{
    reason = std::strerror(error);
    return ErrorObject(code, format, target.string(), reason);
}

ErrorObject AtomicFileWriter::open()
{
    const auto openFailure = [this](int error) {
        return failure(ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED, "file '{0}' could not be opened: {1}", error);
    };
    const std::optional<std::filesystem::path> resolved = finalTarget(target);
    if (!resolved) {
        return openFailure(errno);
    }
    destination = *resolved;
    // A target the caller could not write must stay refused, even though
    // renaming over it would succeed.
    struct stat existing {};
    const bool exists = ::stat(destination.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            return openFailure(EISDIR);
        }
        if (::access(destination.c_str(), W_OK) != 0) {
            return openFailure(errno);
        }
    }
    for (int attempt = 0; attempt < 8 && descriptor < 0; ++attempt) {
        temporary = temporaryPathFor(destination);
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) {
            const int error = errno;
            temporary.clear();
            return openFailure(error);
        }
    }
    if (descriptor < 0) {
        temporary.clear();
        return openFailure(EEXIST);
    }
    if (exists) {
        ::fchmod(descriptor, existing.st_mode & 07777);
    }
    return ErrorObject();
}

ErrorObject AtomicFileWriter::commit(const char* data, std::size_t size)
{
    const auto writeFailure = [this](int error) {
        return failure(ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN, "file '{0}' could not be written: {1}", error);
    };
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return writeFailure(errno);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    if (flush(descriptor) != 0) {
        return writeFailure(errno);
    }
    const int closed = ::close(descriptor);
    descriptor = -1;
    if (closed != 0) {
        return failure(ErrorCodeEnum::FILE_COULD_NOT_BE_CLOSED, "file '{0}' could not be closed: {1}", errno);
    }
    if (::rename(temporary.c_str(), destination.c_str()) != 0) {
        return writeFailure(errno);
    }
    temporary.clear();
    targetReplaced = true;
    // The rename itself is only durable once the folder is. The file already
    // holds the new data: a caller must not take it for the old one.
    if (flushFolder() != 0) {
        return failure(ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN,
                       "file '{0}' was written, but its folder could not be flushed to the disk, so the new "
                       "content may not survive a power cut: {1}",
                       errno);
    }
    return ErrorObject();
}

int AtomicFileWriter::flushFolder() const
{
    const std::filesystem::path parent = destination.parent_path();
    const int folder = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return -1;
    }
    int result = flush(folder);
    const int error = errno;
    ::close(folder);
    // Some file systems cannot flush a folder and say so; their renames are
    // as durable as they get.
    if (result != 0 && error == EINVAL) {
        result = 0;
    }
    errno = error;
    return result;
}

void AtomicFileWriter::discard()
{
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
        temporary.clear();
    }
}
