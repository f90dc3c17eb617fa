#include "marlek_json_common/json_common/logging/error_parameter_text.hpp"

#include "support/decimal_comma_locale.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

struct TextCase {
    ErrorParameter parameter;
    std::string text;
};

void expectTexts()
{
    for (const auto& c : {
             TextCase{ErrorParameter(true), "true"},
             TextCase{ErrorParameter(false), "false"},
             TextCase{ErrorParameter(0.5), "0.500000"},
             TextCase{ErrorParameter(-1234.25), "-1234.250000"},
             TextCase{ErrorParameter(1e-7), "0.000000"},
             TextCase{ErrorParameter(std::numeric_limits<double>::infinity()), "inf"},
             TextCase{ErrorParameter(-3LL), "-3"},
             TextCase{ErrorParameter(18446744073709551615UL), "18446744073709551615"},
             TextCase{ErrorParameter(std::string("0.5")), "0.5"},
         }) {
        EXPECT_EQ(errorParameterText(c.parameter), c.text) << c.text;
    }
}

TEST(ErrorParameterText, EachAlternativeHasItsText)
{
    expectTexts();
}

TEST(ErrorParameterText, DoublesKeepTheirPointUnderADecimalCommaLocale)
{
    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    expectTexts();
}

} // namespace
