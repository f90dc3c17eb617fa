#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <cstddef>
#include <filesystem>
#include <string>

// Writes a file by way of a temporary file in the same folder that is
// renamed over the target once complete, so the target is either replaced
// whole or left untouched. The data is flushed to the disk before the rename
// and the folder after it, so that a power cut after a reported success
// cannot leave an empty or partial file in place of the old one. Without
// commit the temporary file is removed.
//
// A target that is a symbolic link is written through: the file the chain of
// links ends at is replaced (a dangling link's target is created), and the
// links stay as they are.
class AtomicFileWriter {
public:
    // How a descriptor's data reaches the disk: fsync. Tests pass their own
    // to watch the order of the flushes or make them fail.
    using Flush = int (*)(int descriptor);

    explicit AtomicFileWriter(std::filesystem::path target, Flush flush = nullptr);
    ~AtomicFileWriter();

    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // FILE_COULD_NOT_BE_OPENED when the target could not be written.
    ErrorObject open();
    // FILE_COULD_NOT_BE_WRITTEN or FILE_COULD_NOT_BE_CLOSED on failure. When
    // only the flush of the folder after the rename fails, the target already
    // holds the new data: FILE_COULD_NOT_BE_WRITTEN saying so, and replaced()
    // is true.
    ErrorObject commit(const char* data, std::size_t size);

    // Every error names the target as given, then the system's text for the
    // failure (strerror), also kept here.
    const std::string& failureReason() const { return reason; }
    // Whether the target holds the committed data.
    bool replaced() const { return targetReplaced; }

private:
    ErrorObject failure(ErrorCodeEnum code, const char* format, int error);
    void discard();
    int flushFolder() const;

    std::filesystem::path target;
    // The file the target's links end at; the target itself when it is none.
    std::filesystem::path destination;
    std::filesystem::path temporary;
    Flush flush;
    int descriptor = -1;
    std::string reason;
    bool targetReplaced = false;
};
