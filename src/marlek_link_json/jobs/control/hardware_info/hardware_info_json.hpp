#pragma once

#include "marlek_json_common/json_common/configuration/device/workstation_info_json.hpp"
#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

namespace StrictJson {

// Inside the device tree the workstation record is read leniently: any value
// gives a record, only a missing key fails.
template <>
struct Converter<WorkstationInfo> : ValueToConverter<WorkstationInfo> {};

} // namespace StrictJson

// The device tree as the workstation sends it: every key of every record is
// required, extra keys are ignored. The first failure in field order, depth
// first, raises boost::system::system_error with Boost.JSON's error code.
HardwareInfo tag_invoke(const boost::json::value_to_tag<HardwareInfo>&, const boost::json::value& source);
