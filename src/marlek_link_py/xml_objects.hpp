#pragma once

// What the file bindings share: the Python form of the objects the importers
// return, and of their value-or-error results, each under the union of the
// classes it can be.

#include "marlek_link_py/named_type.hpp"

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/typing.h>

#include <expected>
#include <memory>
#include <utility>

namespace MXml {
class Measurement;
class XmlSerializable;
} // namespace MXml
class DataSet;
class DcDataset;
class EisDataset;

// A dataset as its Python class.
using DatasetObject = pybind11::typing::Union<DcDataset, EisDataset>;
// What a file holds, as its Python class.
using XmlObject = pybind11::typing::Union<MXml::Measurement, DcDataset, EisDataset>;
// A result, or the ErrorObject that tells why there is none.
template <typename T>
using OrError = pybind11::typing::Union<T, ErrorObject>;

// The object as its most-derived Python class, sharing it. The importers
// make no other kinds; anything else would be None. The cast goes through the
// concrete class: a dataset's XmlSerializable part does not start where the
// dataset does.
XmlObject xml_object_to_python(const std::shared_ptr<MXml::XmlSerializable>& object);
// A dataset as DcDataset or EisDataset, sharing it.
DatasetObject dataset_to_python(const std::shared_ptr<DataSet>& dataset);

// The value converted by `convert`, or the ErrorObject, declared as one of
// the classes of `Declared` or an ErrorObject.
template <typename Declared, typename T, typename Convert>
OrError<Declared> value_or_error(std::expected<T, ErrorObject>&& result, Convert convert)
{
    if (result) {
        return declared<OrError<Declared>>(convert(std::move(*result)));
    }
    return declared<OrError<Declared>>(pybind11::cast(std::move(result.error())));
}

// Measurement, the last class of init_xml_wrap.
void register_measurement(pybind11::module_& xml);
