#include "marlek_link_py/xml_objects.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/measurement.hpp"

namespace py = pybind11;

namespace {

py::object datasetObject(const std::shared_ptr<DataSet>& dataset)
{
    if (auto dc = std::dynamic_pointer_cast<DcDataset>(dataset)) {
        return py::cast(std::move(dc));
    }
    if (auto eis = std::dynamic_pointer_cast<EisDataset>(dataset)) {
        return py::cast(std::move(eis));
    }
    return py::none();
}

py::object xmlObject(const std::shared_ptr<MXml::XmlSerializable>& object)
{
    if (auto measurement = std::dynamic_pointer_cast<MXml::Measurement>(object)) {
        return py::cast(std::move(measurement));
    }
    if (auto dataset = std::dynamic_pointer_cast<DataSet>(object)) {
        return datasetObject(dataset);
    }
    return py::none();
}

} // namespace

DatasetObject dataset_to_python(const std::shared_ptr<DataSet>& dataset)
{
    return declared<DatasetObject>(datasetObject(dataset));
}

XmlObject xml_object_to_python(const std::shared_ptr<MXml::XmlSerializable>& object)
{
    return declared<XmlObject>(xmlObject(object));
}
