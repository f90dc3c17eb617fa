#pragma once

#include "marlek_json_common/json_common/logging/error_code.hpp"
#include "marlek_link/marlek_link.hpp"
#include "marlek_link/marlek_link_exception.hpp"

#include <mutex>
#include <set>

// The link for callers who prefer exceptions: a failure becomes a thrown
// MarlekLinkException carrying the error object, a success returns what
// MarlekLink returns. disconnect, sendStop, updateSettings,
// retrieveFullResource, getConnectionStatus and isConnected never throw it.
//
// Jobs that end by a stop condition or a manual stop are ordinary endings:
// their codes are suppressed by default, so doJob, waitForJobToFinish and the
// job check of getJobResultData return them instead of throwing. The set may
// be changed from any thread, also while a job runs.
class MarlekLinkExc : public MarlekLink {
public:
    using MarlekLink::MarlekLink;

    ErrorObject connect() override;
    ErrorObject doJob(AbstractMeasurementJob& job) override;
    std::expected<std::shared_ptr<DataSet>, ErrorObject> getJobResultData(AbstractMeasurementJob& job) override;
    ErrorObject waitForJobToFinish(AbstractMeasurementJob& job) override;
    ErrorObject checkJobParameters(AbstractMeasurementJob& job) override;
    std::expected<SettingsSet, ErrorObject> getSettings() override;
    std::expected<std::vector<JobInfo>, ErrorObject> getJobInfoList(bool excludeFinished) override;
    std::expected<JobInfo, ErrorObject> getJobInfo(AbstractMeasurementJob& job) override;
    std::expected<WorkstationInfo, ErrorObject> getWorkstationInfo() override;
    std::expected<WorkstationStatus, ErrorObject> getWorkstationStatus() override;
    std::expected<WebsocketConnectionInfo, ErrorObject> getOwnConnectionInfo() override;
    std::expected<std::vector<WebsocketConnectionInfo>, ErrorObject> getWorkstationConnectionList() override;
    ErrorObject dropWorkstationConnection(const WebsocketConnectionInfo& info) override;
    std::expected<Resource, ErrorObject> createResource(ResourceTypeEnum type, std::string_view name) override;
    std::expected<Resource, ErrorObject> createResourceFromFile(ResourceTypeEnum type,
                                                                const std::filesystem::path& path,
                                                                std::string_view name) override;
    ErrorObject appendToResource(const Resource& resource, const std::vector<char>& content) override;
    ErrorObject retrieveResource(const Resource& resource, std::vector<char>& output, std::size_t limit,
                                 std::size_t offset) override;
    ErrorObject downloadResourceToFile(const Resource& resource, const std::filesystem::path& path) override;
    ErrorObject deleteResource(const Resource& resource) override;
    std::expected<std::vector<Resource>, ErrorObject> getAvailableResources(ResourceTypeEnum type) override;
    ErrorObject getUpdatedResourceInfo(Resource& resource) override;

    void suppressDoJobException(ErrorCodeEnum code);
    void enableDoJobException(ErrorCodeEnum code);
    bool isDoJobExceptionSuppressed(ErrorCodeEnum code) const;

private:
    // Throws the error unless it is NONE or suppressed.
    ErrorObject throwUnlessSuppressed(ErrorObject result) const;

    mutable std::mutex suppressedCodesMutex;
    std::set<ErrorCodeEnum> suppressedCodes{ErrorCodeEnum::STOP_CONDITION_TRIGGERED, ErrorCodeEnum::STOPPED_MANUALLY};
};
