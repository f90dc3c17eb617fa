#include "marlek_link_json/atomic_file_writer.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemErrorText(int error)
{
    return std::strerror(error);
}

std::filesystem::path temporaryPathFor(const std::filesystem::path& target)
{
    std::random_device random;
    const std::string suffix = mfmt::format("{:08x}{:08x}", random(), random());
    return target.parent_path() / ("." + target.filename().string() + ".part-" + suffix);
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

ErrorObject AtomicFileWriter::open()
{
    auto openFailure = [this](int error) {
        return ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED, "file '{0}' could not be opened: {1}",
                           target.string(), systemErrorText(error));
    };
    // A target the caller could not write must stay refused, even though
    // renaming over it would succeed.
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            return openFailure(EISDIR);
        }
        if (::access(target.c_str(), W_OK) != 0) {
            return openFailure(errno);
        }
    }
    for (int attempt = 0; attempt < 8 && descriptor < 0; ++attempt) {
        temporary = temporaryPathFor(target);
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) {
            return openFailure(errno);
        }
    }
    if (descriptor < 0) {
        return openFailure(EEXIST);
    }
    if (exists) {
        ::fchmod(descriptor, existing.st_mode & 07777);
    }
    return ErrorObject();
}

ErrorObject AtomicFileWriter::commit(const char* data, std::size_t size)
{
    auto writeFailure = [this](int error) {
        return ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN, "file '{0}' could not be written: {1}",
                           target.string(), systemErrorText(error));
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
        return ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_CLOSED, "file '{0}' could not be closed: {1}",
                           target.string(), systemErrorText(errno));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return writeFailure(errno);
    }
    temporary.clear();
    // The rename itself is only durable once the folder is.
    if (flushFolder() != 0) {
        return writeFailure(errno);
    }
    return ErrorObject();
}

int AtomicFileWriter::flushFolder() const
{
    const std::filesystem::path parent = target.parent_path();
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
