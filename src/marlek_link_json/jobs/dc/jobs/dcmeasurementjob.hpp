#pragma once

#include "marlek_link_json/jobs/common/abstract_stopcondition.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobfeatures.hpp"
#include "marlek_link_json/jobs/common/live_data/livedata_callbacks.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The job class of every DC technique: a job over the technique's parameter
// record that reports the DC job family and hands its live data to the
// callbacks it was given. No constructor takes job options: a DC job starts
// with both options off, and its owner may change them afterwards. No
// constructor checks the record; the workstation judges it.
//
// Constructors take, after the record: no callback, one callback or a list of
// them; then optionally the metadata; then optionally the stop conditions.
// An argument taken by rvalue is moved from and left empty.
template <typename ParameterStructT, const std::string_view* JobName>
class DcMeasurementJob : public MeasurementJobTemplate<ParameterStructT, JobName> {
    using Base = MeasurementJobTemplate<ParameterStructT, JobName>;

public:
    using ParameterStruct = ParameterStructT;
    using MetaData = std::map<std::string, std::string>;
    using Callback = DcMeasurementJobFeatures::Callback;
    using Callbacks = std::vector<Callback>;

    explicit DcMeasurementJob(const ParameterStruct& record) : Base(record, JobOptions{}), features(Callbacks{}) {}

    DcMeasurementJob(const ParameterStruct& record, const MetaData& metaData)
        : Base(record, metaData, JobOptions{}), features(Callbacks{})
    {
    }

    DcMeasurementJob(const ParameterStruct& record, Callbacks&& callbacks)
        : Base(record, JobOptions{}), features(LiveDataCallbacks::take(std::move(callbacks)))
    {
    }

    DcMeasurementJob(const ParameterStruct& record, const Callbacks& callbacks)
        : Base(record, JobOptions{}), features(callbacks)
    {
    }

    DcMeasurementJob(const ParameterStruct& record, const StopConditionList& stopConditions)
        : Base(record, JobOptions{}), features(Callbacks{})
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, StopConditionList&& stopConditions)
        : Base(record, JobOptions{}), features(Callbacks{})
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, Callbacks&& callbacks, const MetaData& metaData)
        : Base(record, metaData, JobOptions{}), features(LiveDataCallbacks::take(std::move(callbacks)))
    {
    }

    DcMeasurementJob(const ParameterStruct& record, const Callbacks& callbacks, const MetaData& metaData)
        : Base(record, metaData, JobOptions{}), features(callbacks)
    {
    }

    DcMeasurementJob(const ParameterStruct& record, Callback&& callback, const StopConditionList& stopConditions)
        : Base(record, JobOptions{}), features(LiveDataCallbacks::takeOne(std::move(callback)))
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, const Callback& callback, const StopConditionList& stopConditions)
        : Base(record, JobOptions{}), features(Callbacks{callback})
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, Callbacks&& callbacks, StopConditionList&& stopConditions)
        : Base(record, JobOptions{}), features(LiveDataCallbacks::take(std::move(callbacks)))
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, const Callbacks& callbacks,
                     const StopConditionList& stopConditions)
        : Base(record, JobOptions{}), features(callbacks)
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, const Callbacks& callbacks, StopConditionList&& stopConditions)
        : Base(record, JobOptions{}), features(callbacks)
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, const MetaData& metaData, const StopConditionList& stopConditions)
        : Base(record, metaData, JobOptions{}), features(Callbacks{})
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, const MetaData& metaData, StopConditionList&& stopConditions)
        : Base(record, metaData, JobOptions{}), features(Callbacks{})
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, Callback&& callback, const MetaData& metaData,
                     const StopConditionList& stopConditions)
        : Base(record, metaData, JobOptions{}), features(LiveDataCallbacks::takeOne(std::move(callback)))
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, Callback&& callback, const MetaData& metaData,
                     StopConditionList&& stopConditions)
        : Base(record, metaData, JobOptions{}), features(LiveDataCallbacks::takeOne(std::move(callback)))
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, const Callback& callback, const MetaData& metaData,
                     const StopConditionList& stopConditions)
        : Base(record, metaData, JobOptions{}), features(Callbacks{callback})
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, const Callback& callback, const MetaData& metaData,
                     StopConditionList&& stopConditions)
        : Base(record, metaData, JobOptions{}), features(Callbacks{callback})
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, Callbacks&& callbacks, const MetaData& metaData,
                     const StopConditionList& stopConditions)
        : Base(record, metaData, JobOptions{}), features(LiveDataCallbacks::take(std::move(callbacks)))
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, Callbacks&& callbacks, const MetaData& metaData,
                     StopConditionList&& stopConditions)
        : Base(record, metaData, JobOptions{}), features(LiveDataCallbacks::take(std::move(callbacks)))
    {
        takeStopConditions(std::move(stopConditions));
    }

    DcMeasurementJob(const ParameterStruct& record, const Callbacks& callbacks, const MetaData& metaData,
                     const StopConditionList& stopConditions)
        : Base(record, metaData, JobOptions{}), features(callbacks)
    {
        copyStopConditions(stopConditions);
    }

    DcMeasurementJob(const ParameterStruct& record, const Callbacks& callbacks, const MetaData& metaData,
                     StopConditionList&& stopConditions)
        : Base(record, metaData, JobOptions{}), features(callbacks)
    {
        takeStopConditions(std::move(stopConditions));
    }

    JobTypeEnum getType() const override { return JobTypeEnum::DC; }

    // Appends after the callbacks given so far.
    void addLivedataEventHandler(Callback&& callback) { features.addLivedataEventHandler(std::move(callback)); }

    void setEventHandlers(LinkJsonSession& session) override { features.setEventHandlers(session); }
    void removeEventHandlers(LinkJsonSession& session) override { features.removeEventHandlers(session); }

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

    DcMeasurementJobFeatures features;
};
