#pragma once
// Doubles must come back bit for bit, so the tests parse text with
// parsePrecise.

#include "support/json_error_expectation.hpp"
#include "support/json_text.hpp"

#include <boost/json.hpp>

namespace json = boost::json;
