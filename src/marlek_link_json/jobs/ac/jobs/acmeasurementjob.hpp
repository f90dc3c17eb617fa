#pragma once

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_link_json/jobs/ac/jobs/acmeasurementjobfeatures.hpp"
#include "marlek_link_json/jobs/common/live_data/livedata_callbacks.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A job that delivers impedance data: the impedance techniques and the
// calibration jobs that report the same way. Its request is built like any
// other job's; the job type marks it as an impedance job, and its live data
// go to the callbacks it was given.
//
// The constructors take neither stop conditions nor job options: impedance
// jobs start with none set and default options, which the job's owner can
// change afterwards through the base. The record is copied unchecked; the
// workstation judges the values and reports a rejection in the job
// information. Callbacks are taken by rvalue and moved from.
template <typename ParameterStructT, const std::string_view* JobName>
class AcMeasurementJob : public MeasurementJobTemplate<ParameterStructT, JobName> {
    using Base = MeasurementJobTemplate<ParameterStructT, JobName>;

public:
    using typename Base::ParameterStruct;
    using MetaData = std::map<std::string, std::string>;
    using Callback = AcMeasurementJobFeatures::Callback;
    using Callbacks = std::vector<Callback>;

    explicit AcMeasurementJob(const ParameterStruct& parameters)
        : Base(parameters, JobOptions{}), features(Callbacks{})
    {
    }

    AcMeasurementJob(const ParameterStruct& parameters, const MetaData& metaData)
        : Base(parameters, metaData, JobOptions{}), features(Callbacks{})
    {
    }

    AcMeasurementJob(const ParameterStruct& parameters, Callback&& callback)
        : Base(parameters, JobOptions{}), features(LiveDataCallbacks::takeOne(std::move(callback)))
    {
    }

    AcMeasurementJob(const ParameterStruct& parameters, Callbacks&& callbacks)
        : Base(parameters, JobOptions{}), features(LiveDataCallbacks::take(std::move(callbacks)))
    {
    }

    AcMeasurementJob(const ParameterStruct& parameters, Callback&& callback, const MetaData& metaData)
        : Base(parameters, metaData, JobOptions{}), features(LiveDataCallbacks::takeOne(std::move(callback)))
    {
    }

    AcMeasurementJob(const ParameterStruct& parameters, Callbacks&& callbacks, const MetaData& metaData)
        : Base(parameters, metaData, JobOptions{}), features(LiveDataCallbacks::take(std::move(callbacks)))
    {
    }

    JobTypeEnum getType() const override { return JobTypeEnum::AC; }

    // Appends after the callbacks given so far.
    void addLivedataEventHandler(Callback&& callback) { features.addLivedataEventHandler(std::move(callback)); }

    void setEventHandlers(LinkJsonSession& session) override { features.setEventHandlers(session); }
    void removeEventHandlers(LinkJsonSession& session) override { features.removeEventHandlers(session); }

private:
    AcMeasurementJobFeatures features;
};
