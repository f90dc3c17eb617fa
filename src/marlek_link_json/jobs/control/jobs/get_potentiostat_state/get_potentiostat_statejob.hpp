#pragma once

#include "marlek_link_json/jobs/control/potentiostat_state/potentiostat_state.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "get_potentiostat_state": reads the state of one potentiostat.
struct GetPotentiostatStateParameters {
    // URL ("MAIN:1:POT", "XPC:1:EXT2:POT") or URN ("354531:POT").
    std::string potentiostat;

    friend bool operator==(const GetPotentiostatStateParameters&, const GetPotentiostatStateParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(GetPotentiostatStateParameters, (), (potentiostat))

class GetPotentiostatStateJob
    : public SingleValueMeasurementJobTemplate<PotentiostatState, GetPotentiostatStateParameters,
                                               &JobNames::GET_POTENTIOSTAT_STATE_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Replaces the stored state with the completion's "result" object; keeps
    // it when there is none. A state that does not read raises
    // boost::system::system_error and leaves the stored one.
    void extractJobResult(const boost::json::object& completion) override;
};

extern template class MeasurementJobTemplate<GetPotentiostatStateParameters,
                                             &JobNames::GET_POTENTIOSTAT_STATE_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<PotentiostatState, GetPotentiostatStateParameters,
                                                        &JobNames::GET_POTENTIOSTAT_STATE_JOB_NAME>;
