#include "marlek_link_json/jobs/calibration/jobs/set_mesh_json_file/set_mesh_json_filejob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetMeshJsonFileParameters, &JobNames::SET_MESH_JSON_FILE_JOB_NAME>;
