#include "marlek_link_json/link_json_session.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"

#include <boost/json.hpp>

#include <algorithm>
#include <optional>

namespace {

ErrorObject malformed(std::string_view what)
{
    return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", std::string(what));
}

ErrorObject notFound(std::string_view what, const std::string& jobId)
{
    return ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", std::string(what), "job_id",
                       jobId);
}

// The number of rows an impedance result declares; 0 when it declares none,
// nothing when the count is negative, fractional or too large.
std::optional<std::size_t> declaredRowCount(const boost::json::object& header)
{
    const auto* rows = header.if_contains("number_of_rows");
    if (!rows || !rows->is_number()) {
        return 0;
    }
    const auto count = boost::json::try_value_to<std::uint64_t>(*rows);
    if (!count) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(*count);
}

bool isObjectMember(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    return member && member->is_object();
}

} // namespace

std::expected<std::shared_ptr<DataSet>, ErrorObject> LinkJsonSession::getJobResultData(AbstractMeasurementJob& job)
{
    const std::string jobId = job.getLastJobInfo().jobId;
    if (jobId.size() <= 4) {
        return std::unexpected(notFound("job", jobId));
    }
    if (job.getJobOptions().discard_result_data) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::RESULT_DATA_DISCARDED,
                                           "job result data is not available because 'discard_result_data' was set"));
    }

    auto resources = getResourceList(ResourceTypeEnum::JOB_RESULT);
    if (!resources) {
        return std::unexpected(std::move(resources.error()));
    }
    const auto found = std::ranges::find_if(
        *resources, [&jobId](const Resource& resource) { return resource.getResourceInfo().job_id == jobId; });
    if (found == resources->end()) {
        return std::unexpected(notFound("job result resource", jobId));
    }
    Resource resource = *found;

    const auto& storedHeader = resource.getResourceInfo().header;
    if (!storedHeader || !storedHeader->is_object()) {
        return std::unexpected(malformed("result data header is not an object"));
    }
    const boost::json::object header = storedHeader->get_object();
    if (!isObjectMember(header, "job_info") || !isObjectMember(header, "job_data_header")) {
        return std::unexpected(malformed("result data header cannot be parsed"));
    }
    JobInfo info = jobInfoFromJson(header.at("job_info").get_object());
    const boost::json::value& dataHeader = header.at("job_data_header");

    switch (resource.getResourceInfo().sub_type) {
    case ResourceSubType::DATASET_AC: {
        auto eisHeader = boost::json::value_to<LiveDataHeaderEis>(dataHeader);
        const std::optional<std::size_t> rows = declaredRowCount(header);
        if (!rows) {
            return std::unexpected(ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                                               "number_of_rows is not a row count"));
        }
        std::string content;
        if (ErrorObject error = retrieveFullResource(resource, content, 0);
            error.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
            return std::unexpected(std::move(error));
        }
        // Read with the layout of version 0 when the version cannot be had,
        // but not when the caller has cancelled the call.
        const auto version = readDeviceProtocolVersion();
        if (!version && version.error().getErrorCodeEnum() == ErrorCodeEnum::STOPPED_MANUALLY) {
            return std::unexpected(version.error());
        }
        return std::make_shared<EisDataset>(eisDatasetFromBinary(content, std::move(eisHeader), *rows, std::move(info),
                                                                 static_cast<std::size_t>(version.value_or(0))));
    }
    case ResourceSubType::DATASET_DC: {
        auto dcHeader = boost::json::value_to<LiveDataHeader>(dataHeader);
        std::string content;
        if (ErrorObject error = retrieveFullResource(resource, content, 0);
            error.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
            return std::unexpected(std::move(error));
        }
        return std::make_shared<DcDataset>(dcDatasetFromBinary(content, std::move(dcHeader), std::move(info)));
    }
    default:
        return std::unexpected(malformed("unknown or mismatching dataset type"));
    }
}

std::uint64_t LinkJsonSession::getDeviceProtocolVersion()
{
    return readDeviceProtocolVersion().value_or(0);
}

std::expected<std::uint64_t, ErrorObject> LinkJsonSession::readDeviceProtocolVersion()
{
    if (inheritedByFork()) {
        return std::unexpected(notConnectedError());
    }
    {
        std::lock_guard lock(protocolVersionMutex);
        if (cachedProtocolVersion) {
            return *cachedProtocolVersion;
        }
    }
    const auto info = getWorkstationInfo();
    if (!info) {
        return std::unexpected(info.error());
    }
    const std::uint64_t version = info->protocol_version;
    std::lock_guard lock(protocolVersionMutex);
    cachedProtocolVersion = version;
    return version;
}
