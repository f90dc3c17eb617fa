#pragma once

#include "marlek_json_common/json_common/configuration/impedance_configuration_json.hpp"
#include "marlek_json_common/json_common/configuration/user_polynomial_json.hpp"
#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/set_hardware_settings_parameters.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

namespace StrictJson {

// Inside the strictly read records these two keep their own lenient readers:
// a polynomial fails only on an element that is no number, an impedance
// configuration never.
template <>
struct Converter<UserPolynomial> : ValueToConverter<UserPolynomial> {};

template <>
struct Converter<ImpedanceConfiguration> : ValueToConverter<ImpedanceConfiguration> {};

} // namespace StrictJson

// Writers: every key in description order, empty texts and lists included.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const Channel& channel);
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const PotentiostatConfiguration& potentiostat);
// {"output_potentiostats", "channels", "impedance_configurations"}.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const SetHardwareSettingsParameters& parameters);

// Readers: every key required, extra keys ignored; the first failure in
// description order, depth first, raises boost::system::system_error.
HardwareSettings tag_invoke(const boost::json::value_to_tag<HardwareSettings>&, const boost::json::value& source);
SetHardwareSettingsParameters tag_invoke(const boost::json::value_to_tag<SetHardwareSettingsParameters>&,
                                         const boost::json::value& source);
