#include "marlek_link_json/jobs/control/jobs/get_adc_state/get_adc_statejob.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<GetAdcStateParameters, &JobNames::GET_ADC_STATE_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<AdcStateInfo, GetAdcStateParameters,
                                                 &JobNames::GET_ADC_STATE_JOB_NAME>;

void GetAdcStateJob::extractJobResult(const boost::json::object& completion)
{
    if (const auto* reported = resultObject(completion)) {
        result = StrictJson::read<AdcStateInfo>(*reported);
    }
}
