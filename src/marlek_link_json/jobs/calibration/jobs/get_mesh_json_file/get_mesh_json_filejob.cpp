#include "marlek_link_json/jobs/calibration/jobs/get_mesh_json_file/get_mesh_json_filejob.hpp"

#include "marlek_link_json/jobs/calibration/base64_content.hpp"

#include <boost/json.hpp>

#include <exception>
#include <stdexcept>
#include <string>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::GET_MESH_JSON_FILE_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<std::vector<std::byte>, AbstractMeasurementJob::Parameterless,
                                                 &JobNames::GET_MESH_JSON_FILE_JOB_NAME>;

namespace {

std::string_view contentOf(const boost::json::object& result)
{
    const auto* file = result.if_contains("file");
    if (file == nullptr || !file->is_object()) {
        throw std::runtime_error("No valid 'file' object found");
    }
    const auto* content = file->get_object().if_contains("content");
    if (content == nullptr || !content->is_string()) {
        throw std::runtime_error("No valid 'content' field found in file object");
    }
    return content->get_string();
}

} // namespace

void GetMeshJsonFileJob::extractJobResult(const boost::json::object& completion)
{
    const auto* received = resultObject(completion);
    if (received == nullptr) {
        return;
    }
    try {
        // Decoded completely before it replaces the stored bytes.
        result = decodeBase64Content(contentOf(*received));
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("Failed to decode file content: ") + error.what());
    }
}
