#pragma once

#include "marlek_link_json/jobs/control/settings/settings_set.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// The settings object sent with "/settings/set": each setting's name mapped
// to a JSON value whose kind follows the setting's type (INT 1 as an integer,
// DOUBLE 1.0 as a floating-point number); UNINITIALIZED settings are left out.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const SettingsSet& settings);

// Fills a new set from the "settings" object of a "/settings/get" reply:
// booleans, integers, floating-point numbers and strings become settings of
// their kind; null, arrays and objects are skipped. An integer outside the
// signed 32-bit range is left out with one line on standard error: narrowing
// it would change the value, and an update would write the wrong value back.
SettingsSet settingsSetFromJson(const boost::json::object& settings);
