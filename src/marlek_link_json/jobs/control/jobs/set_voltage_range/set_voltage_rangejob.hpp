#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>

// Job "set_voltage_range": chooses the voltage range of a potentiostat
// that is switched off.
struct SetVoltageRangeParameters {
    // URL or URN of the potentiostat.
    std::string potentiostat;
    // 0 is the smallest range.
    std::uint64_t index = 0;

    friend bool operator==(const SetVoltageRangeParameters&, const SetVoltageRangeParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetVoltageRangeParameters, (), (potentiostat, index))

template <>
struct ParameterXmlForm<SetVoltageRangeParameters> : NoParameterXmlForm {};

using SetVoltageRangeJob = MeasurementJobTemplate<SetVoltageRangeParameters, &JobNames::SET_VOLTAGE_RANGE_JOB_NAME>;
extern template class MeasurementJobTemplate<SetVoltageRangeParameters, &JobNames::SET_VOLTAGE_RANGE_JOB_NAME>;
