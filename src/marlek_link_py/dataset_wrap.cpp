// init_dataset_wrap: what every dataset shares (its kind, its summary, the
// abstract interface and the base class) and the two header classes of DC
// data. Column lists come out as copies: a dataset's header may be replaced
// by an append, and a column held by a script must not point into it.

#include "marlek_link_py/bool_valued_enum.hpp"
#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_json_common/json_common/protocol/columnheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_link_json/jobs/dataset/abstract_dataset.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/jobs/dataset/dataset_info.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

void registerDatasetType(py::module_& m)
{
    BoolValuedEnum<DatasetType>(m, "DatasetType", "enum.Enum", "Kind of a dataset: DC or impedance (AC).")
        .value("DC", DatasetType::DC)
        .value("AC", DatasetType::AC)
        .finalize();
}

void registerDatasetInfo(py::module_& m)
{
    py::class_<DatasetInfo>(m, "DatasetInfo", MARLEK_DOC("Summary of a dataset or of one part of a joined dataset."))
        .def(py::init<>())
        .def_readwrite("type", &DatasetInfo::type, MARLEK_DOC("kind of the dataset"))
        .def_property("job_type", dataTextField(&DatasetInfo::job_type), textFieldSetter(&DatasetInfo::job_type),
                      MARLEK_DOC("measurement type of the dataset"))
        .def_property("job_type_short", dataTextField(&DatasetInfo::job_type_short),
                      textFieldSetter(&DatasetInfo::job_type_short), MARLEK_DOC("short measurement type"))
        .def_readwrite("num_rows", &DatasetInfo::num_rows, MARLEK_DOC("number of rows"))
        .def_readwrite("first_time_value", &DatasetInfo::first_time_value,
                       MARLEK_DOC("first value of the time track"))
        .def_readwrite("jobInfo", &DatasetInfo::jobInfo, MARLEK_DOC("job information of the producing job"));
}

void registerDatasetBases(py::module_& m)
{
    py::class_<AbstractDataset, std::shared_ptr<AbstractDataset>>(m, "AbstractDataset",
                                                                   MARLEK_DOC("Interface of every dataset."))
        .def("get_job_info", &AbstractDataset::getJobInfo, py::return_value_policy::reference_internal,
             MARLEK_DOC("Get the job information of the job that produced the data."))
        .def("get_row_count", &AbstractDataset::getRowCount, MARLEK_DOC("Get the number of rows."))
        .def("get_info", &AbstractDataset::getInfo, MARLEK_DOC("Get a summary of the dataset."));

    // XmlSerializable, registered with the submodule xml, makes every dataset
    // an argument of the exporter.
    py::class_<DataSet, AbstractDataset, MXml::XmlSerializable, std::shared_ptr<DataSet>>(
        m, "DataSet", MARLEK_DOC("Base class of DC and EIS datasets."))
        .def("get_job_info", &DataSet::getJobInfo, py::return_value_policy::reference_internal,
             MARLEK_DOC("Get the job information of the job that produced the data."));
}

void registerHeaders(py::module_& m)
{
    py::class_<LiveDataHeader>(m, "LiveDataHeader", MARLEK_DOC("Header of DC data: measurement type and columns."))
        .def(
            "get_type", withDataText(+[](const LiveDataHeader& header) { return header.getMeasurementType(); }),
            MARLEK_DOC("Get the measurement type."))
        .def(
            "get_short_type",
            withDataText(+[](const LiveDataHeader& header) { return header.getShortMeasurementType(); }),
            MARLEK_DOC("Get the short measurement type."))
        .def(
            "get_columns", [](const LiveDataHeader& header) { return header.getColumns(); },
            MARLEK_DOC("Get the column headers, in column order."))
        .def(
            "get_number_of_columns", [](const LiveDataHeader& header) { return header.getColumns().size(); },
            MARLEK_DOC("Get the number of columns."))
        .def(
            "__eq__", [](const LiveDataHeader& a, const LiveDataHeader& b) { return a == b; }, py::is_operator(),
            MARLEK_DOC("Equal when the columns are equal, in order; the types take no part."));

    py::class_<ColumnHeader>(m, "ColumnHeader", MARLEK_DOC("One column: dimension, unit and URN."))
        .def(
            "get_unit",
            withDataText(+[](const ColumnHeader& column) { return column.unit; }), MARLEK_DOC("Get the unit."))
        .def(
            "get_dimension", withDataText(+[](const ColumnHeader& column) { return column.dimension; }),
            MARLEK_DOC("Get the dimension name."))
        .def(
            "get_urn", withDataText(+[](const ColumnHeader& column) { return column.urn; }), MARLEK_DOC("Get the URN."))
        .def(
            "__eq__", [](const ColumnHeader& a, const ColumnHeader& b) { return a == b; }, py::is_operator(),
            MARLEK_DOC("Equal when dimension, unit and URN are equal."));
}

} // namespace

void init_dataset_wrap(py::module_& m)
{
    registerDatasetType(m);
    registerDatasetInfo(m);
    registerDatasetBases(m);
    registerHeaders(m);
}
