#include "marlek_link_json/jobs/control/jobs/get_hardware_property/get_hardware_propertyjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<GetHardwarePropertyParameters, &JobNames::GET_HARDWARE_PROPERTY_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<HardwarePropertyValue, GetHardwarePropertyParameters,
                                                 &JobNames::GET_HARDWARE_PROPERTY_JOB_NAME>;

void GetHardwarePropertyJob::extractJobResult(const boost::json::object& completion)
{
    const auto* reported = resultObject(completion);
    if (reported == nullptr) {
        return;
    }
    if (const auto* value = reported->if_contains("value")) {
        if (auto converted = hardwarePropertyValueFromJson(*value)) {
            result = std::move(*converted);
        }
    }
}
