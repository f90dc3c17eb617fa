#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <cstddef>
#include <filesystem>

// Writes a file by way of a temporary file in the same folder that is
// renamed over the target once complete, so the target is either replaced
// whole or left untouched. Without commit the temporary file is removed.
class ReplacingFileWriter {
public:
    explicit ReplacingFileWriter(std::filesystem::path target);
    ~ReplacingFileWriter();

    ReplacingFileWriter(const ReplacingFileWriter&) = delete;
    ReplacingFileWriter& operator=(const ReplacingFileWriter&) = delete;

    // FILE_COULD_NOT_BE_OPENED when the target could not be written.
    ErrorObject open();
    // FILE_COULD_NOT_BE_WRITTEN or FILE_COULD_NOT_BE_CLOSED on failure.
    ErrorObject commit(const char* data, std::size_t size);

private:
    void discard();

    std::filesystem::path target;
    std::filesystem::path temporary;
    int descriptor = -1;
};
