#pragma once

// How Python values become setting values, and a setting's text form.

#include "marlek_link_json/jobs/control/settings/setting.hpp"

#include <pybind11/pybind11.h>

#include <string>

// The conversion of SettingsSet item assignment and of its constructor from
// (name, value) pairs: exactly bool → BOOL; int → INT (outside 32 bits
// pybind11's cast error); float → DOUBLE; str → STRING; anything else →
// STRING of str(value).
Setting settingFromValue(const pybind11::handle& value);

// "true"/"false", decimal digits, printf's %g (with "nan" and "inf"), or the
// text itself.
std::string settingText(const Setting& setting);
