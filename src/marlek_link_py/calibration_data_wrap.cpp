// The calibration data service jobs: write one item of calibration data, or
// read one back. The calibration type is given as its protocol text or as a
// CalibrationTypesEnum member.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/job_binding.hpp"
#include "marlek_link_py/job_doc.hpp"
#include "marlek_link_py/named_type.hpp"

#include "marlek_link_json/jobs/calibration/jobs/get_calibration_data/get_calibration_datajob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/set_calibration_data/set_calibration_datajob.hpp"

#include <pybind11/complex.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;
namespace jb = job_binding;

namespace {

using Indexes = std::vector<std::uint64_t>;

std::string typeText(std::string type)
{
    return type;
}

std::string typeText(CalibrationTypesEnum type)
{
    return calibrationTypesEnumToString(type);
}

// What selects the stored calibration item; the workstation gives it its meaning.
std::string selectorsDoc()
{
    return job_doc::param("calibration_type", "type of the calibration, as text or CalibrationTypesEnum")
           + job_doc::param("calibration_path", "path of the calibrated hardware")
           + job_doc::param("indexes", "indexes of the calibrated ranges");
}

std::string setDoc()
{
    return "\n    SetCalibrationDataJob - No customer should call this job\n\n" + selectorsDoc()
           + job_doc::param("data_type",
                            "which value is sent: \"float\", \"float_vector\", \"spectra\" or \"string\"; the "
                            "other three are ignored")
           + job_doc::param("float_data", "the value when data_type is \"float\"")
           + job_doc::param("float_vector_data", "the value when data_type is \"float_vector\"")
           + job_doc::param("spectra_data", "the value when data_type is \"spectra\"")
           + job_doc::param("string_data", "the value when data_type is \"string\"");
}

template <typename Type>
void addSetInit(py::class_<SetCalibrationDataJob, AbstractMeasurementJob>& job)
{
    job.def(py::init([](Type type, std::string path, Indexes indexes, std::string dataType, double floatData,
                        std::vector<double> floatVector, SpectrumMap spectra, std::string text) {
                return std::make_unique<SetCalibrationDataJob>(SetCalibrationDataParameters{
                    typeText(std::move(type)), std::move(path), std::move(indexes), std::move(dataType), floatData,
                    std::move(floatVector), std::move(spectra), std::move(text)});
            }),
            py::arg("calibration_type"), py::arg("calibration_path") = "", py::arg("indexes") = Indexes{},
            py::arg("data_type") = "", py::arg("float_data") = 0, py::arg("float_vector_data") = std::vector<double>{},
            py::arg("spectra_data") = py::dict(), py::arg("string_data") = "", setDoc().c_str());
}

template <typename Type>
void addGetInit(py::class_<GetCalibrationDataJob, AbstractMeasurementJob>& job)
{
    job.def(py::init([](Type type, std::string path, Indexes indexes) {
                return std::make_unique<GetCalibrationDataJob>(
                    GetCalibrationDataParameters{typeText(std::move(type)), std::move(path), std::move(indexes)},
                    JobOptions{});
            }),
            py::arg("calibration_type"), py::arg("calibration_path") = "", py::arg("indexes") = Indexes{},
            ("\n    GetCalibrationDataJob job - No customer should call this job\n\n" + selectorsDoc()).c_str());
}

// The value of whichever kind the data has.
using CalibrationData = py::typing::Union<double, std::vector<double>, SpectrumMap, std::string>;

CalibrationData dataOf(const GetCalibrationDataJob& job)
{
    switch (job.getCalibrationDataType()) {
    case CalibrationDataTypeEnum::FLOAT:
        return declared<CalibrationData>(py::float_(job.getFloatData()));
    case CalibrationDataTypeEnum::FLOAT_VECTOR:
        return declared<CalibrationData>(py::cast(job.getFloatVectorData()));
    case CalibrationDataTypeEnum::SPECTRA:
        return declared<CalibrationData>(py::cast(job.getSpectraData()));
    case CalibrationDataTypeEnum::STRING:
        return declared<CalibrationData>(dataText(job.getStringData()));
    case CalibrationDataTypeEnum::UNDEFINED:
        break;
    }
    throw std::runtime_error("Unknown calibration data type");
}

} // namespace

void init_set_calibration_data_wrap(py::module_& calibration)
{
    using Record = SetCalibrationDataParameters;
    jb::bindParameters<SetCalibrationDataJob>(
        calibration, "SetCalibrationDataParametersPy",
        jb::fields<Record>(jb::field("calibration_type", &Record::calibration_type),
                           jb::field("calibration_path", &Record::calibration_path),
                           jb::field("indexes", &Record::indexes), jb::field("data_type", &Record::data_type),
                           jb::field("float_data", &Record::float_data),
                           jb::field("float_vector_data", &Record::float_vector_data),
                           jb::field("spectra_data", &Record::spectra_data),
                           jb::field("string_data", &Record::string_data)));
    auto job = jb::bindJob<SetCalibrationDataJob>(calibration, "SetCalibrationDataJob",
                                                  "SetCalibrationDataParametersPy");
    addSetInit<std::string>(job);
    addSetInit<CalibrationTypesEnum>(job);
}

void init_get_calibration_data_wrap(py::module_& calibration)
{
    using Record = GetCalibrationDataParameters;
    jb::bindParameters<GetCalibrationDataJob>(
        calibration, "GetCalibrationDataParametersPy",
        jb::fields<Record>(jb::field("calibration_type", &Record::calibration_type),
                           jb::field("calibration_path", &Record::calibration_path),
                           jb::field("indexes", &Record::indexes)));
    auto job = jb::bindJob<GetCalibrationDataJob>(calibration, "GetCalibrationDataJob",
                                                  "GetCalibrationDataParametersPy");
    addGetInit<std::string>(job);
    addGetInit<CalibrationTypesEnum>(job);
    job.def("get_data", &dataOf, "\n    ")
        .def("get_calibration_data_type", &GetCalibrationDataJob::getCalibrationDataType, "\n    ")
        .def("get_float_data", &GetCalibrationDataJob::getFloatData, "\n    ")
        .def("get_float_vector_data", &GetCalibrationDataJob::getFloatVectorData, "\n    ")
        .def("get_spectra_data", &GetCalibrationDataJob::getSpectraData, "\n    ")
        .def(
            "get_string_data", [](const GetCalibrationDataJob& self) { return dataText(self.getStringData()); },
            "\n    ");
}
