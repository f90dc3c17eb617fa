#pragma once
// What the tests read off an error.

#include "marlek_json_common/json_common/logging/error_code.hpp"

#include <string>

class ErrorObject;

// The message as the default formatter writes it: the text callers show.
std::string formatted(const ErrorObject& error);

ErrorCodeEnum codeOf(const ErrorObject& error);
