#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "set_date_time": sets the workstation's date and time.
struct SetDateTimeParameters {
    // "YYYY-MM-DDTHH:MM:SS", passed on unchecked.
    std::string datetime;

    friend bool operator==(const SetDateTimeParameters&, const SetDateTimeParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetDateTimeParameters, (), (datetime))

using SetDateTimeJob = MeasurementJobTemplate<SetDateTimeParameters, &JobNames::SET_DATETIME_NAME>;
extern template class MeasurementJobTemplate<SetDateTimeParameters, &JobNames::SET_DATETIME_NAME>;
