// init_eis_dataset_wrap and EisDataset: the result of an impedance
// measurement. Tracks and names cross as new Python values; the views of
// impedances, paths and potentiostats cross as handles that keep the dataset
// alive and go stale when the dataset is appended to (eis_view_ref.hpp).

#include "marlek_link_py/dataset_copy.hpp"
#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/eis_dataset_parts.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/recreate_job.hpp"

#include <pybind11/complex.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

using Dataset = std::shared_ptr<EisDataset>;

ImpedanceRef impedanceRef(const Dataset& dataset, const EisDataset::ImpedanceData& view)
{
    return ImpedanceRef::of(dataset, view, EisDataset::INVALID_IMPEDANCE_DATA);
}

PathRef pathRef(const Dataset& dataset, const EisDataset::PathData& view)
{
    return PathRef::of(dataset, view, EisDataset::INVALID_PATH);
}

PotentiostatRef potentiostatRef(const Dataset& dataset, const EisDataset::PotentiostatData& view)
{
    return PotentiostatRef::of(dataset, view, EisDataset::INVALID_POTENTIOSTAT);
}

template <typename Key, typename View, typename Ref>
std::map<Key, Ref> viewMap(const Dataset& dataset, const std::map<Key, View>& views, Ref (*toRef)(const Dataset&, const View&))
{
    std::map<Key, Ref> refs;
    for (const auto& [key, view] : views) {
        refs.emplace(key, toRef(dataset, view));
    }
    return refs;
}

// The dataset's views are rebuilt whatever the outcome, so every view
// fetched before goes stale. Appending a dataset to itself reads from a
// copy, which the rebuilding cannot touch.
bool appendEis(const Dataset& self, const EisDataset& other, double timeOffset)
{
    bool appended = false;
    if (self.get() == &other) {
        const EisDataset copy(other);
        appended = self->append(copy, timeOffset);
    } else {
        appended = self->append(other, timeOffset);
    }
    DatasetGenerations::advance(self.get());
    return appended;
}

void addConstants(py::class_<EisDataset, DataSet, Dataset>& cls)
{
    cls.def_property_readonly_static("EMPTY_TRACK", [](const py::object&) { return EisDataset::EMPTY_TRACK; })
        .def_property_readonly_static("EMPTY_COMPLEX_TRACK",
                                      [](const py::object&) { return EisDataset::EMPTY_COMPLEX_TRACK; })
        .def_property_readonly_static("EMPTY_SPECTRA", [](const py::object&) { return EisDataset::EMPTY_SPECTRA; })
        .def_property_readonly_static("EMPTY_TRACKWAVE", [](const py::object&) { return EisDataset::EMPTY_TRACKWAVE; })
        .def_property_readonly_static("INVALID_PATH",
                                      [](const py::object&) { return PathRef(EisDataset::INVALID_PATH); })
        .def_property_readonly_static(
            "INVALID_IMPEDANCE_DATA",
            [](const py::object&) { return ImpedanceRef(EisDataset::INVALID_IMPEDANCE_DATA); })
        .def_property_readonly_static(
            "INVALID_POTENTIOSTAT",
            [](const py::object&) { return PotentiostatRef(EisDataset::INVALID_POTENTIOSTAT); });
}

void addTracks(py::class_<EisDataset, DataSet, Dataset>& cls)
{
    cls.def("get_row_count", &EisDataset::getRowCount, MARLEK_DOC("Get the number of rows."))
        .def(
            "get_frequencies", [](const EisDataset& ds) { return ds.getFrequencies(); },
            MARLEK_DOC("Get the frequency of each row."))
        .def(
            "get_periods", [](const EisDataset& ds) { return ds.getPeriods(); },
            MARLEK_DOC("Get the number of periods of each row."))
        .def(
            "get_times", [](const EisDataset& ds) { return ds.getTimes(); },
            MARLEK_DOC("Get the relative start time of each row."))
        .def(
            "get_meta_data_header", [](const EisDataset& ds) { return ds.getMetaDataHeader(); },
            MARLEK_DOC("Get the column headers of the meta columns."))
        .def(
            "get_meta_column", [](const EisDataset& ds, std::size_t index) { return ds.getMetaColumn(index); },
            py::arg("index"), MARLEK_DOC("Get meta column `index`, or [] when there is none."))
        .def(
            "get_wave_ids", [](const EisDataset& ds) { return ds.getWaveIds(); },
            MARLEK_DOC("Get the wave id of each row (-1 for a row without a wave)."))
        .def(
            "get_wave_sizes", [](const EisDataset& ds) { return ds.getWaveSizes(); },
            MARLEK_DOC("Get the number of samples of each row's wave."))
        .def("get_wave_id_for_row", &EisDataset::getWaveIdForRow, py::arg("row"),
             MARLEK_DOC("Get the wave id of a row: -1 for none, the row itself without a wave id column."))
        .def(
            "get_wave_for_row",
            [](const EisDataset& ds, std::size_t pathIndex, std::size_t row) { return ds.getWaveForRow(pathIndex, row); },
            py::arg("path_index"), py::arg("row"),
            MARLEK_DOC("Get the wave of a synchronous path (by its place in the header) for a row, or []."))
        .def(
            "get_wave_for_row",
            [](const EisDataset& ds, const std::string& dimension, std::size_t row) {
                return ds.getWaveForRow(dimension, row);
            },
            py::arg("dimension"), py::arg("row"),
            MARLEK_DOC("Get the wave of a synchronous path (by its dimension name) for a row, or []."));
}

void addViews(py::class_<EisDataset, DataSet, Dataset>& cls)
{
    cls.def("get_impedances_dimensions", withDataText(&EisDataset::getImpedancesDimensions),
            MARLEK_DOC("Get the (numerator, denominator) dimensions of every impedance."))
        .def("get_impedances_names", withDataText(&EisDataset::getImpedancesNames),
             MARLEK_DOC("Get the name of every impedance."))
        .def(
            "get_impedance_data_by_name",
            [](const Dataset& ds, const std::string& name) { return impedanceRef(ds, ds->getImpedanceDataByName(name)); },
            py::arg("impedance_name"), MARLEK_DOC("Get the first impedance of this name."))
        .def(
            "get_impedances_data",
            withDataText(+[](const Dataset& ds) { return viewMap(ds, ds->getImpedancesData(), &impedanceRef); }),
            MARLEK_DOC("Get every impedance by (numerator, denominator) dimension."))
        .def(
            "get_impedance_data",
            [](const Dataset& ds, const std::string& numerator, const std::string& denominator) {
                return impedanceRef(ds, ds->getImpedanceData(numerator, denominator));
            },
            py::arg("numerator_dimension"), py::arg("denominator_dimension"),
            MARLEK_DOC("Get the impedance of exactly these dimensions."))
        .def(
            "get_impedance_data",
            [](const Dataset& ds, const std::string& dimension) {
                return impedanceRef(ds, ds->getImpedanceData(dimension));
            },
            py::arg("dimension"), MARLEK_DOC("Get the first impedance with this numerator or denominator."))
        .def(
            "get_impedance_data", [](const Dataset& ds) { return impedanceRef(ds, ds->getImpedanceData()); },
            MARLEK_DOC("Get the first impedance."))
        .def("get_paths_dimensions", withDataText(&EisDataset::getPathsDimensions),
             MARLEK_DOC("Get the dimension of every path."))
        .def(
            "get_paths_data",
            withDataText(+[](const Dataset& ds) { return viewMap(ds, ds->getPathsData(), &pathRef); }),
            MARLEK_DOC("Get every path by its dimension."))
        .def(
            "get_path_data",
            [](const Dataset& ds, const std::string& identifier) { return pathRef(ds, ds->getPathData(identifier)); },
            py::arg("identifier"), MARLEK_DOC("Get the path of this dimension."))
        .def("get_potentiostats_identifiers", withDataText(&EisDataset::getPotentiostatsIdentifiers),
             MARLEK_DOC("Get the identifier of every potentiostat."))
        .def(
            "get_potentiostats_data",
            withDataText(+[](const Dataset& ds) { return viewMap(ds, ds->getPotentiostatsData(), &potentiostatRef); }),
            MARLEK_DOC("Get every potentiostat by its identifier."))
        .def(
            "get_potentiostat_data", [](const Dataset& ds) { return potentiostatRef(ds, ds->getPotentiostatData()); },
            MARLEK_DOC("Get the first potentiostat."))
        .def(
            "get_potentiostat_data",
            [](const Dataset& ds, const std::string& identifier) {
                return potentiostatRef(ds, ds->getPotentiostatData(identifier));
            },
            py::arg("identifier"), MARLEK_DOC("Get the potentiostat with this identifier."));
}

} // namespace

void register_eis_dataset_class(py::module_& m)
{
    py::class_<EisDataset, DataSet, Dataset> cls(m, "EisDataset", MARLEK_DOC("Result of an impedance measurement."));
    addConstants(cls);
    cls.def(py::init<>());
    addTracks(cls);
    addViews(cls);
    cls.def("append", &appendEis, py::arg("to_append"), py::arg("time_offset") = 0.0,
            MARLEK_DOC("Append the rows of another EIS dataset with the same header; its times continue from\n"
                       "    the last time of this dataset plus time_offset. Views fetched before go stale."))
        .def("__copy__", &copyDataset<EisDataset>)
        .def("__deepcopy__", &deepCopyDataset<EisDataset>)
        .def("recreate_original_job", &recreateEisJob,
             MARLEK_DOC("Re-create the impedance job that produced the data; None when it cannot be built."));
}

void init_eis_dataset_wrap(py::module_& m)
{
    register_eis_header_classes(m);
    register_eis_view_classes(m);
    register_eis_dataset_class(m);
    register_eis_live_data_classes(m);
}
