// ErrorParameter and ErrorObject: how the library's failure values look from
// Python. Parameters always cross as plain Python values; the class
// ErrorParameter only carries their two text functions.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_json_common/json_common/logging/error_parameter_text.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>
#include <variant>

namespace py = pybind11;

namespace {

std::string parameterRepr(const ErrorParameter& parameter)
{
    if (const auto* text = std::get_if<std::string>(&parameter)) {
        return "ErrorParameter(\"" + *text + "\")";
    }
    return "ErrorParameter(" + errorParameterText(parameter) + ")";
}

} // namespace

void init_error_wrap(py::module_& m)
{
    py::class_<ErrorParameter>(m, "ErrorParameter")
        .def("__str__", withDataText(&errorParameterText))
        .def("__repr__", withDataText(&parameterRepr));

    py::class_<ErrorObject>(m, "ErrorObject", MARLEK_DOC("Class which contains information about an error."))
        .def("get_error_code_enum", &ErrorObject::getErrorCodeEnum, MARLEK_DOC("Get the error code enum."))
        .def("get_message_format_string", withDataText(&ErrorObject::getMessageFormatString),
             MARLEK_DOC("Get the format string for the error message."))
        .def("get_message_parameters", withDataText(&ErrorObject::getMessageParameters),
             MARLEK_DOC("Get the parameters for formatting the error message."))
        // Messages come from the workstation too; one whose placeholders do
        // not fit its parameters reads as its format string.
        .def("get_message_formatted", withDataText(&ErrorFormatters::formatOrFallback),
             MARLEK_DOC("Get the formatted error message."))
        .def(
            "__eq__", [](const ErrorObject& self, const ErrorObject& other) { return self == other; },
            py::is_operator(), MARLEK_DOC("Compare two ErrorObject instances for equality."))
        .def(
            "__eq__",
            [](const ErrorObject& self, bool other) {
                return (self.getErrorCodeEnum() != ErrorCodeEnum::NONE) == other;
            },
            py::is_operator(),
            "\n    Compare ErrorObject with a boolean.\n\n"
            "    Allows patterns like ``error == False`` to check for success.\n")
        .def(
            "__ne__", [](const ErrorObject& self, const ErrorObject& other) { return !(self == other); },
            py::is_operator(), MARLEK_DOC("Compare two ErrorObject instances for inequality."))
        .def(
            "is_none", [](const ErrorObject& self) { return self.getErrorCodeEnum() == ErrorCodeEnum::NONE; },
            MARLEK_DOC("Check if the error code is NONE (no error)."))
        .def(
            "__bool__", [](const ErrorObject& self) { return self.getErrorCodeEnum() != ErrorCodeEnum::NONE; },
            "\n    Convert ErrorObject to boolean.\n\n    A failure is true, success (code NONE) is false.\n")
        .def("__str__", withDataText(&ErrorFormatters::formatOrFallback),
             MARLEK_DOC("Get string representation of the ErrorObject."));
}
