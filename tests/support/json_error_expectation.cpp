#include "support/json_error_expectation.hpp"

#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string opening(std::string_view context)
{
    return context.empty() ? std::string() : std::string(context) + ": ";
}

} // namespace

void expectJsonError(const std::function<void()>& read, boost::json::error expected, std::string_view context)
{
    const auto expectedCode = boost::json::make_error_code(expected);
    try {
        read();
        ADD_FAILURE() << opening(context) << "no exception, expected " << expectedCode.message();
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(e.code(), expectedCode) << opening(context) << e.code().message();
    }
}
