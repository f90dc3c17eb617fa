#pragma once

#include <boost/json/parse.hpp>
#include <boost/json/parse_options.hpp>
#include <boost/json/value.hpp>
#include <boost/system/error_code.hpp>

#include <cstddef>
#include <string_view>

namespace PreciseJson {

// Nesting deeper than this is refused, so that a hostile text cannot
// exhaust the stack.
constexpr std::size_t MAX_DEPTH = 32;

// Standard strict JSON, nested at most MAX_DEPTH deep, whose numbers are
// converted exactly: Boost.JSON's default conversion may be one unit in the
// last place off, and a value read from a file or a message has to be the
// one that was written. Readers that accept more (comments, trailing commas)
// start from these options.
inline boost::json::parse_options parseOptions()
{
    boost::json::parse_options options;
    options.max_depth = MAX_DEPTH;
    options.numbers = boost::json::number_precision::precise;
    return options;
}

// Parses `text` with parseOptions(); on failure `ec` is set.
inline boost::json::value parse(std::string_view text, boost::system::error_code& ec)
{
    return boost::json::parse(text, ec, {}, parseOptions());
}

// Parses `text` with parseOptions(); throws boost::system::system_error on
// failure.
inline boost::json::value parse(std::string_view text)
{
    return boost::json::parse(text, {}, parseOptions());
}

} // namespace PreciseJson
