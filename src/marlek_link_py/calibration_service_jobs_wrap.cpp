// The mesh-file and filter-usage service jobs of calibration: read the
// calibration mesh as bytes, take a stored resource as the new mesh, and read
// the filter usage matrix of a ZMU4 path.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_link_json/jobs/calibration/jobs/get_filter_usage_matrix/get_filter_usage_matrixjob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/get_mesh_json_file/get_mesh_json_filejob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/set_mesh_json_file/set_mesh_json_filejob.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <vector>

namespace py = pybind11;
namespace jb = job_binding;
namespace cb = control_binding;

void init_calibration_service_jobs_wrap(py::module_& calibration)
{
    auto mesh = cb::bindBareJob<GetMeshJsonFileJob>(
        calibration, "GetMeshJsonFileJob", "\n    GetMeshJsonFileJob job - No customer should call this job\n");
    mesh.def(
        "get_job_result",
        [](const GetMeshJsonFileJob& self) {
            const std::vector<std::byte> content = self.getJobResult();
            return py::bytes(reinterpret_cast<const char*>(content.data()), content.size());
        },
        "\n    Get the queried mesh file contents.\n\n    :returns: bytes object with the file contents\n");

    const auto meshFields =
        jb::fields<SetMeshJsonFileParameters>(jb::field("resource_id", &SetMeshJsonFileParameters::resource_id));
    jb::bindParameters<SetMeshJsonFileJob>(calibration, "SetMeshJsonFileParametersPy", meshFields);
    auto setMesh = jb::bindJob<SetMeshJsonFileJob>(calibration, "SetMeshJsonFileJob",
                                                   "marlek_link.calibration.SetMeshJsonFileParametersPy");
    jb::addFlatInit<SetMeshJsonFileJob, jb::Extras::none>(
        setMesh, meshFields, "\n    SetMeshJsonFileJob - No customer should call this job\n");

    py::class_<FilterUsageMatrix>(calibration, "FilterUsageMatrix")
        .def(py::init<>())
        .def_readwrite("matrix", &FilterUsageMatrix::matrix, "filter matrix");

    const auto filterFields = jb::fields<GetFilterUsageMatrixParameters>(
        jb::field("zmu4_path", &GetFilterUsageMatrixParameters::zmu4_path));
    jb::bindParameters<GetFilterUsageMatrixJob>(calibration, "GetFilterUsageMatrixParametersPy", filterFields);
    auto filters = jb::bindJob<GetFilterUsageMatrixJob>(calibration, "GetFilterUsageMatrixJob",
                                                        "marlek_link.calibration.GetFilterUsageMatrixParametersPy");
    jb::addFlatInit<GetFilterUsageMatrixJob, jb::Extras::none>(
        filters, filterFields, "\n     GetFilterUsageMatrixJob job - No customer should call this job\n");
    cb::addJobResult(filters, "\n");
}
