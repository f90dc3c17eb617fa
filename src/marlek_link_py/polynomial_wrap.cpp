// init_polynomial_wrap: UserPolynomial, a calibration polynomial by its
// coefficients. The second constructor takes any sequence item by item, so
// that integers, bytes and other sequences of numbers work.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <utility>
#include <vector>

namespace py = pybind11;

void init_polynomial_wrap(py::module_& m)
{
    py::class_<UserPolynomial>(m, "UserPolynomial")
        .def(py::init([](std::vector<double> coefficients) { return UserPolynomial(std::move(coefficients)); }),
             py::arg("coefficients"),
             MARLEK_DOC("Calibration polynomial, coefficients in ascending order of power; an empty list\n"
                        "    gives the neutral polynomial [0.0, 1.0]."))
        .def(py::init([](const py::sequence& items) {
            std::vector<double> coefficients;
            const std::size_t count = items.size();
            coefficients.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                coefficients.push_back(py::cast<double>(items[i]));
            }
            return UserPolynomial(std::move(coefficients));
        }))
        .def("__lt__", &UserPolynomial::operator<, MARLEK_DOC("Compare the coefficients lexicographically."))
        .def_readwrite("coefficients", &UserPolynomial::coefficients, MARLEK_DOC("the coefficients"));
}
