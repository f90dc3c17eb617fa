#include "marlek_link_json/link_json_session_file_writer.hpp"

#include <cerrno>
#include <cstdio>
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
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%08x%08x", random(), random());
    return target.parent_path() / ("." + target.filename().string() + ".part-" + suffix);
}

} // namespace

ReplacingFileWriter::ReplacingFileWriter(std::filesystem::path target) : target(std::move(target)) {}

ReplacingFileWriter::~ReplacingFileWriter()
{
    discard();
}

ErrorObject ReplacingFileWriter::open()
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

ErrorObject ReplacingFileWriter::commit(const char* data, std::size_t size)
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
    return ErrorObject();
}

void ReplacingFileWriter::discard()
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
