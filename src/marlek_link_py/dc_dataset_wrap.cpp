// init_dc_dataset_wrap: DcDataset. Tracks always cross as new Python lists;
// the header and the job information are views of the dataset. The parts
// of a joined dataset come out as copies, since an append may move the list
// they are stored in.

#include "marlek_link_py/dataset_copy.hpp"
#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/recreate_job.hpp"

#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

// A dataset that lacks the track of a column cannot be joined; the check
// comes before either dataset is touched.
void requireTrackPerColumn(const DcDataset& dataset)
{
    if (dataset.getTracks().size() < dataset.getHeader().getColumns().size()) {
        throw std::out_of_range("vector");
    }
}

bool appendDc(DcDataset& self, const DcDataset& other, double timeOffset)
{
    requireTrackPerColumn(self);
    requireTrackPerColumn(other);
    if (&self == &other) {
        const DcDataset copy(other);
        return self.append(copy, timeOffset);
    }
    return self.append(other, timeOffset);
}

std::map<std::string, std::vector<double>> dcTracks(const DcDataset& dataset)
{
    std::map<std::string, std::vector<double>> tracks;
    for (const auto& [dimension, track] : dataset.getDcTracks()) {
        tracks.emplace(dimension, track.get());
    }
    return tracks;
}

} // namespace

void init_dc_dataset_wrap(py::module_& m)
{
    py::class_<DcDataset, DataSet, std::shared_ptr<DcDataset>>(m, "DcDataset", MARLEK_DOC("Result of a DC measurement."))
        .def_property_readonly_static(
            "EMPTY_TRACK", [](const py::object&) { return DcDataset::EMPTY_TRACK; },
            MARLEK_DOC("the empty track returned for a dimension without a column"))
        .def(py::init<>())
        .def("get_dc_dimensions", withDataText(&DcDataset::getDcDimensions),
             MARLEK_DOC("Get the dimension name of each column that has a track, in column order."))
        .def("get_dc_tracks", withDataText(&dcTracks), MARLEK_DOC("Get every track by its dimension name."))
        .def(
            "get_dc_track", [](const DcDataset& dataset, const std::string& dimension) {
                return dataset.getDcTrack(dimension);
            },
            py::arg("dimension"), MARLEK_DOC("Get the track of the first column of this dimension, or []."))
        .def("get_header", &DcDataset::getHeader, py::return_value_policy::reference_internal,
             MARLEK_DOC("Get the header of the dataset."))
        .def(
            "get_tracks", [](const DcDataset& dataset) { return dataset.getTracks(); },
            MARLEK_DOC("Get every track, in column order."))
        .def("get_row_count", &DcDataset::getRowCount, MARLEK_DOC("Get the number of rows."))
        .def("index_of", &DcDataset::indexOf, py::arg("column_header"),
             MARLEK_DOC("Get the index of the first column equal to the given one, or -1."))
        .def("index_of_dimension", &DcDataset::indexOfDimension, py::arg("dimension_name"),
             MARLEK_DOC("Get the index of the first column with this dimension name, or -1."))
        .def("index_of_urn", &DcDataset::indexOfUrn, py::arg("urn"),
             MARLEK_DOC("Get the index of the first column with this URN, or -1."))
        .def("append", &appendDc, py::arg("to_append"), py::arg("time_offset") = 0.0,
             MARLEK_DOC("Append the rows of a consecutive DC measurement; its times continue from the last\n"
                        "    time of this dataset plus time_offset. An empty dataset becomes a copy instead."))
        .def(
            "get_included_datasets", [](const DcDataset& dataset) { return dataset.getIncludedDatasets(); },
            MARLEK_DOC("Get a copy of the summaries of the joined parts."))
        .def("__copy__", &copyDataset<DcDataset>)
        .def("__deepcopy__", &deepCopyDataset<DcDataset>)
        .def("recreate_original_job", &recreateDcJob,
             MARLEK_DOC("Re-create the DC job that produced the data; None when it cannot be built."));
}
