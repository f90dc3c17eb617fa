#include "marlek_link_py/hardware_property_value_arg.hpp"

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace py = pybind11;

namespace {

// numpy's scalar types are recognised by name, so numpy need not be loaded.
std::string_view numpyScalarName(py::handle source)
{
    const std::string_view name = Py_TYPE(source.ptr())->tp_name;
    constexpr std::string_view prefix = "numpy.";
    return name.starts_with(prefix) ? name.substr(prefix.size()) : std::string_view();
}

bool isNumpyBool(std::string_view scalar)
{
    return scalar == "bool" || scalar == "bool_";
}

bool isNumpyInteger(std::string_view scalar)
{
    return scalar.starts_with("int") || scalar.starts_with("uint") || scalar == "longlong" || scalar == "ulonglong";
}

bool isNumpyFloat(std::string_view scalar)
{
    return scalar.starts_with("float") || scalar == "double" || scalar == "longdouble" || scalar == "half"
           || scalar == "single";
}

// An int (or an object with __index__) as an int when it fits 32 bits,
// otherwise as a double; nothing when it is too large even for a double.
std::optional<HardwarePropertyValue> integerValue(py::handle source)
{
    const py::object number = py::reinterpret_steal<py::object>(PyNumber_Index(source.ptr()));
    if (!number) {
        PyErr_Clear();
        return std::nullopt;
    }
    int overflow = 0;
    const long long whole = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
    if (overflow == 0 && !(whole == -1 && PyErr_Occurred()) && whole >= INT32_MIN && whole <= INT32_MAX) {
        return HardwarePropertyValue(static_cast<int>(whole));
    }
    PyErr_Clear();
    const double approximate = PyLong_AsDouble(number.ptr());
    if (approximate == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        return std::nullopt;
    }
    return HardwarePropertyValue(approximate);
}

std::optional<HardwarePropertyValue> floatValue(py::handle source)
{
    const double value = PyFloat_AsDouble(source.ptr());
    if (value == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        return std::nullopt;
    }
    return HardwarePropertyValue(value);
}

} // namespace

std::optional<HardwarePropertyValue> hardwarePropertyValueFrom(py::handle source)
{
    if (source.ptr() == Py_True || source.ptr() == Py_False) {
        return HardwarePropertyValue(source.ptr() == Py_True);
    }
    if (PyUnicode_Check(source.ptr())) {
        return HardwarePropertyValue(source.cast<std::string>());
    }
    if (PyLong_Check(source.ptr())) {
        return integerValue(source);
    }
    if (PyFloat_Check(source.ptr())) {
        return floatValue(source);
    }
    const std::string_view scalar = numpyScalarName(source);
    if (isNumpyBool(scalar)) {
        const int truth = PyObject_IsTrue(source.ptr());
        if (truth < 0) {
            PyErr_Clear();
            return std::nullopt;
        }
        return HardwarePropertyValue(truth == 1);
    }
    if (isNumpyInteger(scalar)) {
        return integerValue(source);
    }
    if (isNumpyFloat(scalar)) {
        return floatValue(source);
    }
    return std::nullopt;
}

HardwarePropertyValue hardwarePropertyValueOrThrow(py::handle source)
{
    auto value = hardwarePropertyValueFrom(source);
    if (!value) {
        throw py::type_error("a hardware property value must be a bool, int, float or str, not "
                             + py::str(py::type::handle_of(source).attr("__name__")).cast<std::string>());
    }
    return std::move(*value);
}

HardwarePropertyObject hardwarePropertyValueToPython(const HardwarePropertyValue& value)
{
    return declared<HardwarePropertyObject>(std::visit(
        [](const auto& held) -> py::object {
            using T = std::remove_cvref_t<decltype(held)>;
            if constexpr (std::is_same_v<T, bool>) {
                return py::bool_(held);
            } else if constexpr (std::is_same_v<T, int>) {
                return py::int_(held);
            } else if constexpr (std::is_same_v<T, double>) {
                return py::float_(held);
            } else {
                return py::str(held);
            }
        },
        value));
}
