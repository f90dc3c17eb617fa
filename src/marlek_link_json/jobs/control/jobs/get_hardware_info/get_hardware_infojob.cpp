#include "marlek_link_json/jobs/control/jobs/get_hardware_info/get_hardware_infojob.hpp"

#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::GET_HARDWARE_INFO_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<HardwareInfo, AbstractMeasurementJob::Parameterless,
                                                 &JobNames::GET_HARDWARE_INFO_JOB_NAME>;

void GetHardwareInfoJob::extractJobResult(const boost::json::object& completion)
{
    const auto* tree = resultObject(completion);
    if (tree == nullptr) {
        return;
    }
    result = boost::json::value_to<HardwareInfo>(boost::json::value(*tree));
}
