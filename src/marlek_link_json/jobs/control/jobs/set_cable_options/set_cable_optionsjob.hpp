#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "set_cable_options": describes the cable of a potentiostat.
struct SetCableOptionsParameters {
    // URL or URN of the potentiostat.
    std::string potentiostat;
    // Of the counter-electrode cable, in farad.
    double additional_ce_capacitance = 0.0;

    friend bool operator==(const SetCableOptionsParameters&, const SetCableOptionsParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetCableOptionsParameters, (), (potentiostat, additional_ce_capacitance))

using SetCableOptionsJob = MeasurementJobTemplate<SetCableOptionsParameters, &JobNames::SET_CABLE_OPTIONS_JOB_NAME>;
extern template class MeasurementJobTemplate<SetCableOptionsParameters, &JobNames::SET_CABLE_OPTIONS_JOB_NAME>;
