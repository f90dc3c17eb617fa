#include "marlek_link_json/jobs/control/jobs/set_date_time/set_date_timejob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetDateTimeParameters, &JobNames::SET_DATETIME_NAME>;
