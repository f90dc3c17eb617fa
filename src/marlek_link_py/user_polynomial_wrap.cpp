// UserPolynomial: a calibration polynomial given by its coefficients.

#include "marlek_link_py/hardware_settings_parts.hpp"

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <vector>

namespace py = pybind11;

namespace {

// Any sequence, item by item; a bytes object gives its byte values.
UserPolynomial fromSequence(const py::sequence& items)
{
    std::vector<double> values;
    values.reserve(items.size());
    for (std::size_t index = 0; index < items.size(); ++index) {
        values.push_back(items[index].cast<double>());
    }
    return UserPolynomial(std::move(values));
}

} // namespace

void register_user_polynomial(py::module_& m)
{
    py::class_<UserPolynomial>(m, "UserPolynomial")
        .def(py::init([](std::vector<double> coefficients) { return UserPolynomial(std::move(coefficients)); }),
             py::arg("coefficients"),
             "\n    Create a polynomial from its coefficients, lowest power first.\n\n"
             "    An empty list gives the neutral polynomial [0.0, 1.0].\n")
        .def(py::init(&fromSequence), py::arg("coefficients"), py::pos_only())
        .def(
            "__lt__", [](const UserPolynomial& self, const UserPolynomial& other) { return self < other; },
            "whether the coefficients compare lexicographically less")
        .def_readwrite("coefficients", &UserPolynomial::coefficients, "coefficients, lowest power first");
}
