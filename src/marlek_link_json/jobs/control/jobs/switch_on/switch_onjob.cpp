#include "marlek_link_json/jobs/control/jobs/switch_on/switch_onjob.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SwitchOnParameters, &JobNames::SWITCH_ON_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<SwitchOnInfo, SwitchOnParameters, &JobNames::SWITCH_ON_JOB_NAME>;

void SwitchOnJob::extractJobResult(const boost::json::object& completion)
{
    if (const auto* reported = resultObject(completion)) {
        result = StrictJson::read<SwitchOnInfo>(*reported);
    }
}
