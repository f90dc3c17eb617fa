#include "marlek_link_json/jobs/control/jobs/get_potentiostat_state/get_potentiostat_statejob.hpp"

#include "marlek_link_json/jobs/control/potentiostat_state/potentiostat_state_json.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<GetPotentiostatStateParameters, &JobNames::GET_POTENTIOSTAT_STATE_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<PotentiostatState, GetPotentiostatStateParameters,
                                                 &JobNames::GET_POTENTIOSTAT_STATE_JOB_NAME>;

void GetPotentiostatStateJob::extractJobResult(const boost::json::object& completion)
{
    const auto* state = resultObject(completion);
    if (state == nullptr) {
        return;
    }
    result = boost::json::value_to<PotentiostatState>(boost::json::value(*state));
}
