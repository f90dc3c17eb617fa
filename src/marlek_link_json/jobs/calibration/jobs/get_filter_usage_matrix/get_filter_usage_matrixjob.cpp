#include "marlek_link_json/jobs/calibration/jobs/get_filter_usage_matrix/get_filter_usage_matrixjob.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<GetFilterUsageMatrixParameters, &JobNames::GET_FILTER_USAGE_MATRIX_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<FilterUsageMatrix, GetFilterUsageMatrixParameters,
                                                 &JobNames::GET_FILTER_USAGE_MATRIX_JOB_NAME>;

namespace {

std::pair<std::uint64_t, std::uint64_t> pairFrom(const boost::json::value& element)
{
    const auto* pair = element.if_array();
    if (pair == nullptr) {
        jsonmembers::throwJsonError(boost::json::error::not_array);
    }
    if (pair->size() != 2) {
        jsonmembers::throwJsonError(boost::json::error::size_mismatch);
    }
    return {StrictJson::read<std::uint64_t>((*pair)[0]), StrictJson::read<std::uint64_t>((*pair)[1])};
}

FilterUsageMatrix matrixFrom(const boost::json::object& result)
{
    const auto* matrix = result.if_contains("matrix");
    if (matrix == nullptr) {
        jsonmembers::throwJsonError(boost::json::error::size_mismatch);
    }
    const auto* rows = matrix->if_array();
    if (rows == nullptr) {
        jsonmembers::throwJsonError(boost::json::error::not_array);
    }
    FilterUsageMatrix read;
    read.matrix.reserve(rows->size());
    for (const auto& element : *rows) {
        read.matrix.push_back(pairFrom(element));
    }
    return read;
}

} // namespace

void GetFilterUsageMatrixJob::extractJobResult(const boost::json::object& completion)
{
    if (const auto* received = resultObject(completion)) {
        result = matrixFrom(*received);
    }
}
