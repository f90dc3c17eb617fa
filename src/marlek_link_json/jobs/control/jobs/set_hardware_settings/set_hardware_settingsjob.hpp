#pragma once

#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_json.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/set_hardware_settings_parameters.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

// The settings travel only as JSON; job information read from XML has no
// parameter object for them.
template <>
struct ParameterXmlForm<SetHardwareSettingsParameters> : NoParameterXmlForm {};

// Job "set_hardware_settings": applies a sampling configuration, for example
// one that HardwareSettingsHelper built.
class SetHardwareSettingsJob
    : public MeasurementJobTemplate<SetHardwareSettingsParameters, &JobNames::SET_HARDWARE_SETTINGS_JOB_NAME> {
public:
    using MeasurementJobTemplate::MeasurementJobTemplate;
};

extern template class MeasurementJobTemplate<SetHardwareSettingsParameters,
                                             &JobNames::SET_HARDWARE_SETTINGS_JOB_NAME>;
