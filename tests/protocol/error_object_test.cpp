#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_json_common/json_common/text/format.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace json = boost::json;

namespace {

ErrorObject fallback()
{
    return ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured");
}

ErrorObject read(std::string_view text)
{
    return json::value_to<ErrorObject>(json::parse(text));
}

} // namespace

TEST(ErrorCodeTable, HasEveryCodeOnceInAscendingOrder)
{
    const auto table = errorCodeNameTable();
    ASSERT_EQ(table.size(), 75u);
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_LT(table[i - 1].code, table[i].code) << table[i].name;
    }
    EXPECT_EQ(errorCodeName(ErrorCodeEnum::UNKNOWN_ERR), "UNKNOWN_ERR");
    EXPECT_EQ(errorCodeFromName("PROTOCOL_VERSION_MISMATCH"), ErrorCodeEnum::PROTOCOL_VERSION_MISMATCH);
    EXPECT_EQ(errorCodeFromName("protocol_version_mismatch"), std::nullopt);
    EXPECT_EQ(errorCodeFromName("NON"), std::nullopt);
    EXPECT_EQ(errorCodeName(static_cast<ErrorCodeEnum>(0x1234)), std::nullopt);
}

TEST(ErrorObject, DefaultIsSuccess)
{
    const ErrorObject none;
    EXPECT_EQ(none.getErrorCodeEnum(), ErrorCodeEnum::NONE);
    EXPECT_EQ(none.getMessageFormatString(), "no error occoured");
    EXPECT_TRUE(none.getMessageParameters().empty());
}

TEST(ErrorObject, ArgumentsLandInTheirKindsAlternative)
{
    const std::int64_t signed64 = -5;
    const std::uint64_t unsigned64 = 5;
    const ErrorObject e(ErrorCodeEnum::INVALID_PARAMETER, "{0}{1}{2}{3}{4}{5}", true, 0.5, signed64,
                        unsigned64, "text", 7);
    const auto& p = e.getMessageParameters();
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p[0].index(), 0u);
    EXPECT_EQ(p[1].index(), 1u);
    EXPECT_EQ(p[2].index(), 2u);
    EXPECT_EQ(p[3].index(), 3u);
    EXPECT_EQ(p[4].index(), 4u);
    EXPECT_EQ(p[5].index(), 2u);
}

TEST(ErrorObject, EqualityComparesAlternativesNotJustValues)
{
    const ErrorObject a(ErrorCodeEnum::ID_NOT_FOUND, "{0}", 5);
    const ErrorObject b(ErrorCodeEnum::ID_NOT_FOUND, "{0}", 5u);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "{0}", 5L));
    EXPECT_NE(a, ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "{1}", 5));
}

TEST(ErrorObjectJson, WritesKeysInOrder)
{
    const ErrorObject e(ErrorCodeEnum::FILE_VERSION_NOT_SUPPORTED,
                        "file '{0}' has format version {1} which is not supported (supported: {2})",
                        std::string("a.xml"), std::uint64_t{7}, "1-4");
    EXPECT_EQ(json::serialize(json::value_from(e)),
              R"j({"number":524294,"code":"FILE_VERSION_NOT_SUPPORTED",)j"
              R"j("message":"file '{0}' has format version {1} which is not supported (supported: {2})",)j"
              R"j("message_parameters":["a.xml",7,"1-4"]})j");
    EXPECT_EQ(json::serialize(json::value_from(ErrorObject())),
              R"({"number":0,"code":"NONE","message":"no error occoured","message_parameters":[]})");
}

TEST(ErrorObjectJson, CodeWithoutNameIsWrittenAsUnknownAndDoesNotReadBack)
{
    const ErrorObject e(static_cast<ErrorCodeEnum>(0x1234), "odd");
    const auto v = json::value_from(e);
    EXPECT_EQ(v.at("number").as_uint64(), 4660u);
    EXPECT_EQ(v.at("code").as_string(), "UNKNOWN_ERR");
    EXPECT_EQ(json::value_to<ErrorObject>(v), fallback());
}

TEST(ErrorObjectJson, ParameterKindsSurviveATextRoundTrip)
{
    const ErrorObject e(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH, "{0} {1} {2} {3} {4} {5}", true, 1.0,
                        -3, std::uint64_t{5}, std::uint64_t{18446744073709551615ull}, "s");
    const auto back = read(json::serialize(json::value_from(e)));
    const auto& p = back.getMessageParameters();
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p[0], ErrorParameter(true));
    EXPECT_EQ(p[1], ErrorParameter(1.0)) << "a whole double stays a double";
    EXPECT_EQ(p[2], ErrorParameter(-3LL));
    EXPECT_EQ(p[3], ErrorParameter(5LL)) << "a small unsigned parses back as signed";
    EXPECT_EQ(p[4], ErrorParameter(18446744073709551615ul));
    EXPECT_EQ(p[5], ErrorParameter(std::string("s")));
}

struct ReadCase {
    const char* name;
    const char* json;
    bool valid;
};

class ErrorObjectJsonRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ErrorObjectJsonRead, AcceptsOrFallsBack)
{
    const auto& c = GetParam();
    const auto e = read(c.json);
    if (c.valid) {
        EXPECT_NE(e, fallback());
    } else {
        EXPECT_EQ(e, fallback());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorObjectJsonRead,
    testing::Values(
        ReadCase{"success", R"({"number":0,"code":"NONE","message":"no error occoured"})", true},
        ReadCase{"wholeDouble", R"({"number":4096.0,"code":"CONNECTION_NOT_ESTABLISHED","message":"m"})", true},
        ReadCase{"fractional", R"({"number":4096.5,"code":"CONNECTION_NOT_ESTABLISHED","message":"m"})", false},
        ReadCase{"negative", R"({"number":-1,"code":"CONNECTION_NOT_ESTABLISHED","message":"m"})", false},
        ReadCase{"hugeDouble", R"({"number":1e300,"code":"CONNECTION_NOT_ESTABLISHED","message":"m"})", false},
        ReadCase{"numberAsText", R"({"number":"4096","code":"CONNECTION_NOT_ESTABLISHED","message":"m"})", false},
        ReadCase{"lowerCaseName", R"({"number":4096,"code":"connection_not_established","message":"m"})", false},
        ReadCase{"numberNameDisagree", R"({"number":4097,"code":"CONNECTION_NOT_ESTABLISHED","message":"m"})", false},
        ReadCase{"missingMessage", R"({"number":4096,"code":"CONNECTION_NOT_ESTABLISHED"})", false},
        ReadCase{"missingCode", R"({"number":4096,"message":"m"})", false},
        ReadCase{"nullParameter", R"({"number":0,"code":"NONE","message":"m","message_parameters":[1,null]})", false},
        ReadCase{"arrayParameter", R"({"number":0,"code":"NONE","message":"m","message_parameters":[[1]]})", false},
        ReadCase{"parametersObject", R"({"number":0,"code":"NONE","message":"m","message_parameters":{}})", true},
        ReadCase{"unknownNameWithItsNumber", R"({"number":195948557,"code":"WHATEVER","message":"m","message_parameters":[1]})", true},
        ReadCase{"notAnObject", R"([1,2])", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorObjectJson, UnknownNameKeepsMessageAndParameters)
{
    const auto e = read(R"({"number":195948557,"code":"WHATEVER","message":"m {0}","message_parameters":["x"]})");
    EXPECT_EQ(e, ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "m {0}", "x"));
    const auto none = read(R"({"number":0,"code":"NONE","message":"no error occoured","message_parameters":{}})");
    EXPECT_EQ(none, ErrorObject());
}

struct FormatCase {
    const char* name;
    ErrorObject error;
    const char* expected;
};

class ErrorFormatting : public testing::TestWithParam<FormatCase> {};

TEST_P(ErrorFormatting, SubstitutesByHeldAlternative)
{
    const auto& c = GetParam();
    EXPECT_EQ(c.error.getMessageFormatted<ErrorFormatters::DefaultErrorFormatter>(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorFormatting,
    testing::Values(
        FormatCase{"noParametersIsVerbatim", ErrorObject(ErrorCodeEnum::NONE, "{0} {{x}} {"), "{0} {{x}} {"},
        FormatCase{"placeholderOrder",
                   ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "job", "id", "j-1"),
                   "could not find job with id 'j-1'"},
        FormatCase{"reorderedPlaceholders", ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "{1}-{0}", 1, 2), "2-1"},
        FormatCase{"automaticNumbering", ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "{}/{}", 1, 2), "1/2"},
        FormatCase{"doubleShortest", ErrorObject(ErrorCodeEnum::NONE, "{0}", 0.5), "0.5"},
        FormatCase{"doubleFixed", ErrorObject(ErrorCodeEnum::NONE, "{0:.2f}", 0.5), "0.50"},
        FormatCase{"doubleStandardLarge", ErrorObject(ErrorCodeEnum::NONE, "{0}", 100000.0), "1e+05"},
        FormatCase{"doubleStandardSmall", ErrorObject(ErrorCodeEnum::NONE, "{0}", 0.0001), "1e-04"},
        FormatCase{"doubleWidthAlignsRight", ErrorObject(ErrorCodeEnum::NONE, "[{0:6}]", 0.5), "[   0.5]"},
        FormatCase{"doubleExplicitLeft", ErrorObject(ErrorCodeEnum::NONE, "[{0:<6}]", 0.5), "[0.5   ]"},
        FormatCase{"doubleZeroPaddedNegative", ErrorObject(ErrorCodeEnum::NONE, "[{0:08}]", -1.5), "[-00001.5]"},
        FormatCase{"doubleZeroPaddedPositive", ErrorObject(ErrorCodeEnum::NONE, "[{0:08}]", 1.5), "[000001.5]"},
        FormatCase{"doubleZeroPaddedInfinity", ErrorObject(ErrorCodeEnum::NONE, "[{0:06}]", -HUGE_VAL), "[  -inf]"},
        FormatCase{"integerZeroPaddedNegative", ErrorObject(ErrorCodeEnum::NONE, "[{0:05}]", -12), "[-0012]"},
        FormatCase{"rightAlignWidth8", ErrorObject(ErrorCodeEnum::NONE, "[{0:>8}]", "ab"), "[      ab]"},
        FormatCase{"bool", ErrorObject(ErrorCodeEnum::NONE, "{0}/{1}", true, false), "true/false"},
        FormatCase{"integers", ErrorObject(ErrorCodeEnum::NONE, "{0} {1}", -7, 18446744073709551615ull),
                   "-7 18446744073709551615"},
        FormatCase{"sixParameters", ErrorObject(ErrorCodeEnum::NONE, "{0}{1}{2}{3}{4}{5}", 1, 2, 3, 4, 5, 6),
                   "123456"},
        FormatCase{"sevenParameters", ErrorObject(ErrorCodeEnum::NONE, "{0}", 1, 2, 3, 4, 5, 6, 7),
                   "Error: Too many parameters (7 > 6). Format string: '{0}'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorFormatting, FormatStringThatDoesNotFitRaises)
{
    using ErrorFormatters::DefaultErrorFormatter;
    const ErrorObject missing(ErrorCodeEnum::NONE, "{0} and {1}", 1);
    EXPECT_THROW(missing.getMessageFormatted<DefaultErrorFormatter>(), mfmt::format_error);
    const ErrorObject stringAsFixed(ErrorCodeEnum::NONE, "{0:.2f}", "text");
    EXPECT_THROW(stringAsFixed.getMessageFormatted<DefaultErrorFormatter>(), mfmt::format_error);
    const ErrorObject strayBrace(ErrorCodeEnum::NONE, "50% {", 1);
    EXPECT_THROW(strayBrace.getMessageFormatted<DefaultErrorFormatter>(), mfmt::format_error);
    const ErrorObject mixed(ErrorCodeEnum::NONE, "{} {1}", 1, 2);
    EXPECT_THROW(mixed.getMessageFormatted<DefaultErrorFormatter>(), mfmt::format_error);
}

TEST(ErrorFormatting, FallbackGivesTheUnformattedTextForBadFormats)
{
    EXPECT_EQ(ErrorFormatters::formatOrFallback(ErrorObject(ErrorCodeEnum::NONE, "{0} and {1}", 1)),
              "{0} and {1}");
    EXPECT_EQ(ErrorFormatters::formatOrFallback(ErrorObject(ErrorCodeEnum::NONE, "got {0}", 1)), "got 1");
}

TEST(ErrorFormatting, HugeOrNestedWidthsAndPrecisionsFallBackToTheUnformattedText)
{
    struct Case {
        ErrorObject error;
        std::string expected;
    };
    const Case cases[] = {
        {ErrorObject(ErrorCodeEnum::NONE, "{0:2147483647}", 1), "{0:2147483647}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:2147483647}{1:2147483647}", "a", "b"), "{0:2147483647}{1:2147483647}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:.2147483647f}", 0.5), "{0:.2147483647f}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:.1001}", "text"), "{0:.1001}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:x>1001}", true), "{0:x>1001}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:01001}", -1.5), "{0:01001}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:99999999999999999999999}", 7), "{0:99999999999999999999999}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:1000}", 1), std::string(999, ' ') + "1"},
        // A width or precision from another parameter is refused as well.
        {ErrorObject(ErrorCodeEnum::NONE, "{0:{1}}", 1.5, 3), "{0:{1}}"},
        {ErrorObject(ErrorCodeEnum::NONE, "x {1: {1:.3f}", 1, 2.5), "x {1: {1:.3f}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:.{1}f}", 1.5, 3), "{0:.{1}f}"},
        {ErrorObject(ErrorCodeEnum::NONE, "{0:.3f}|{0:1>5}", 0.25), "0.250|10.25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorFormatters::formatOrFallback(c.error), c.expected) << c.error.getMessageFormatString();
    }
}
