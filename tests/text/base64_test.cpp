#include "marlek_json_common/json_common/text/base64.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Policy = base64::Policy;

std::string allByteValues()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    return bytes;
}

// The bytes, or the refusal, of one decode.
struct Outcome {
    std::string bytes;
    std::optional<std::string> refusal;
};

Outcome decoded(std::string_view text, Policy policy)
{
    Outcome outcome;
    outcome.refusal = base64::decode(text, policy, outcome.bytes);
    return outcome;
}

TEST(Base64, EncodesTheStandardVectors)
{
    struct Case {
        std::string_view bytes;
        std::string_view text;
    };
    for (const auto& c : {
             Case{"", ""},
             Case{"f", "Zg=="},
             Case{"fo", "Zm8="},
             Case{"foo", "Zm9v"},
             Case{"foob", "Zm9vYg=="},
             Case{"fooba", "Zm9vYmE="},
             Case{"foobar", "Zm9vYmFy"},
             Case{"\xFB\xFF\xBF", "+/+/"},
             Case{std::string_view("\0\0\0\0", 4), "AAAAAA=="},
             Case{"user:secret", "dXNlcjpzZWNyZXQ="},
         }) {
        EXPECT_EQ(base64::encode(c.bytes), c.text) << c.text;
    }
}

TEST(Base64, EveryByteValueAndLengthComesBackUnderBothPolicies)
{
    const std::string all = allByteValues();
    for (std::size_t length = 0; length <= all.size(); length += (length < 8 ? 1 : 31)) {
        const std::string bytes = all.substr(all.size() - length);
        const std::string text = base64::encode(bytes);
        EXPECT_EQ(text.size(), (length + 2) / 3 * 4);
        for (const Policy policy : {Policy::Strict, Policy::UncheckedGroups}) {
            const Outcome back = decoded(text, policy);
            EXPECT_EQ(back.refusal, std::nullopt) << text;
            EXPECT_EQ(back.bytes, bytes) << text;
        }
    }
}

TEST(Base64, StrictDecodesWithOrWithoutPaddingAndSkipsWhiteSpace)
{
    struct Case {
        std::string_view text;
        std::string_view bytes;
    };
    for (const auto& c : {
             Case{"", ""},
             Case{"QUJD", "ABC"},
             Case{"QUI=", "AB"},
             Case{"QUI", "AB"},
             Case{"QQ==", "A"},
             Case{"QQ=", "A"},
             Case{"QQ", "A"},
             Case{"QUJD\nREVG", "ABCDEF"},
             Case{"QUJD\r\nREVG\r\n", "ABCDEF"},
             Case{" Q U\tJ D ", "ABC"},
             Case{"QUI=\n", "AB"},
             Case{"QQ= =\r\n", "A"},
             Case{"\n\t \r", ""},
             Case{"+/+/", "\xFB\xFF\xBF"},
             Case{"AAAA", std::string_view("\0\0\0", 3)},
         }) {
        const Outcome outcome = decoded(c.text, Policy::Strict);
        EXPECT_EQ(outcome.refusal, std::nullopt) << c.text;
        EXPECT_EQ(outcome.bytes, c.bytes) << c.text;
    }
}

TEST(Base64, StrictRefusesStrayBytesAndMisplacedPaddingWithTheReason)
{
    struct Case {
        std::string_view text;
        const char* reason;
    };
    for (const auto& c : {
             Case{"QU!D", "invalid base64 byte 0x21 at offset 2"},
             Case{"QUJD-", "invalid base64 byte 0x2d at offset 4"},
             Case{"QUJD_", "invalid base64 byte 0x5f at offset 4"},
             Case{"QU.JD", "invalid base64 byte 0x2e at offset 2"},
             Case{"QUJD\v", "invalid base64 byte 0x0b at offset 4"},
             Case{"QUJD\f", "invalid base64 byte 0x0c at offset 4"},
             Case{std::string_view("QU\0D", 4), "invalid base64 byte 0x00 at offset 2"},
             Case{"QUJ\xC3\xA9", "invalid base64 byte 0xc3 at offset 3"},
             Case{"=QUJD", "misplaced base64 padding 0x3d at offset 0"},
             Case{"QUJD=", "misplaced base64 padding 0x3d at offset 4"},
             Case{"Q=", "misplaced base64 padding 0x3d at offset 1"},
             Case{"QUI==", "misplaced base64 padding 0x3d at offset 4"},
             Case{"QQ===", "misplaced base64 padding 0x3d at offset 4"},
             Case{"QU=D", "base64 data after padding 0x44 at offset 3"},
             Case{"QQ==QUJD", "base64 data after padding 0x51 at offset 4"},
             Case{"QUI=\nQ", "base64 data after padding 0x51 at offset 5"},
             Case{"Q", "lone last base64 character 0x51 at offset 0"},
             Case{"QUJDQ", "lone last base64 character 0x51 at offset 4"},
             Case{"QUJDQ\r\n", "lone last base64 character 0x51 at offset 4"},
             Case{"QU JD\nR", "lone last base64 character 0x52 at offset 6"},
         }) {
        std::vector<std::byte> bytes{std::byte{1}};
        EXPECT_EQ(base64::decode(c.text, Policy::Strict, bytes), std::optional<std::string>(c.reason)) << c.text;
        EXPECT_TRUE(bytes.empty()) << c.text;
    }
}

TEST(Base64, StrictTakesLongContentWithLineBreaksWhole)
{
    std::string bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    const std::string plain = base64::encode(bytes);
    std::string text;
    // 76 characters a line, as mail and PEM encoders write.
    for (std::size_t i = 0; i < plain.size(); i += 76) {
        text += plain.substr(i, 76) + "\r\n";
    }
    EXPECT_EQ(decoded(text, Policy::Strict).bytes, bytes);
}

// The DC table reader's rule checks nothing but the length: characters
// outside the alphabet, white space included, enter the arithmetic as 0xFF,
// and "=" counts only in the last two places of a group.
TEST(Base64, UncheckedGroupsDecodeWhateverStandsInThem)
{
    struct Case {
        std::string_view text;
        std::string_view bytes;
    };
    for (const auto& c : {
             Case{"", ""},
             Case{"AQID", "\x01\x02\x03"},
             Case{"AQI=", "\x01\x02"},
             Case{"AQ==", "\x01"},
             Case{"+/+/", "\xFB\xFF\xBF"},
             Case{"QU!D", "\x41\x7F\xC3"},
             Case{"QU D", "\x41\x7F\xC3"},
             Case{"=QUJ", "\xFD\x05\x09"},
             Case{"AA==AQID", std::string_view("\0\x01\x02\x03", 4)},
         }) {
        const Outcome outcome = decoded(c.text, Policy::UncheckedGroups);
        EXPECT_EQ(outcome.refusal, std::nullopt) << c.text;
        EXPECT_EQ(outcome.bytes, c.bytes) << c.text;
    }
}

TEST(Base64, UncheckedGroupsRefuseOnlyALengthThatIsNoMultipleOfFour)
{
    for (const std::string_view text : {"AQIDB", "AQI", "A", "QUJD\n"}) {
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(base64::decode(text, Policy::UncheckedGroups, bytes),
                  std::optional<std::string>("Invalid Base64 string length."))
            << text;
    }
}

TEST(Base64, DeclaredSizeFollowsTheLengthAndFinalPadding)
{
    EXPECT_EQ(base64::declaredSize(""), std::optional<std::size_t>(0));
    EXPECT_EQ(base64::declaredSize("AQID"), std::optional<std::size_t>(3));
    EXPECT_EQ(base64::declaredSize("AQI="), std::optional<std::size_t>(2));
    EXPECT_EQ(base64::declaredSize("AQ=="), std::optional<std::size_t>(1));
    EXPECT_EQ(base64::declaredSize("AQIDBAUG"), std::optional<std::size_t>(6));
    EXPECT_EQ(base64::declaredSize("AQI"), std::nullopt);
    EXPECT_EQ(base64::declaredSize("AQIDB"), std::nullopt);
}

} // namespace
