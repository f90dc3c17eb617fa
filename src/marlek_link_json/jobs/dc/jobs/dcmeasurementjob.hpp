#pragma once

#include "marlek_link_json/jobs/common/abstract_stopcondition.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <map>
#include <string>
#include <string_view>
#include <utility>

// The job class of every DC technique: a job over the technique's parameter
// record that reports the DC job family. No constructor takes job options:
// a DC job starts with both options off, and its owner may change them
// afterwards. No constructor checks the record; the workstation judges it.
template <typename ParameterStructT, const std::string_view* JobName>
class DcMeasurementJob : public MeasurementJobTemplate<ParameterStructT, JobName> {
    using Base = MeasurementJobTemplate<ParameterStructT, JobName>;

public:
    using ParameterStruct = ParameterStructT;
    using MetaData = std::map<std::string, std::string>;

    explicit DcMeasurementJob(const ParameterStruct& record) : Base(record, JobOptions{}) {}

    DcMeasurementJob(const ParameterStruct& record, const MetaData& metaData) : Base(record, metaData, JobOptions{})
    {
    }

    DcMeasurementJob(const ParameterStruct& record, const StopConditionList& stopConditions)
        : Base(record, JobOptions{})
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, StopConditionList&& stopConditions) : Base(record, JobOptions{})
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, const MetaData& metaData, const StopConditionList& stopConditions)
        : Base(record, metaData, JobOptions{})
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, const MetaData& metaData, StopConditionList&& stopConditions)
        : Base(record, metaData, JobOptions{})
    {
        takeStopConditions(std::move(stopConditions));
    }

    JobTypeEnum getType() const override { return JobTypeEnum::DC; }

private:
    // The conditions themselves stay shared with the caller; only the list
    // is the job's own.
    void copyStopConditions(const StopConditionList& stopConditions)
    {
        this->stopConditions = stopConditions.conditions;
    }

    // Leaves the caller's list empty, whatever the allocator's move rules.
    void takeStopConditions(StopConditionList&& stopConditions)
    {
        this->stopConditions = std::move(stopConditions.conditions);
        stopConditions.conditions.clear();
    }
};
