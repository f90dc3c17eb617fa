// CalibrateJob: runs a calibration of the workstation. The type travels as
// its protocol text; the typed constructor turns the enumeration into it.

#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"
#include "marlek_link_py/job_doc.hpp"

#include "marlek_link_json/jobs/calibration/jobs/calibrate/calibratejob.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;
namespace jb = job_binding;

namespace {

using Indexes = std::vector<std::uint64_t>;
using Paths = std::vector<std::string>;

#define MARLEK_CALIBRATE_INTRO                                                                                   \
    "\n    Calibrate job\n\n"                                                                                      \
    "    This job starts a calibration of the passed type.\n\n"

} // namespace

void init_calibrate_wrap(py::module_& calibration)
{
    // `paths` is sent but has no property: it is filled by the constructors.
    const auto textFields = jb::fields<CalibrateParametersString>(
        jb::field("calibration_type", &CalibrateParametersString::calibration_type),
        jb::field("calibration_path", &CalibrateParametersString::calibration_path),
        jb::field("indexes", &CalibrateParametersString::indexes));
    jb::bindParameters<CalibrateJob>(calibration, "CalibrateParametersStringPy", textFields);

    py::class_<SerializableParameterStruct<CalibrateParameters>> typed(calibration, "CalibrateParametersPy");
    jb::addProperties(typed,
                      jb::fields<CalibrateParameters>(
                          jb::field("calibration_type", &CalibrateParameters::calibration_type),
                          jb::field("calibration_path", &CalibrateParameters::calibration_path),
                          jb::field("indexes", &CalibrateParameters::indexes)),
                      jb::Docs::hidden);

    using View = jb::ParameterView<CalibrateJob>;
    // The library gives the three selectors no meaning of its own.
    const std::string selectors =
        job_doc::param("calibration_path", "path that selects what is calibrated, as the calibration type needs it")
        + job_doc::param("indexes", "indexes that select what is calibrated, as the calibration type needs them")
        + job_doc::param("paths", "further paths that select what is calibrated, as the calibration type needs them");
    const std::string textDoc =
        MARLEK_CALIBRATE_INTRO + job_doc::param("calibration_type", "type of the calibration, only \"dc\" is available")
        + selectors;
    const std::string typedDoc =
        MARLEK_CALIBRATE_INTRO
        + job_doc::param("calibration_type", "type of the calibration, only CalibrationTypesEnum.DC is available")
        + selectors
        + job_doc::requestExample("calibrate", "{\"calibration_type\": \"dc\", \"calibration_path\": \"\",\n"
                                               "    \"indexes\": [], \"paths\": []}");
    py::class_<CalibrateJob, AbstractMeasurementJob> job(calibration, "CalibrateJob");
    job.def(py::init([](std::string type, std::string path, Indexes indexes, Paths paths) {
                auto made = std::make_unique<CalibrateJob>(CalibrateParameters{
                    CalibrationTypesEnum::DC, std::move(path), std::move(indexes), std::move(paths)});
                // Any text is sent as it is, known type or not.
                made->getParameterStruct().calibration_type = std::move(type);
                return made;
            }),
            py::arg("calibration_type") = "dc", py::arg("calibration_path") = "", py::arg("indexes") = Indexes{},
            py::arg("paths") = Paths{}, textDoc.c_str());
    job.def(py::init([](CalibrationTypesEnum type, std::string path, Indexes indexes, Paths paths) {
                return std::make_unique<CalibrateJob>(
                    CalibrateParameters{type, std::move(path), std::move(indexes), std::move(paths)});
            }),
            py::arg("calibration_type") = CalibrationTypesEnum::DC, py::arg("calibration_path") = "",
            py::arg("indexes") = Indexes{}, py::arg("paths") = Paths{}, typedDoc.c_str());
    job.def_property(
        "parameters", [](CalibrateJob& self) -> View& { return self.getParameterStruct(); },
        [](CalibrateJob& self, const View& value) {
            static_cast<CalibrateParametersString&>(self.getParameterStruct())
                = static_cast<const CalibrateParametersString&>(value);
        },
        py::return_value_policy::reference_internal, "object with the parameters that were passed to the constructor");
}
