#include "marlek_link/marlek_link_exc.hpp"

#include "marlek_link_json/jobs/dataset/dataset.hpp"

namespace {

ErrorObject throwIfFailed(ErrorObject result)
{
    if (result.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        throw MarlekLinkException(result);
    }
    return result;
}

template <typename T>
std::expected<T, ErrorObject> throwIfFailed(std::expected<T, ErrorObject> result)
{
    if (!result) {
        throw MarlekLinkException(result.error());
    }
    return result;
}

} // namespace

ErrorObject MarlekLinkExc::connect()
{
    return throwIfFailed(MarlekLink::connect());
}

ErrorObject MarlekLinkExc::throwUnlessSuppressed(ErrorObject result) const
{
    const ErrorCodeEnum code = result.getErrorCodeEnum();
    if (code != ErrorCodeEnum::NONE && !isDoJobExceptionSuppressed(code)) {
        throw MarlekLinkException(result);
    }
    return result;
}

ErrorObject MarlekLinkExc::doJob(AbstractMeasurementJob& job)
{
    return throwUnlessSuppressed(MarlekLink::doJob(job));
}

ErrorObject MarlekLinkExc::waitForJobToFinish(AbstractMeasurementJob& job)
{
    return throwUnlessSuppressed(MarlekLink::waitForJobToFinish(job));
}

std::expected<std::shared_ptr<DataSet>, ErrorObject> MarlekLinkExc::getJobResultData(AbstractMeasurementJob& job)
{
    auto result = throwIfFailed(MarlekLink::getJobResultData(job));
    if (!*result) {
        throw MarlekLinkException(ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured"));
    }
    // The data came back, but the job that produced them may have failed.
    throwUnlessSuppressed((*result)->getJobInfo().error);
    return result;
}

ErrorObject MarlekLinkExc::checkJobParameters(AbstractMeasurementJob& job)
{
    return throwIfFailed(MarlekLink::checkJobParameters(job));
}

std::expected<SettingsSet, ErrorObject> MarlekLinkExc::getSettings()
{
    return throwIfFailed(MarlekLink::getSettings());
}

std::expected<std::vector<JobInfo>, ErrorObject> MarlekLinkExc::getJobInfoList(bool excludeFinished)
{
    return throwIfFailed(MarlekLink::getJobInfoList(excludeFinished));
}

std::expected<JobInfo, ErrorObject> MarlekLinkExc::getJobInfo(AbstractMeasurementJob& job)
{
    return throwIfFailed(MarlekLink::getJobInfo(job));
}

std::expected<WorkstationInfo, ErrorObject> MarlekLinkExc::getWorkstationInfo()
{
    return throwIfFailed(MarlekLink::getWorkstationInfo());
}

std::expected<WorkstationStatus, ErrorObject> MarlekLinkExc::getWorkstationStatus()
{
    return throwIfFailed(MarlekLink::getWorkstationStatus());
}

std::expected<WebsocketConnectionInfo, ErrorObject> MarlekLinkExc::getOwnConnectionInfo()
{
    return throwIfFailed(MarlekLink::getOwnConnectionInfo());
}

std::expected<std::vector<WebsocketConnectionInfo>, ErrorObject> MarlekLinkExc::getWorkstationConnectionList()
{
    return throwIfFailed(MarlekLink::getWorkstationConnectionList());
}

ErrorObject MarlekLinkExc::dropWorkstationConnection(const WebsocketConnectionInfo& info)
{
    return throwIfFailed(MarlekLink::dropWorkstationConnection(info));
}

std::expected<Resource, ErrorObject> MarlekLinkExc::createResource(ResourceTypeEnum type, std::string_view name)
{
    return throwIfFailed(MarlekLink::createResource(type, name));
}

std::expected<Resource, ErrorObject> MarlekLinkExc::createResourceFromFile(ResourceTypeEnum type,
                                                                           const std::filesystem::path& path,
                                                                           std::string_view name)
{
    return throwIfFailed(MarlekLink::createResourceFromFile(type, path, name));
}

ErrorObject MarlekLinkExc::appendToResource(const Resource& resource, const std::vector<char>& content)
{
    return throwIfFailed(MarlekLink::appendToResource(resource, content));
}

ErrorObject MarlekLinkExc::retrieveResource(const Resource& resource, std::vector<char>& output, std::size_t limit,
                                            std::size_t offset)
{
    return throwIfFailed(MarlekLink::retrieveResource(resource, output, limit, offset));
}

ErrorObject MarlekLinkExc::downloadResourceToFile(const Resource& resource, const std::filesystem::path& path)
{
    return throwIfFailed(MarlekLink::downloadResourceToFile(resource, path));
}

ErrorObject MarlekLinkExc::deleteResource(const Resource& resource)
{
    return throwIfFailed(MarlekLink::deleteResource(resource));
}

std::expected<std::vector<Resource>, ErrorObject> MarlekLinkExc::getAvailableResources(ResourceTypeEnum type)
{
    return throwIfFailed(MarlekLink::getAvailableResources(type));
}

ErrorObject MarlekLinkExc::getUpdatedResourceInfo(Resource& resource)
{
    return throwIfFailed(MarlekLink::getUpdatedResourceInfo(resource));
}

void MarlekLinkExc::suppressDoJobException(ErrorCodeEnum code)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(suppressedCodesMutex);
    suppressedCodes.insert(code);
}

void MarlekLinkExc::enableDoJobException(ErrorCodeEnum code)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(suppressedCodesMutex);
    suppressedCodes.erase(code);
}

bool MarlekLinkExc::isDoJobExceptionSuppressed(ErrorCodeEnum code) const
{
    // In a child made by fork the set may be locked by a thread left behind
    // in the parent: every failure is thrown there.
    if (inheritedByFork()) {
        return false;
    }
    std::lock_guard lock(suppressedCodesMutex);
    return suppressedCodes.contains(code);
}
