// ImpedanceData, PathData and PotentiostatData: read-only views of an
// impedance dataset. Tracks, names and spectra cross as new Python values;
// the impedances of a path cross as views that go stale with the path.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/eis_view_equality.hpp"
#include "marlek_link_py/eis_dataset_parts.hpp"

#include <pybind11/complex.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

template <typename Ref>
std::vector<std::string> trackNames(const Ref& ref)
{
    std::vector<std::string> names;
    for (const auto& entry : ref.get().getTracks()) {
        names.push_back(entry.first);
    }
    return names;
}

template <typename Ref>
std::map<std::string, std::vector<double>> tracks(const Ref& ref)
{
    std::map<std::string, std::vector<double>> copies;
    for (const auto& [name, track] : ref.get().getTracks()) {
        copies.emplace(name, track.get());
    }
    return copies;
}

template <typename Ref>
std::vector<double> track(const Ref& ref, const std::string& name)
{
    return ref.get().getTrack(name);
}

// The members every view has: its track names, its tracks by name and the
// lookup by name, also as indexing.
template <typename Ref>
void addTrackAccess(py::class_<Ref, std::shared_ptr<Ref>>& cls)
{
    cls.def("get_track_names", withDataText(&trackNames<Ref>),
            MARLEK_DOC("Get the names of all tracks, in ascending order."))
        .def("get_tracks", withDataText(&tracks<Ref>), MARLEK_DOC("Get every track by its name."));
}

template <typename Ref>
void addTrackLookup(py::class_<Ref, std::shared_ptr<Ref>>& cls)
{
    cls.def("get_track", &track<Ref>, py::arg("track_name"), MARLEK_DOC("Get the named track, or [] when absent."))
        .def("__getitem__", &track<Ref>, MARLEK_DOC("Get the named track, or [] when absent."));
}

template <typename Ref>
void addEquality(py::class_<Ref, std::shared_ptr<Ref>>& cls)
{
    cls.def(
        "__eq__", [](const Ref& a, const Ref& b) { return sameView(a.get(), b.get()); },
        MARLEK_DOC("Equal when the names and the tracks are equal."));
}

ImpedanceRef impedanceOfPath(const PathRef& path, const EisDataset::ImpedanceData& impedance)
{
    if (&impedance == &EisDataset::INVALID_IMPEDANCE_DATA) {
        return ImpedanceRef(EisDataset::INVALID_IMPEDANCE_DATA);
    }
    return ImpedanceRef(path, impedance);
}

void registerImpedanceData(py::module_& m)
{
    py::class_<ImpedanceRef, std::shared_ptr<ImpedanceRef>> cls(
        m, "ImpedanceData", MARLEK_DOC("The tracks of one impedance of an EIS dataset."));
    addTrackAccess(cls);
    addTrackLookup(cls);
    cls.def(
           "get_calculated_complex_impedance_track",
           [](const ImpedanceRef& ref) { return ref.get().getCalculatedComplexImpedanceTrack(); },
           MARLEK_DOC("Get the impedance of each row as a complex number, from magnitude and phase."))
        .def(
            "get_calculated_spectra", [](const ImpedanceRef& ref) { return ref.get().getCalculatedSpectra(); },
            MARLEK_DOC("Get the complex impedance by frequency; a repeated frequency keeps the later row."))
        .def(
            "get_numerator_dimension",
            withDataText(+[](const ImpedanceRef& ref) { return ref.get().getNumeratorDimension(); }),
            MARLEK_DOC("Get the dimension name of the numerator path."))
        .def(
            "get_denominator_dimension",
            withDataText(+[](const ImpedanceRef& ref) { return ref.get().getDenominatorDimension(); }),
            MARLEK_DOC("Get the dimension name of the denominator path."))
        .def(
            "get_impedance_name", withDataText(+[](const ImpedanceRef& ref) { return ref.get().getImpedanceName(); }),
            MARLEK_DOC("Get the name of the impedance."));
    addEquality(cls);
}

void registerPathData(py::module_& m)
{
    py::class_<PathRef, std::shared_ptr<PathRef>> cls(m, "PathData",
                                                      MARLEK_DOC("The tracks and waves of one signal path."));
    addTrackAccess(cls);
    cls.def(
        "get_dc_track", [](const PathRef& ref) { return ref.get().getDcTrack(); },
        MARLEK_DOC("Get the track named \"dc\", or [] when absent."));
    addTrackLookup(cls);
    cls.def(
           "get_waves", [](const PathRef& ref) { return ref.get().getWaves(); },
           MARLEK_DOC("Get the waves of the path, indexed by wave id."))
        .def(
            "get_impedances_data",
            withDataText(+[](const PathRef& ref) {
                std::map<EisDataset::ImpedanceKey, ImpedanceRef> views;
                for (const auto& [key, impedance] : ref.get().getImpedancesData()) {
                    views.emplace(key, ImpedanceRef(ref, impedance));
                }
                return views;
            }),
            MARLEK_DOC("Get the impedances of this path by (numerator, denominator) dimension."))
        .def(
            "get_impedance_data",
            [](const PathRef& ref, const std::string& dimension) {
                return impedanceOfPath(ref, ref.get().getImpedanceData(dimension));
            },
            py::arg("dimension"),
            MARLEK_DOC("Get the first impedance with this numerator or denominator dimension."))
        .def(
            "get_impedance_data", [](const PathRef& ref) { return impedanceOfPath(ref, ref.get().getImpedanceData()); },
            MARLEK_DOC("Get the first impedance of this path."))
        .def(
            "get_dimension", withDataText(+[](const PathRef& ref) { return ref.get().getDimension(); }),
            MARLEK_DOC("Get the dimension name of the path."));
    addEquality(cls);
}

void registerPotentiostatData(py::module_& m)
{
    py::class_<PotentiostatRef, std::shared_ptr<PotentiostatRef>> cls(
        m, "PotentiostatData", MARLEK_DOC("The tracks of one potentiostat of an EIS dataset."));
    addTrackAccess(cls);
    addTrackLookup(cls);
    cls.def(
        "get_identifier", withDataText(+[](const PotentiostatRef& ref) { return ref.get().getIdentifier(); }),
        MARLEK_DOC("Get the identifier of the potentiostat."));
    addEquality(cls);
}

} // namespace

void register_eis_view_classes(py::module_& m)
{
    registerImpedanceData(m);
    registerPathData(m);
    registerPotentiostatData(m);
}
