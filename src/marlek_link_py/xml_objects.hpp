#pragma once

// What the file bindings share: the Python form of the objects the importers
// return, and of their value-or-error results.

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <pybind11/pybind11.h>

#include <expected>
#include <memory>
#include <utility>

namespace MXml {
class MarlekFileInfo;
class XmlSerializable;
} // namespace MXml
class DataSet;

// The object as its most-derived Python class (Measurement, DcDataset,
// EisDataset, MarlekFileInfo), sharing it; None for no object. The cast goes
// through the concrete class: a dataset's XmlSerializable part does not start
// where the dataset does.
pybind11::object xml_object_to_python(const std::shared_ptr<MXml::XmlSerializable>& object);
// A dataset as DcDataset or EisDataset, sharing it.
pybind11::object dataset_to_python(const std::shared_ptr<DataSet>& dataset);

// The value converted by `convert`, or the ErrorObject.
template <typename T, typename Convert>
pybind11::object value_or_error(std::expected<T, ErrorObject>&& result, Convert convert)
{
    if (result) {
        return convert(std::move(*result));
    }
    return pybind11::cast(std::move(result.error()));
}

// A new ImportedFile holding `object` and `info`.
pybind11::object imported_file_to_python(std::shared_ptr<MXml::XmlSerializable> object, MXml::MarlekFileInfo info);

// Measurement, the last class of init_xml_wrap.
void register_measurement(pybind11::module_& xml);
