#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>
#include <vector>

// Job "get_adc_state": reads the state of one ADC.
struct GetAdcStateParameters {
    // URL or URN of the ADC.
    std::string adc;

    friend bool operator==(const GetAdcStateParameters&, const GetAdcStateParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(GetAdcStateParameters, (), (adc))

// What "get_adc_state" reports.
struct AdcStateInfo {
    // The gain indexes that are active during measurements.
    std::vector<int> active_gain_indexes;

    friend bool operator==(const AdcStateInfo&, const AdcStateInfo&) = default;
};
BOOST_DESCRIBE_STRUCT(AdcStateInfo, (), (active_gain_indexes))

class GetAdcStateJob
    : public SingleValueMeasurementJobTemplate<AdcStateInfo, GetAdcStateParameters, &JobNames::GET_ADC_STATE_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Every index must be exactly an int; a "result" that does not fit
    // raises the JSON conversion error and keeps the stored list.
    void extractJobResult(const boost::json::object& completion) override;
};

extern template class MeasurementJobTemplate<GetAdcStateParameters, &JobNames::GET_ADC_STATE_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<AdcStateInfo, GetAdcStateParameters,
                                                        &JobNames::GET_ADC_STATE_JOB_NAME>;
