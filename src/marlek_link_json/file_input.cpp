#include "marlek_link_json/file_input.hpp"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>

namespace FileInput {

namespace {

// Larger files are read in pieces of this size, so no single stream call has
// to move more than the stream's size type is sure to count.
constexpr std::size_t READ_PIECE = 1073741824;

} // namespace

std::expected<std::string, ErrorObject> readBeginning(const std::filesystem::path& path, std::size_t limit)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::FILE_NOT_FOUND, "file not found: '{0}'", path.string()));
    }
    if (size == 0) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::FILE_IS_EMPTY, "file is empty: '{0}'", path.string()));
    }
    std::ifstream stream(path, std::ios::binary);
    if (!stream.is_open()) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED,
                                           "file '{0}' could not be opened: {1}", path.string(),
                                           "could not open the file for reading"));
    }
    std::string content(static_cast<std::size_t>(std::min<std::uintmax_t>(size, limit)), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const std::size_t piece = std::min(READ_PIECE, content.size() - done);
        stream.read(content.data() + done, static_cast<std::streamsize>(piece));
        const auto arrived = static_cast<std::size_t>(stream.gcount());
        done += arrived;
        if (stream.bad() || arrived < piece) {
            return std::unexpected(ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_READ,
                                               "file '{0}' could not be read: {1}", path.string(),
                                               "an error occurred while reading the file"));
        }
    }
    return content;
}

std::expected<std::string, ErrorObject> readWhole(const std::filesystem::path& path)
{
    return readBeginning(path, std::numeric_limits<std::size_t>::max());
}

} // namespace FileInput
