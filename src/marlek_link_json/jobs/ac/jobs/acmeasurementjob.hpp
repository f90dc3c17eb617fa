#pragma once

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <map>
#include <string>
#include <string_view>

// A job that delivers impedance data: the impedance techniques and the
// calibration jobs that report the same way. Its request is built like any
// other job's; the job type marks it as an impedance job.
//
// The constructors take neither stop conditions nor job options: impedance
// jobs start with none set and default options, which the job's owner can
// change afterwards through the base. The record is copied unchecked; the
// workstation judges the values and reports a rejection in the job
// information.
template <typename ParameterStructT, const std::string_view* JobName>
class AcMeasurementJob : public MeasurementJobTemplate<ParameterStructT, JobName> {
    using Base = MeasurementJobTemplate<ParameterStructT, JobName>;

public:
    using typename Base::ParameterStruct;

    explicit AcMeasurementJob(const ParameterStruct& parameters) : Base(parameters, JobOptions{}) {}

    AcMeasurementJob(const ParameterStruct& parameters, const std::map<std::string, std::string>& metaData)
        : Base(parameters, metaData, JobOptions{})
    {
    }

    JobTypeEnum getType() const override { return JobTypeEnum::AC; }
};
