#pragma once

#include <boost/json.hpp>
#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace json = boost::json;

// Serialises and parses again, the way a record travels over the wire: an
// unsigned integer that fits comes back as a signed one.
inline json::value throughText(const json::value& value)
{
    return json::parse(json::serialize(value));
}

inline std::vector<std::string> keysOf(const json::value& value)
{
    std::vector<std::string> keys;
    for (const auto& member : value.as_object()) {
        keys.emplace_back(member.key());
    }
    return keys;
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
