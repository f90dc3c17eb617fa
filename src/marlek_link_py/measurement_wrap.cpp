// Measurement: the hardware description of a workstation with the DC and
// impedance datasets it measured, the payload of a measurement file. Datasets
// given to a constructor are shared, appended ones are copied; the hardware
// description is always copied in and out.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/xml_objects.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/measurement.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <optional>

namespace py = pybind11;

namespace {

using MXml::Measurement;

// The holder conversion lets None through as an empty owner; a measurement
// must never hold an entry without a dataset.
template <typename Dataset>
std::shared_ptr<Dataset> requireDataset(std::shared_ptr<Dataset> dataset)
{
    if (!dataset) {
        throw py::type_error("Measurement: dataset must be a DcDataset or an EisDataset, not None");
    }
    return dataset;
}

template <typename Dataset>
std::shared_ptr<Measurement> withDataset(std::optional<HardwareInfo> info, std::shared_ptr<Dataset> dataset)
{
    auto measurement = std::make_shared<Measurement>();
    measurement->setHardwareInfo(std::move(info));
    measurement->appendDataset(requireDataset(std::move(dataset)));
    return measurement;
}

template <typename Dataset>
void appendCopy(Measurement& measurement, const Dataset& dataset)
{
    measurement.appendDataset(std::make_shared<Dataset>(dataset));
}

py::typing::List<DatasetObject> datasetsOf(const Measurement& measurement)
{
    py::typing::List<DatasetObject> datasets;
    for (const auto& dataset : measurement.getDatasets()) {
        datasets.append(dataset_to_python(dataset));
    }
    return datasets;
}

} // namespace

void register_measurement(py::module_& xml)
{
    py::class_<Measurement, MXml::XmlSerializable, std::shared_ptr<Measurement>>(
        xml, "Measurement", MARLEK_DOC("Hardware description and datasets of one measurement."))
        .def(py::init<>(), MARLEK_DOC("An empty measurement: no datasets, no hardware description."))
        .def(py::init([](const HardwareInfo& info) {
                 auto measurement = std::make_shared<Measurement>();
                 measurement->setHardwareInfo(info);
                 return measurement;
             }),
             py::arg("hardware_info"), MARLEK_DOC("A measurement with a copy of the hardware description."))
        .def(py::init([](std::shared_ptr<EisDataset> dataset) {
                 return withDataset(std::nullopt, std::move(dataset));
             }),
             py::arg("dataset"), MARLEK_DOC("A measurement sharing the dataset as its only entry."))
        .def(py::init([](std::shared_ptr<DcDataset> dataset) {
                 return withDataset(std::nullopt, std::move(dataset));
             }),
             py::arg("dataset"))
        .def(py::init([](const HardwareInfo& info, std::shared_ptr<EisDataset> dataset) {
                 return withDataset(info, std::move(dataset));
             }),
             py::arg("hardware_info"), py::arg("dataset"))
        .def(py::init([](const HardwareInfo& info, std::shared_ptr<DcDataset> dataset) {
                 return withDataset(info, std::move(dataset));
             }),
             py::arg("hardware_info"), py::arg("dataset"))
        .def("append_dataset", &appendCopy<EisDataset>, py::arg("dataset"),
             MARLEK_DOC("Append an independent copy of the dataset."))
        .def("append_dataset", &appendCopy<DcDataset>, py::arg("dataset"))
        .def("get_datasets", &datasetsOf, MARLEK_DOC("The measurement's own datasets, in order."))
        .def(
            "set_hardware_info",
            [](Measurement& measurement, const HardwareInfo& info) { measurement.setHardwareInfo(info); },
            py::arg("hardware_info"), MARLEK_DOC("Replace the hardware description by a copy."))
        .def(
            "get_hardware_info", [](const Measurement& measurement) { return measurement.getHardwareInfo(); },
            MARLEK_DOC("A copy of the hardware description, or None."));
}
