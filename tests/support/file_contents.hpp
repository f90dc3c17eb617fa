#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Writes the bytes as the whole file, replacing what was there.
void writeFile(const std::filesystem::path& path, std::string_view content);

// The whole file's bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
