// LiveDataRowEis and LiveDataWavesEis: the live data of an impedance job as
// the callbacks receive them, each an owned copy of the core record.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/eis_dataset_parts.hpp"

#include "marlek_link_json/jobs/ac/live_data/livedataroweis.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

namespace py = pybind11;

void register_eis_live_data_classes(py::module_& m)
{
    constexpr auto kCopy = py::return_value_policy::reference_internal;

    py::class_<LiveDataRowEis>(m, "LiveDataRowEis", MARLEK_DOC("One measured point of a running impedance job."))
        .def("get_impedances", &LiveDataRowEis::getImpedances, kCopy, MARLEK_DOC("Get the values per impedance."))
        .def("get_paths", &LiveDataRowEis::getPaths, kCopy, MARLEK_DOC("Get the values per synchronous path."))
        .def("get_paths_waves", &LiveDataRowEis::getPathsWaves, kCopy,
             MARLEK_DOC("Get the wave per synchronous path; empty lists when the wave came with an earlier row."))
        .def("get_async_paths", &LiveDataRowEis::getAsyncPaths, kCopy,
             MARLEK_DOC("Get the values per asynchronous path."))
        .def("get_potentiostats", &LiveDataRowEis::getPotentiostats, kCopy,
             MARLEK_DOC("Get the values per potentiostat."))
        .def("get_meta", &LiveDataRowEis::getMeta, kCopy, MARLEK_DOC("Get the meta values, one per meta column."));

    py::class_<LiveDataWavesEis>(m, "LiveDataWavesEis",
                                 MARLEK_DOC("A fragment of the waves being recorded, one list per synchronous path:\n"
                                            "    the samples from get_offset() on, of a complete wave of\n"
                                            "    get_full_wave_size() samples. Sent for display only."))
        .def("get_waves", &LiveDataWavesEis::getWaves, kCopy, MARLEK_DOC("Get the fragment, one list per path."))
        .def("get_offset", &LiveDataWavesEis::getOffset,
             MARLEK_DOC("Get the index of the fragment's first sample in the complete wave (0 when not sent)."))
        .def("get_full_wave_size", &LiveDataWavesEis::getFullWaveSize,
             MARLEK_DOC("Get the number of samples of the complete wave (0 when not sent)."));
}
