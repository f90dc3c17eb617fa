// The mesh-file and filter-usage service jobs of calibration: read the
// calibration mesh as bytes, take a stored resource as the new mesh, and read
// the filter usage matrix of a ZMU4 path.

#include "marlek_link_py/control_binding.hpp"
#include "marlek_link_py/docstring.hpp"
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

    jb::bindJobWithParameters<SetMeshJsonFileJob, jb::Extras::none>(
        calibration, "SetMeshJsonFileJob",
        jb::fields<SetMeshJsonFileParameters>(jb::field("resource_id", &SetMeshJsonFileParameters::resource_id,
                                                        MARLEK_DOC("resource id of the uploaded mesh file"))),
        "\n    SetMeshJsonFileJob - No customer should call this job\n\n");

    py::class_<FilterUsageMatrix>(calibration, "FilterUsageMatrix")
        .def(py::init<>())
        .def_readwrite("matrix", &FilterUsageMatrix::matrix, "filter matrix");

    auto filters = jb::bindJobWithParameters<GetFilterUsageMatrixJob, jb::Extras::none>(
        calibration, "GetFilterUsageMatrixJob",
        jb::fields<GetFilterUsageMatrixParameters>(jb::field(
            "zmu4_path", &GetFilterUsageMatrixParameters::zmu4_path, MARLEK_DOC("path of the add-on card to query"))),
        "\n     GetFilterUsageMatrixJob job - No customer should call this job\n\n");
    cb::addJobResult(filters, "\n");
}
