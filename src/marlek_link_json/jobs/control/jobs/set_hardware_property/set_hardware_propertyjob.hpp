#pragma once

#include "marlek_link_json/jobs/control/hardware_property_value.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "set_hardware_property": sets one property of a device.
struct SetHardwarePropertyParameters {
    // The device, such as "DIO:1" or "MUX16:1".
    std::string uri;
    // The property, such as "DIGITAL_OUT" or "MUX_CHANNEL".
    std::string key;
    HardwarePropertyValue value;

    friend bool operator==(const SetHardwarePropertyParameters&, const SetHardwarePropertyParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetHardwarePropertyParameters, (), (uri, key, value))

using SetHardwarePropertyJob =
    MeasurementJobTemplate<SetHardwarePropertyParameters, &JobNames::SET_HARDWARE_PROPERTY_JOB_NAME>;
extern template class MeasurementJobTemplate<SetHardwarePropertyParameters,
                                             &JobNames::SET_HARDWARE_PROPERTY_JOB_NAME>;
