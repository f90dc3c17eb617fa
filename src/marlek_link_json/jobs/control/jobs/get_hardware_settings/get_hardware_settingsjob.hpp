#pragma once

#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

// Job "get_hardware_settings": reads the sampling configuration the
// workstation adopted.
class GetHardwareSettingsJob
    : public SingleValueMeasurementJobTemplate<HardwareSettings, AbstractMeasurementJob::Parameterless,
                                               &JobNames::GET_HARDWARE_SETTINGS_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Replaces the stored settings with the completion's "result" object;
    // keeps them when there is none. Settings that do not read raise
    // boost::system::system_error and leave the stored ones.
    void extractJobResult(const boost::json::object& completion) override;
};

extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless,
                                             &JobNames::GET_HARDWARE_SETTINGS_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<HardwareSettings, AbstractMeasurementJob::Parameterless,
                                                        &JobNames::GET_HARDWARE_SETTINGS_JOB_NAME>;
