// The headers of impedance data. A header is never changed through Python,
// so its path, impedance and potentiostat headers cross as views that keep
// it alive; their column lists cross as copies, like every column list.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/eis_dataset_parts.hpp"

#include "marlek_json_common/json_common/protocol/impedancedataheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_json_common/json_common/protocol/pathdataheader.hpp"
#include "marlek_json_common/json_common/protocol/potentiostatdataheader.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/typing.h>

#include <vector>

namespace py = pybind11;

namespace {

constexpr auto kView = py::return_value_policy::reference_internal;

void registerPathDataHeader(py::module_& m)
{
    py::class_<PathDataHeader>(m, "PathDataHeader", MARLEK_DOC("Header of one signal path of impedance data."))
        .def(
            "get_uri", withDataText(+[](const PathDataHeader& header) { return header.getUri(); }),
            MARLEK_DOC("Get the device address of the path."))
        .def(
            "get_name", withDataText(+[](const PathDataHeader& header) { return header.getName(); }),
            MARLEK_DOC("Get the dimension name of the path."))
        .def(
            "get_columns", [](const PathDataHeader& header) { return header.getColumns(); },
            MARLEK_DOC("Get the column headers of the path's values."))
        .def("get_polynomial", &PathDataHeader::getPolynomial, kView, MARLEK_DOC("Get the path's polynomial."))
        .def(
            "__eq__", [](const PathDataHeader& a, const PathDataHeader& b) { return a == b; },
            MARLEK_DOC("Equal when URI and columns are equal."));
}

void registerImpedanceDataHeader(py::module_& m)
{
    py::class_<ImpedanceDataHeader>(m, "ImpedanceDataHeader",
                                    MARLEK_DOC("Header of one impedance computed from two signal paths."))
        .def(
            "get_numerator_path",
            withDataText(+[](const ImpedanceDataHeader& header) { return header.getNumeratorPath(); }),
            MARLEK_DOC("Get the URI of the numerator path."))
        .def(
            "get_denominator_path",
            withDataText(+[](const ImpedanceDataHeader& header) { return header.getDenominatorPath(); }),
            MARLEK_DOC("Get the URI of the denominator path."))
        .def(
            "get_impedance_name",
            withDataText(+[](const ImpedanceDataHeader& header) { return header.getImpedanceName(); }),
            MARLEK_DOC("Get the name of the impedance."))
        .def(
            "get_columns", [](const ImpedanceDataHeader& header) { return header.getColumns(); },
            MARLEK_DOC("Get the column headers of the impedance's values."))
        .def(
            "__eq__", [](const ImpedanceDataHeader& a, const ImpedanceDataHeader& b) { return a == b; },
            MARLEK_DOC("Equal when numerator and denominator paths are equal."));
}

void registerPotentiostatDataHeader(py::module_& m)
{
    py::class_<PotentiostatDataHeader>(m, "PotentiostatDataHeader",
                                       MARLEK_DOC("Header of one potentiostat of impedance data."))
        .def(
            "get_uri", withDataText(+[](const PotentiostatDataHeader& header) { return header.uri; }),
            MARLEK_DOC("Get the device address of the potentiostat."))
        .def(
            "get_columns", [](const PotentiostatDataHeader& header) { return header.columns; },
            MARLEK_DOC("Get the column headers of the potentiostat's values."))
        .def(
            "get_polynomial", [](const PotentiostatDataHeader& header) -> const UserPolynomial& { return header.polynomial; },
            kView, MARLEK_DOC("Get the potentiostat's polynomial."))
        .def(
            "__eq__", [](const PotentiostatDataHeader& a, const PotentiostatDataHeader& b) { return a == b; },
            MARLEK_DOC("Equal when URI and columns are equal."));
}

template <typename Element>
py::typing::List<Element> viewsOf(const std::vector<Element>& elements, const py::handle& owner)
{
    py::typing::List<Element> views;
    for (const Element& element : elements) {
        views.append(py::cast(element, py::return_value_policy::reference_internal, owner));
    }
    return views;
}

void registerLiveDataHeaderEis(py::module_& m)
{
    py::class_<LiveDataHeaderEis, LiveDataHeader>(m, "LiveDataHeaderEis",
                                                  MARLEK_DOC("Header of impedance data."))
        .def(
            "get_impedances_headers",
            [](const py::object& self) { return viewsOf(self.cast<const LiveDataHeaderEis&>().getImpedances(), self); },
            MARLEK_DOC("Get the impedance headers."))
        .def(
            "get_paths_data_headers",
            [](const py::object& self) { return viewsOf(self.cast<const LiveDataHeaderEis&>().getPaths(), self); },
            MARLEK_DOC("Get the headers of the synchronous paths."))
        .def(
            "get_async_paths_data_headers",
            [](const py::object& self) { return viewsOf(self.cast<const LiveDataHeaderEis&>().getAsyncPaths(), self); },
            MARLEK_DOC("Get the headers of the asynchronous paths."))
        .def(
            "get_potentiostats_data_headers",
            [](const py::object& self) {
                return viewsOf(self.cast<const LiveDataHeaderEis&>().getPotentiostats(), self);
            },
            MARLEK_DOC("Get the potentiostat headers (PotentiostatDataHeader)."))
        .def(
            "get_meta_data_header",
            [](const LiveDataHeaderEis& header) { return header.getMetaColumns(); },
            MARLEK_DOC("Get the meta column headers."))
        .def(
            "__eq__", [](const LiveDataHeaderEis& a, const LiveDataHeaderEis& b) { return a == b; },
            py::is_operator(), MARLEK_DOC("Equal when the four header lists are equal; meta columns take no part."));
}

} // namespace

void register_eis_header_classes(py::module_& m)
{
    registerPathDataHeader(m);
    registerImpedanceDataHeader(m);
    registerLiveDataHeaderEis(m);
    registerPotentiostatDataHeader(m);
}
