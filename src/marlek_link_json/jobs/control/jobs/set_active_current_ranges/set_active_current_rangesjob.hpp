#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>
#include <vector>

// Job "set_active_current_ranges": the current ranges measurements may use.
struct SetActiveCurrentRangesParameters {
    // URL or URN of the potentiostat.
    std::string potentiostat;
    // Current-range (shunt) indexes; empty allows every range of the hardware.
    std::vector<std::uint64_t> indexes;

    friend bool operator==(const SetActiveCurrentRangesParameters&, const SetActiveCurrentRangesParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetActiveCurrentRangesParameters, (), (potentiostat, indexes))

template <>
struct ParameterXmlForm<SetActiveCurrentRangesParameters> : NoParameterXmlForm {};

using SetActiveCurrentRangesJob = MeasurementJobTemplate<SetActiveCurrentRangesParameters, &JobNames::SET_ACTIVE_CURRENT_RANGES_JOB_NAME>;
extern template class MeasurementJobTemplate<SetActiveCurrentRangesParameters, &JobNames::SET_ACTIVE_CURRENT_RANGES_JOB_NAME>;
