#include "marlek_link_json/jobs/calibration/jobs/get_mesh_json_file/get_mesh_json_filejob.hpp"

#include "marlek_json_common/json_common/text/base64.hpp"
#include "marlek_link_json/jobs/result_content_error.hpp"

#include <boost/json.hpp>

#include <cstddef>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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
    // Decoded completely before it replaces the stored bytes.
    std::vector<std::byte> bytes;
    std::optional<std::string> refusal;
    try {
        refusal = base64::decode(contentOf(*received), base64::Policy::Strict, bytes);
    } catch (const std::exception& error) {
        refusal = error.what();
    }
    if (refusal) {
        throw ResultContentError("Failed to decode file content: " + *refusal);
    }
    result = std::move(bytes);
}
