#include "marlek_link_json/jobs/control/jobs/get_hardware_settings/get_hardware_settingsjob.hpp"

#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_json.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless,
                                      &JobNames::GET_HARDWARE_SETTINGS_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<HardwareSettings, AbstractMeasurementJob::Parameterless,
                                                 &JobNames::GET_HARDWARE_SETTINGS_JOB_NAME>;

void GetHardwareSettingsJob::extractJobResult(const boost::json::object& completion)
{
    const auto* settings = resultObject(completion);
    if (settings == nullptr) {
        return;
    }
    result = boost::json::value_to<HardwareSettings>(boost::json::value(*settings));
}
