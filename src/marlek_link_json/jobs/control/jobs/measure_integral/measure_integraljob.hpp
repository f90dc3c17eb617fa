#pragma once
// Job "measure_integral": measures one value on a channel over a given time.

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// channel: a locator such as "MAIN:1:POT:U" or a dimension such as
// "voltage"; duration: measuring time in seconds. Its XML form is the
// generic one: "channel" and "duration" children.
struct MeasureIntegralParameters {
    std::string channel;
    double duration = 0.0;

    friend bool operator==(const MeasureIntegralParameters&, const MeasureIntegralParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(MeasureIntegralParameters, (), (channel, duration))

extern template class MeasurementJobTemplate<MeasureIntegralParameters, &JobNames::MEASURE_INTEGRAL_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<double, MeasureIntegralParameters,
                                                        &JobNames::MEASURE_INTEGRAL_JOB_NAME>;

class MeasureIntegralJob
    : public SingleValueMeasurementJobTemplate<double, MeasureIntegralParameters,
                                               &JobNames::MEASURE_INTEGRAL_JOB_NAME> {
public:
    // The measured value is NaN until a run has delivered one.
    MeasureIntegralJob(const MeasureIntegralParameters& parameters, const JobOptions& options);

    // Takes "result"."value" when it is a number (integers converted); any
    // other completion keeps the stored value. Raises nothing.
    void extractJobResult(const boost::json::object& completion) override;
};
