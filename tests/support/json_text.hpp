#pragma once

#include <boost/json/fwd.hpp>

#include <string>
#include <string_view>

// Parses text the way a reader that keeps every double exact must: Boost.JSON's
// default number parsing can be one unit in the last place off.
boost::json::value parsePrecise(std::string_view text);

// The JSON text as Boost.JSON writes it, so that key order and number kinds
// (1 against 1.0) count when texts are compared.
std::string canonical(std::string_view text);
