#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <string>

// Job "get_date_time": the workstation's date and time as it sends it,
// "YYYY-MM-DDTHH:MM:SS"; neither parsed nor checked. Empty until a run
// reported it.
class GetDateTimeJob : public SingleValueMeasurementJobTemplate<std::string, AbstractMeasurementJob::Parameterless,
                                                                &JobNames::GET_DATETIME_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Takes "datetime" of "result" when it is a string. Never raises.
    void extractJobResult(const boost::json::object& completion) override;
};

extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::GET_DATETIME_NAME>;
extern template class SingleValueMeasurementJobTemplate<std::string, AbstractMeasurementJob::Parameterless,
                                                        &JobNames::GET_DATETIME_NAME>;
