// add and factorial: two plain functions that show the binding works.

#include "marlek_link_py/init_wrap.hpp"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <limits>

namespace py = pybind11;

namespace {

std::int32_t add(std::int32_t a, std::int32_t b)
{
    // Two's-complement wrap at the ends of the range, without signed overflow.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

double factorial(double x)
{
    if (!(x >= 2.0)) {
        return 1.0;
    }
    // 171! overflows a double; above it (and for +inf, where the factor would
    // never pass x) the loop would only run long or forever under the
    // interpreter lock.
    if (x >= 171.0) {
        return std::numeric_limits<double>::infinity();
    }
    double product = 1.0;
    for (int repetition = 0; repetition < 100000; ++repetition) {
        product = 1.0;
        for (double factor = 2.0; factor <= x; factor += 1.0) {
            product *= factor;
        }
    }
    return product;
}

} // namespace

void init_test_functions(py::module_& m)
{
    m.def("add", &add, "\n    add function to test the binding of c++ and python\n");
    m.def("factorial", &factorial, "\n    factorial function to test the binding of c++ and python\n");
}
