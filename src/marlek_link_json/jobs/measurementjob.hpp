#pragma once

#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/common/abstract_stopcondition.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The state every job shares: metadata, stop conditions, the last job
// information and the options. A job can run any number of times; each run
// overwrites the last job information.
class MeasurementJob : public AbstractMeasurementJob {
public:
    void processJobResult(const boost::json::object& completion) override;
    const JobInfo& getLastJobInfo() const override { return lastJobInfo; }
    void setLastJobInfo(const JobInfo& info) override { lastJobInfo = info; }
    JobStatusEnum getLastJobStatus() const override { return lastJobInfo.status; }
    std::string getLastJobErrorMessage() const override;
    // Only the status counts: FINISHED with any detail is a success.
    bool wasSuccessful() const override { return lastJobInfo.status == JobStatusEnum::FINISHED; }
    void setMetaData(const std::map<std::string, std::string>& newMetaData) override;
    std::map<std::string, std::string>& getMetaData() override { return metaData; }
    boost::json::object getMetaDataObject() const override;
    // One {"type", "parameters"} object per condition; empty entries are skipped.
    boost::json::array getStopConditionsArray() const override;
    void setFailed(ErrorObject&& error, JobStatusDetailEnum detail) override;
    const JobOptions& getJobOptions() const override { return jobOptions; }
    JobTypeEnum getType() const override { return JobTypeEnum::OTHER; }

    // Reads a job's own result out of the completion message; called by
    // processJobResult after the job information has been taken in.
    virtual void extractJobResult(const boost::json::object& completion);

    void setStopConditions(const std::vector<std::shared_ptr<AbstractStopCondition>>& conditions);
    const std::vector<std::shared_ptr<AbstractStopCondition>>& getStopConditions() const { return stopConditions; }
    void clearStopConditions() { stopConditions.clear(); }

protected:
    MeasurementJob() = default;
    MeasurementJob(const std::map<std::string, std::string>& metaData, const JobOptions& options);
    explicit MeasurementJob(const JobOptions& options);

    std::map<std::string, std::string> metaData;
    std::vector<std::shared_ptr<AbstractStopCondition>> stopConditions;
    JobInfo lastJobInfo;

public:
    // Open to the job's owner, who may replace the options between runs.
    JobOptions jobOptions;
};
