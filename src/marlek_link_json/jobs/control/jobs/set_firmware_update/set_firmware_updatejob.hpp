#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "set_firmware_update": the package the workstation installs at its
// next reboot.
struct SetFirmwareUpdateParameters {
    // A previously uploaded firmware-update package.
    std::string resource_id;

    friend bool operator==(const SetFirmwareUpdateParameters&, const SetFirmwareUpdateParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetFirmwareUpdateParameters, (), (resource_id))

template <>
struct ParameterXmlForm<SetFirmwareUpdateParameters> : NoParameterXmlForm {};

using SetFirmwareUpdateJob = MeasurementJobTemplate<SetFirmwareUpdateParameters, &JobNames::SET_FIRMWARE_UPDATE_JOB_NAME>;
extern template class MeasurementJobTemplate<SetFirmwareUpdateParameters, &JobNames::SET_FIRMWARE_UPDATE_JOB_NAME>;
