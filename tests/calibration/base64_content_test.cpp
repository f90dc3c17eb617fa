#include "calibration_test_support.hpp"

#include "marlek_link_json/jobs/calibration/base64_content.hpp"

#include <stdexcept>

namespace {

TEST(Base64Content, DecodesWithOrWithoutPaddingAndSkipsWhiteSpace)
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
             Case{"Q", ""},
             Case{"QUJD\nREVG", "ABCDEF"},
             Case{"QUJD\r\nREVG\r\n", "ABCDEF"},
             Case{" Q U\tJ D ", "ABC"},
             Case{"QUI=\n", "AB"},
             Case{"QQ= =\r\n", "A"},
             Case{"\n\t \r", ""},
             Case{"+/+/", "\xFB\xFF\xBF"},
             Case{"AAAA", std::string_view("\0\0\0", 3)},
         }) {
        EXPECT_EQ(decodeBase64Content(c.text), bytesOf(c.bytes)) << c.text;
    }
}

TEST(Base64Content, RefusesStrayBytesAndMisplacedPadding)
{
    struct Case {
        std::string_view text;
        const char* reason;
    };
    for (const auto& c : {
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
             Case{"QQ==QUJD", "base64 data after padding 0x51 at offset 4"},
             Case{"QUI=\nQ", "base64 data after padding 0x51 at offset 5"},
         }) {
        try {
            decodeBase64Content(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.reason) << c.text;
        }
    }
}

TEST(Base64Content, LongContentWithLineBreaksComesBackWhole)
{
    std::string bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
        const std::uint32_t group = (byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2);
        for (int shift = 18; shift >= 0; shift -= 6) {
            text.push_back(alphabet[(group >> shift) & 63]);
        }
        // 76 characters a line, as mail and PEM encoders write.
        if ((i / 3 + 1) % 19 == 0) {
            text += "\r\n";
        }
    }
    EXPECT_EQ(decodeBase64Content(text), bytesOf(bytes));
}

} // namespace
