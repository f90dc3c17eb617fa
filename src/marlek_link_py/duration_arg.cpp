#include "marlek_link_py/duration_arg.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace py = pybind11;

namespace {

std::optional<std::chrono::milliseconds> fromMilliseconds(__int128 value)
{
    if (value > std::numeric_limits<std::int64_t>::max() || value < std::numeric_limits<std::int64_t>::min()) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(static_cast<std::int64_t>(value));
}

std::optional<std::chrono::milliseconds> fromSeconds(double seconds)
{
    const double milliseconds = std::trunc(seconds * 1000.0);
    // 2^63 is exactly representable; every double below it converts.
    constexpr double kTwoToThe63 = 9223372036854775808.0;
    if (!std::isfinite(milliseconds) || milliseconds >= kTwoToThe63 || milliseconds < -kTwoToThe63) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(static_cast<std::int64_t>(milliseconds));
}

} // namespace

std::chrono::milliseconds DurationArg::checked(const char* what, std::chrono::milliseconds lowest,
                                               std::chrono::milliseconds highest) const
{
    if (!milliseconds || *milliseconds < lowest || *milliseconds > highest) {
        throw py::value_error(std::string(what) + " must be a finite duration from " + std::to_string(lowest.count())
                              + " to " + std::to_string(highest.count()) + " ms");
    }
    return *milliseconds;
}

bool py::detail::type_caster<DurationArg>::load(handle source, bool)
{
    // Kept for the life of the process; never released after the interpreter ends.
    static const py::handle timedelta = py::object(py::module_::import("datetime").attr("timedelta")).release();
    if (py::isinstance(source, timedelta)) {
        const __int128 days = source.attr("days").cast<long long>();
        const __int128 seconds = source.attr("seconds").cast<long long>();
        const __int128 microseconds = source.attr("microseconds").cast<long long>();
        // Integer division truncates toward zero, as the conversion must.
        value.milliseconds = fromMilliseconds(((days * 86400 + seconds) * 1000000 + microseconds) / 1000);
        return true;
    }
    if (PyFloat_Check(source.ptr())) {
        value.milliseconds = fromSeconds(PyFloat_AsDouble(source.ptr()));
        return true;
    }
    return false;
}
