#pragma once

#include "marlek_link_json/jobs/control/hardware_property_value.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "get_hardware_property": reads one property of a device.
struct GetHardwarePropertyParameters {
    // The device, such as "DIO:1" or "MUX16:1".
    std::string uri;
    // The property, such as "DIGITAL_OUT" or "MUX_CHANNEL".
    std::string key;

    friend bool operator==(const GetHardwarePropertyParameters&, const GetHardwarePropertyParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(GetHardwarePropertyParameters, (), (uri, key))

// The property's value starts as false.
class GetHardwarePropertyJob
    : public SingleValueMeasurementJobTemplate<HardwarePropertyValue, GetHardwarePropertyParameters,
                                               &JobNames::GET_HARDWARE_PROPERTY_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Takes "value" of "result" by its kind; a value of no usable kind keeps
    // the stored one. Never raises.
    void extractJobResult(const boost::json::object& completion) override;
};

extern template class MeasurementJobTemplate<GetHardwarePropertyParameters,
                                             &JobNames::GET_HARDWARE_PROPERTY_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<HardwarePropertyValue, GetHardwarePropertyParameters,
                                                        &JobNames::GET_HARDWARE_PROPERTY_JOB_NAME>;
