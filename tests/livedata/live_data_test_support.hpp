#pragma once

#include <boost/json.hpp>
#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <string_view>

namespace json = boost::json;

// Doubles must come back bit for bit, so text is always parsed precisely.
inline json::value parsePrecise(std::string_view text)
{
    json::parse_options options;
    options.numbers = json::number_precision::precise;
    return json::parse(text, {}, options);
}

// Runs `read` and checks that it raises system_error carrying `expected`.
template <typename Read>
void expectJsonError(Read&& read, json::error expected)
{
    try {
        read();
        ADD_FAILURE() << "no exception, expected " << json::make_error_code(expected).message();
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(e.code(), json::make_error_code(expected)) << e.code().message();
    }
}
