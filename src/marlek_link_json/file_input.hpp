#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <cstddef>
#include <expected>
#include <filesystem>
#include <string>

// Reading of the files the importers take, with their common errors:
// FILE_NOT_FOUND when the file system reports no size (a missing path or a
// directory), FILE_IS_EMPTY, FILE_COULD_NOT_BE_OPENED and
// FILE_COULD_NOT_BE_READ (also when fewer bytes arrive than the size said).
namespace FileInput {

// The first min(file size, limit) bytes of the file.
std::expected<std::string, ErrorObject> readBeginning(const std::filesystem::path& path, std::size_t limit);

// The whole file.
std::expected<std::string, ErrorObject> readWhole(const std::filesystem::path& path);

} // namespace FileInput
