#pragma once
// Service job "get_filter_usage_matrix": reads the filter usage matrix of a
// ZMU4 path, pairs of unsigned integers whose meaning is the workstation's.

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct GetFilterUsageMatrixParameters {
    std::string zmu4_path;

    friend bool operator==(const GetFilterUsageMatrixParameters&, const GetFilterUsageMatrixParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(GetFilterUsageMatrixParameters, (), (zmu4_path))

template <>
struct ParameterXmlForm<GetFilterUsageMatrixParameters> : NoParameterXmlForm {};

// In the order the workstation sends the pairs.
struct FilterUsageMatrix {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> matrix;

    friend bool operator==(const FilterUsageMatrix&, const FilterUsageMatrix&) = default;
};

extern template class MeasurementJobTemplate<GetFilterUsageMatrixParameters,
                                             &JobNames::GET_FILTER_USAGE_MATRIX_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<FilterUsageMatrix, GetFilterUsageMatrixParameters,
                                                        &JobNames::GET_FILTER_USAGE_MATRIX_JOB_NAME>;

class GetFilterUsageMatrixJob
    : public SingleValueMeasurementJobTemplate<FilterUsageMatrix, GetFilterUsageMatrixParameters,
                                               &JobNames::GET_FILTER_USAGE_MATRIX_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Replaces the stored matrix with "result"."matrix", an array of
    // two-element arrays of unsigned integers (whole non-negative doubles
    // too). A completion without a "result" object changes nothing; a
    // malformed matrix raises boost::system::system_error (size_mismatch,
    // not_array, not_exact, not_number) and keeps the stored one.
    void extractJobResult(const boost::json::object& completion) override;
};
