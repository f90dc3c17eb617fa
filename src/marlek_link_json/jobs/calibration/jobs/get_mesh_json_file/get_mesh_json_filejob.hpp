#pragma once
// Service job "get_mesh_json_file": fetches the workstation's calibration
// mesh, a JSON file, whose bytes arrive base64-encoded in
// "result"."file"."content" of the job's completion.

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <cstddef>
#include <vector>

extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless,
                                             &JobNames::GET_MESH_JSON_FILE_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<std::vector<std::byte>, AbstractMeasurementJob::Parameterless,
                                                        &JobNames::GET_MESH_JSON_FILE_JOB_NAME>;

class GetMeshJsonFileJob
    : public SingleValueMeasurementJobTemplate<std::vector<std::byte>, AbstractMeasurementJob::Parameterless,
                                               &JobNames::GET_MESH_JSON_FILE_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Replaces the stored bytes with the decoded content. A completion
    // without a "result" object changes nothing; a missing "file" object or
    // "content" text, or content that is not base64, raises
    // std::runtime_error "Failed to decode file content: " and the reason,
    // and the stored bytes stay as they were.
    void extractJobResult(const boost::json::object& completion) override;
};
