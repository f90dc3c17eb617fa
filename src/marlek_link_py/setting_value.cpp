#include "marlek_link_py/setting_value.hpp"

#include <cmath>
#include <locale>
#include <sstream>
#include <string_view>
#include <type_traits>
#include <variant>

namespace py = pybind11;

Setting settingFromValue(const py::handle& value)
{
    if (value.ptr() == Py_True || value.ptr() == Py_False) {
        return Setting(value.ptr() == Py_True);
    }
    if (PyLong_Check(value.ptr())) {
        return Setting(value.cast<int>());
    }
    if (PyFloat_Check(value.ptr())) {
        return Setting(value.cast<double>());
    }
    if (PyUnicode_Check(value.ptr())) {
        return Setting(std::string_view(value.cast<std::string>()));
    }
    return Setting(std::string_view(py::str(value).cast<std::string>()));
}

namespace {

std::string doubleText(double value)
{
    // The stream would write a negative NaN as "-nan".
    if (std::isnan(value)) {
        return "nan";
    }
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << value;
    return text.str();
}

} // namespace

std::string settingText(const Setting& setting)
{
    return std::visit(
        [](const auto& value) -> std::string {
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>) {
                return value ? "true" : "false";
            } else if constexpr (std::is_same_v<T, int>) {
                return std::to_string(value);
            } else if constexpr (std::is_same_v<T, double>) {
                return doubleText(value);
            } else {
                return value;
            }
        },
        setting.getValue());
}
