#include "marlek_link_json/link_json_session.hpp"

#include "marlek_json_common/json_common/logging/error_factory_json.hpp"
#include "marlek_json_common/json_common/resources/resourceinfo_json.hpp"
#include "marlek_json_common/json_common/text/base64.hpp"
#include "marlek_link_json/atomic_file_writer.hpp"

#include <boost/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <limits>
#include <system_error>
#include <utility>

namespace {

constexpr std::size_t kFileBlockSize = 4194304;

ErrorObject contentInvalid(std::string_view what)
{
    return ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}", std::string(what));
}

ErrorObject unexpected(std::string_view what)
{
    return ErrorObject(ErrorCodeEnum::UNEXPECTED_EXCEPTION, "an unexpected exception occured: {0}", std::string(what));
}

// Appends the file's content to the resource block by block.
ErrorObject uploadFile(LinkJsonSession& session, std::ifstream& file, const std::filesystem::path& path,
                       const Resource& resource)
{
    std::vector<char> block(kFileBlockSize);
    for (;;) {
        errno = 0;
        file.read(block.data(), static_cast<std::streamsize>(block.size()));
        // A failed read is not the end of the file: stopping there would
        // report a partial upload as a complete one.
        if (file.bad() || (file.fail() && !file.eof())) {
            const int cause = errno != 0 ? errno : EIO;
            return ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_READ, "file '{0}' could not be read: {1}",
                               path.string(), std::generic_category().message(cause));
        }
        const auto count = static_cast<std::size_t>(file.gcount());
        if (count > 0) {
            block.resize(count);
            if (ErrorObject appended = session.appendToResource(resource, block);
                appended.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
                return appended;
            }
            block.resize(kFileBlockSize);
        }
        if (file.eof()) {
            return ErrorObject();
        }
    }
}

} // namespace

boost::json::object LinkJsonSession::resourceRequest(ResourceTypeEnum type, std::string_view verb,
                                                     boost::json::object keys)
{
    boost::json::object request;
    request["do"] = "/" + std::string(resourceTypeName(type)) + "/" + std::string(verb);
    for (auto& [key, value] : keys) {
        request[key] = std::move(value);
    }
    return request;
}

boost::json::object LinkJsonSession::sendResourceRequest(ResourceTypeEnum type, std::string_view verb,
                                                         boost::json::object keys, int timeout)
{
    return sendRequest(resourceRequest(type, verb, std::move(keys)), timeout);
}

std::expected<std::vector<Resource>, ErrorObject> LinkJsonSession::getResourceList(ResourceTypeEnum type)
{
    const boost::json::object reply = sendResourceRequest(type, "list", {});
    if (!wasSuccessful(reply)) {
        return std::unexpected(getError(reply));
    }
    std::vector<Resource> resources;
    const auto* list = reply.if_contains("resources");
    if (list && list->is_array()) {
        for (const auto& element : list->get_array()) {
            resources.emplace_back(boost::json::value_to<ResourceInfo>(element));
        }
    }
    return resources;
}

Resource LinkJsonSession::createResource(ResourceTypeEnum type, std::string_view name)
{
    const boost::json::object reply = sendResourceRequest(type, "create", {{"name", name}});
    const auto* description = reply.if_contains("resource");
    if (wasSuccessful(reply) && description && description->is_object()) {
        return Resource(boost::json::value_to<ResourceInfo>(*description));
    }
    return Resource();
}

std::expected<Resource, ErrorObject> LinkJsonSession::createResourceFromFile(ResourceTypeEnum type,
                                                                             const std::filesystem::path& path,
                                                                             std::string_view name)
{
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        std::cerr << "Error: Could not open file: " << path.string() << std::endl;
        return Resource();
    }
    const std::string resourceName = name.empty() ? path.filename().string() : std::string(name);
    Resource resource = createResource(type, resourceName);
    if (!resource.isValid()) {
        return resource;
    }
    ErrorObject uploaded = uploadFile(*this, file, path, resource);
    if (uploaded.getErrorCodeEnum() == ErrorCodeEnum::NONE) {
        return resource;
    }
    // A partly uploaded resource would pass for the file's content. After a
    // cancellation the caller is not kept waiting for its deletion.
    if (uploaded.getErrorCodeEnum() == ErrorCodeEnum::STOPPED_MANUALLY) {
        sendRequest(resourceRequest(type, "delete", {{"resource_id", resource.getResourceId()}}), ReplyCallback(),
                    -1);
    } else {
        deleteResource(resource);
    }
    return std::unexpected(std::move(uploaded));
}

ErrorObject LinkJsonSession::appendToResource(const Resource& resource, const std::vector<char>& content)
{
    for (std::size_t offset = 0; offset < content.size(); offset += Resource::DATA_CHUNK_SIZE_LIMIT) {
        const std::size_t size = std::min(Resource::DATA_CHUNK_SIZE_LIMIT, content.size() - offset);
        const boost::json::object reply =
            sendResourceRequest(resource.getType(), "append",
                                {{"resource_id", resource.getResourceId()},
                                 {"data", base64::encode(std::string_view(content.data() + offset, size))}});
        if (!wasSuccessful(reply)) {
            return getError(reply);
        }
    }
    return ErrorObject();
}

ErrorObject LinkJsonSession::retrieveResource(const Resource& resource, std::vector<char>& output, std::size_t limit,
                                              std::size_t offset)
{
    std::size_t wanted = limit == 0 ? std::numeric_limits<std::size_t>::max() : limit;
    std::size_t chunk = (limit == 0 || limit >= Resource::DATA_CHUNK_SIZE_LIMIT) ? Resource::DATA_CHUNK_SIZE_LIMIT
                                                                                  : limit;
    // Without a limit the handle's known size bounds what is fetched; a
    // workstation claiming more is not believed.
    const std::uint64_t knownSize = resource.getSize();
    std::size_t received = 0;
    std::vector<char> decoded;
    for (;;) {
        const boost::json::object reply = sendResourceRequest(
            resource.getType(), "get",
            {{"resource_id", resource.getResourceId()}, {"offset", offset + received}, {"limit", chunk}});
        if (!wasSuccessful(reply)) {
            return getError(reply);
        }
        const auto* data = reply.if_contains("data");
        const auto* totalSize = reply.if_contains("resource_total_size");
        if (!data || !data->is_string() || !totalSize || !totalSize->is_number()) {
            return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "incomplete json object received");
        }
        // A stray character would otherwise end the chunk early, unnoticed.
        if (std::optional<std::string> refusal = base64::decode(data->get_string(), base64::Policy::Strict, decoded)) {
            return contentInvalid(*refusal);
        }
        const std::size_t count = decoded.size();
        if (count > chunk) {
            return contentInvalid("more data received than requested");
        }
        received += count;
        const auto total = boost::json::value_to<std::uint64_t>(*totalSize);
        if (total < offset) {
            return unexpected("offset beyond resource size");
        }
        if (limit == 0 && knownSize != 0 && total > knownSize) {
            return contentInvalid("resource larger than its known size");
        }
        output.insert(output.end(), decoded.begin(), decoded.end());
        wanted = std::min<std::uint64_t>(wanted, total - offset);
        if (received >= wanted) {
            return ErrorObject();
        }
        // A reply without content would otherwise be asked again forever.
        if (count == 0) {
            return contentInvalid("no data received");
        }
        chunk = std::min(wanted - received, Resource::DATA_CHUNK_SIZE_LIMIT);
    }
}

ErrorObject LinkJsonSession::getUpdatedResourceInfo(Resource& resource)
{
    const boost::json::object reply =
        sendResourceRequest(resource.getType(), "info", {{"resource_id", resource.getResourceId()}});
    if (!wasSuccessful(reply)) {
        return getError(reply);
    }
    const auto* description = reply.if_contains("resource");
    if (!description || !description->is_object()) {
        return ErrorObject(ErrorCodeEnum::PROPERTY_OBJECT_MISSING, "property '{0}' missing or not an object",
                           "resource");
    }
    ResourceInfo info = boost::json::value_to<ResourceInfo>(*description);
    if (info.resource_id != resource.getResourceId()) {
        return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "resource");
    }
    resource.setResourceInfo(std::move(info));
    return ErrorObject();
}

ErrorObject LinkJsonSession::retrieveFullResource(Resource& resource, std::string& output, std::size_t maximumSize)
{
    if (inheritedByFork()) {
        return notConnectedError();
    }
    std::lock_guard downloadLock(fullDownloadMutex);
    if (resource.getSize() == 0) {
        ErrorObject refreshed = getUpdatedResourceInfo(resource);
        if (refreshed.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
            return refreshed;
        }
        if (resource.getSize() == 0) {
            output.clear();
            return ErrorObject();
        }
    }
    if (maximumSize != 0 && resource.getSize() > maximumSize) {
        return ErrorObject(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH,
                           "parameter '{0}' is too high: '{1}' {2} '{3}' must be false", "limit",
                           static_cast<double>(resource.getSize()), ">", static_cast<double>(maximumSize));
    }

    // Content longer than the resource's size is taken as it comes; the
    // caller's maximum alone bounds what may be held in memory. The receiver
    // is called outside the download lock and may be called after this has
    // returned (a failed request lets go of it while the content or a
    // cancellation is being delivered): it keeps what it receives in a
    // place of its own.
    struct Delivery {
        OncePromise<std::optional<ErrorObject>> outcome;
        std::string content;
    };
    const auto delivery = std::make_shared<Delivery>();
    auto outcome = delivery->outcome.getFuture();
    auto receiver = std::make_shared<DownloadCallback>(
        [delivery, maximumSize](std::string&& content, std::optional<ErrorObject> error) {
            if (!error && maximumSize != 0 && content.size() > maximumSize) {
                error = contentInvalid("downloaded resource size invalid");
            }
            if (!error) {
                delivery->content = std::move(content);
            }
            delivery->outcome.offer(std::move(error));
        });
    setPendingDownload(receiver);

    const boost::json::object reply =
        sendResourceRequest(resource.getType(), "download", {{"resource_id", resource.getResourceId()}},
                            static_cast<int>(3 * requestTimeout.load().count()));
    if (!wasSuccessful(reply)) {
        deletePendingDownload();
        return getError(reply);
    }
    if (const std::optional<ErrorObject> error = outcome.get();
        error && error->getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        return *error;
    }
    output = std::move(delivery->content);
    if (output.size() < resource.getSize()) {
        return contentInvalid("downloaded resource size invalid");
    }
    return ErrorObject();
}

void LinkJsonSession::setPendingDownload(const std::shared_ptr<DownloadCallback>& callback)
{
    if (inheritedByFork()) {
        return;
    }
    startTimeout(binaryFrameTimeout.load(), [this, callback] {
        {
            std::lock_guard lock(pendingDownloadMutex);
            if (pendingDownload != callback) {
                return;
            }
            pendingDownload.reset();
        }
        (*callback)(std::string(), ErrorFactory::makeError<ErrorCodeEnum::OPERATION_TIMED_OUT>());
    });
    std::shared_ptr<DownloadCallback> replaced; // let go of outside the lock
    std::lock_guard lock(pendingDownloadMutex);
    replaced = std::exchange(pendingDownload, callback);
}

void LinkJsonSession::deletePendingDownload()
{
    if (inheritedByFork()) {
        return;
    }
    std::shared_ptr<DownloadCallback> removed; // let go of outside the lock
    std::lock_guard lock(pendingDownloadMutex);
    removed = std::exchange(pendingDownload, nullptr);
}

ErrorObject LinkJsonSession::downloadResourceToFile(const Resource& resource, const std::filesystem::path& path)
{
    Resource refreshed = resource;
    // Any other failure leaves the handle as it was, which is read as it is.
    if (ErrorObject refresh = getUpdatedResourceInfo(refreshed);
        refresh.getErrorCodeEnum() == ErrorCodeEnum::STOPPED_MANUALLY) {
        return refresh;
    }
    if (refreshed.getResourceId().empty()) {
        return ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "resource",
                           "resource_id", resource.getResourceId());
    }
    try {
        if (path.has_parent_path() && !std::filesystem::exists(path.parent_path())) {
            std::filesystem::create_directories(path.parent_path());
        }
        // The content goes to a file of its own next to the target and
        // replaces the target only once complete: a failed download leaves
        // an existing file as it was.
        AtomicFileWriter writer(path);
        if (ErrorObject opened = writer.open(); opened.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
            return opened;
        }
        std::vector<char> buffer;
        if (ErrorObject retrieved = retrieveResource(refreshed, buffer, 0, 0);
            retrieved.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
            return retrieved;
        }
        return writer.commit(buffer.data(), buffer.size());
    } catch (const std::exception& e) {
        return unexpected(e.what());
    }
}

ErrorObject LinkJsonSession::deleteResource(const Resource& resource)
{
    const boost::json::object reply =
        sendResourceRequest(resource.getType(), "delete", {{"resource_id", resource.getResourceId()}});
    return wasSuccessful(reply) ? ErrorObject() : getError(reply);
}
