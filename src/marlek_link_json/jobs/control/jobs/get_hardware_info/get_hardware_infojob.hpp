#pragma once

#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

// Job "get_hardware_info": reads the workstation's device tree.
class GetHardwareInfoJob
    : public SingleValueMeasurementJobTemplate<HardwareInfo, AbstractMeasurementJob::Parameterless,
                                               &JobNames::GET_HARDWARE_INFO_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Replaces the stored tree with the completion's "result" object as a
    // whole; keeps it when there is none. A tree that does not read raises
    // boost::system::system_error and leaves the stored one.
    void extractJobResult(const boost::json::object& completion) override;
};

extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless,
                                             &JobNames::GET_HARDWARE_INFO_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<HardwareInfo, AbstractMeasurementJob::Parameterless,
                                                        &JobNames::GET_HARDWARE_INFO_JOB_NAME>;
