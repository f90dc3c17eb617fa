#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <string>

// One message parameter as text, by the alternative it holds: "true" or
// "false", a double in fixed notation with six decimals (0.5 is "0.500000"),
// an integer in decimal, a string unchanged. The same in every locale: a host
// application may switch the C library to a decimal comma at any time.
std::string errorParameterText(const ErrorParameter& parameter);
