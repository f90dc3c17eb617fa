#pragma once

#include <boost/json/error.hpp>

#include <functional>
#include <string_view>

// Runs `read` and checks that it raises system_error carrying `expected`;
// `context`, when given, opens the failure message.
void expectJsonError(const std::function<void()>& read, boost::json::error expected, std::string_view context = {});
