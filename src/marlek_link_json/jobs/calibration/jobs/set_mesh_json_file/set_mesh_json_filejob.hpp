#pragma once
// Service job "set_mesh_json_file": the workstation takes a resource stored
// on it (uploaded beforehand) as its calibration mesh file.

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

struct SetMeshJsonFileParameters {
    std::string resource_id;

    friend bool operator==(const SetMeshJsonFileParameters&, const SetMeshJsonFileParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetMeshJsonFileParameters, (), (resource_id))

template <>
struct ParameterXmlForm<SetMeshJsonFileParameters> : NoParameterXmlForm {};

extern template class MeasurementJobTemplate<SetMeshJsonFileParameters, &JobNames::SET_MESH_JSON_FILE_JOB_NAME>;

using SetMeshJsonFileJob = MeasurementJobTemplate<SetMeshJsonFileParameters, &JobNames::SET_MESH_JSON_FILE_JOB_NAME>;
