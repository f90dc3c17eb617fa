#pragma once
// The base64 operations of the DC live-data table reader, as public names
// over the library's one codec (base64::Policy::UncheckedGroups).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Size of the bytes that a padded standard base64 text declares: none when
// its length is not a multiple of 4. Padding elsewhere than at the end makes
// the actual decoded size differ; use the decoded bytes' size for anything
// that indexes into them.
std::optional<std::size_t> decodedBase64Size(std::string_view text);

// Decodes padded standard base64 without validating the characters: a byte
// outside the alphabet counts as 0xFF, and "=" is recognised only as the
// third or fourth character of a group. Throws std::runtime_error
// "Invalid Base64 string length." when the length is not a multiple of 4.
std::vector<std::uint8_t> decodeBase64(const std::string& text);
