#pragma once
// Standard base64 (the RFC 4648 alphabet with "=" padding, no URL-safe
// variant), the library's one codec for binary content carried as text.
// Deliberately free of std::expected, so that the fuzz build can compile it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace base64 {

// Four characters for every three bytes, the last group padded, no line
// breaks.
std::string encode(std::string_view bytes);

enum class Policy {
    // Only the alphabet counts. ASCII white space (space, tab, CR, LF) is
    // skipped wherever it stands; "=" may only pad the last group of two or
    // three characters, and the padding may be missing ("QUI" gives "AB").
    // Any other byte, or "=" elsewhere, refuses the text with the reason:
    // content must never come back shortened or altered without notice. A
    // lone last character carries too few bits for a byte: the text was cut
    // short, and is refused too.
    Strict,
    // The rule the DC live-data table reader has always had: the text is
    // taken in groups of four and its characters are not checked; a byte
    // outside the alphabet enters the arithmetic as 0xFF, and "=" counts
    // only in the third or fourth place of a group. Refused only when its
    // length is not a multiple of four.
    UncheckedGroups,
};

// The byte count an UncheckedGroups text declares by its length and final
// padding: nothing when the length is not a multiple of four. Padding within
// the text makes the decoded size differ.
std::optional<std::size_t> declaredSize(std::string_view text);

// The most bytes a text of this length decodes to.
constexpr std::size_t maxDecodedSize(std::size_t textLength)
{
    return (textLength + 3) / 4 * 3;
}

namespace detail {

struct RawOutcome {
    std::size_t written = 0;
    std::optional<std::string> refusal;
};

// Writes the decoded bytes to `out`, which has room for
// maxDecodedSize(text.size()) of them.
RawOutcome decodeInto(std::string_view text, Policy policy, unsigned char* out);

} // namespace detail

// Decodes `text` into `bytes` (a string or vector of a byte-sized type),
// replacing what it held. Returns why the text was refused, with `bytes`
// then empty; nothing when it was decoded.
template <typename Bytes>
[[nodiscard]] std::optional<std::string> decode(std::string_view text, Policy policy, Bytes& bytes)
{
    static_assert(sizeof(typename Bytes::value_type) == 1, "base64 decodes into bytes");
    bytes.resize(maxDecodedSize(text.size()));
    detail::RawOutcome outcome = detail::decodeInto(text, policy, reinterpret_cast<unsigned char*>(bytes.data()));
    bytes.resize(outcome.refusal ? 0 : outcome.written);
    return std::move(outcome.refusal);
}

} // namespace base64
