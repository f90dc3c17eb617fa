// Setting: one workstation setting with the outcome of its last update.
//
// The constructor decides the kind by the Python type alone, in the same way
// in both of pybind11's overload passes: only a bool (or a numpy bool) is
// BOOL, only an integer within 32 bits is INT, and only a non-integral number
// is DOUBLE, so that a large int or None never turns into a boolean.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/named_type.hpp"
#include "marlek_link_py/setting_value.hpp"
#include "marlek_link_py/settings_set_wrap.hpp"

#include "marlek_link_json/jobs/control/settings/setting.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string_view>

namespace py = pybind11;

namespace {

struct ExactBool {
    bool value = false;
};
struct Int32Index {
    int value = 0;
};
struct RealNumber {
    double value = 0.0;
};

bool isNumpyBool(PyObject* object)
{
    const char* name = Py_TYPE(object)->tp_name;
    return std::strcmp(name, "numpy.bool") == 0 || std::strcmp(name, "numpy.bool_") == 0;
}

bool isText(PyObject* object)
{
    return PyUnicode_Check(object) || PyBytes_Check(object) || PyByteArray_Check(object);
}

} // namespace

namespace pybind11::detail {

template <>
struct type_caster<ExactBool> {
    PYBIND11_TYPE_CASTER(ExactBool, const_name("bool"));

    bool load(handle source, bool)
    {
        if (!PyBool_Check(source.ptr()) && !isNumpyBool(source.ptr())) {
            return false;
        }
        const int truth = PyObject_IsTrue(source.ptr());
        if (truth < 0) {
            PyErr_Clear();
            return false;
        }
        value.value = truth != 0;
        return true;
    }

    static handle cast(const ExactBool& source, return_value_policy, handle)
    {
        return bool_(source.value).release();
    }
};

template <>
struct type_caster<Int32Index> {
    PYBIND11_TYPE_CASTER(Int32Index, const_name("int"));

    bool load(handle source, bool)
    {
        if (PyFloat_Check(source.ptr()) || !PyIndex_Check(source.ptr())) {
            return false;
        }
        const object index = reinterpret_steal<object>(PyNumber_Index(source.ptr()));
        if (!index) {
            PyErr_Clear();
            return false;
        }
        int overflow = 0;
        const long long number = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
        if (overflow != 0 || number < INT_MIN || number > INT_MAX) {
            return false;
        }
        value.value = static_cast<int>(number);
        return true;
    }

    static handle cast(const Int32Index& source, return_value_policy, handle)
    {
        return int_(source.value).release();
    }
};

template <>
struct type_caster<RealNumber> {
    PYBIND11_TYPE_CASTER(RealNumber, const_name("float"));

    // A float, or a number that is no integer (numpy floats, Decimal,
    // Fraction); integers belong to the INT overload alone.
    bool load(handle source, bool)
    {
        PyObject* object = source.ptr();
        const PyNumberMethods* number = Py_TYPE(object)->tp_as_number;
        const bool real = PyFloat_Check(object) ||
                          (!PyIndex_Check(object) && !isText(object) && number && number->nb_float);
        if (!real) {
            return false;
        }
        const double converted = PyFloat_AsDouble(object);
        if (converted == -1.0 && PyErr_Occurred()) {
            PyErr_Clear();
            return false;
        }
        value.value = converted;
        return true;
    }

    static handle cast(const RealNumber& source, return_value_policy, handle)
    {
        return float_(source.value).release();
    }
};

} // namespace pybind11::detail

namespace {

using SettingClass = py::class_<Setting, std::shared_ptr<Setting>>;

void addConstructors(SettingClass& cls)
{
    cls.def(py::init<>(), "\n    Create an uninitialized setting, which holds the boolean false.\n")
        .def(py::init([](std::string_view text) { return Setting(text); }), py::arg("value"),
             "\n    Create a text setting.\n")
        .def(py::init([](ExactBool value) { return Setting(value.value); }), py::arg("value"),
             "\n    Create a boolean setting.\n")
        .def(py::init([](Int32Index value) { return Setting(value.value); }), py::arg("value"),
             "\n    Create an integer setting (signed 32 bits).\n")
        .def(py::init([](RealNumber value) { return Setting(value.value); }), py::arg("value"),
             "\n    Create a floating point setting.\n");
}

void addAssignments(SettingClass& cls)
{
    constexpr auto self = py::return_value_policy::reference_internal;
    cls.def(
           "assign_string", [](Setting& setting, std::string_view text) -> Setting& { return setting = text; },
           py::arg("value"), self, "\n    Set a text value.\n\n    :returns: this setting\n")
        .def(
            "assign_bool", [](Setting& setting, bool value) -> Setting& { return setting = value; },
            py::arg("value"), self, "\n    Set a boolean value.\n\n    :returns: this setting\n")
        .def(
            "assign_int", [](Setting& setting, int value) -> Setting& { return setting = value; }, py::arg("value"),
            self, "\n    Set an integer value (signed 32 bits).\n\n    :returns: this setting\n")
        .def(
            "assign_double", [](Setting& setting, double value) -> Setting& { return setting = value; },
            py::arg("value"), self, "\n    Set a floating point value.\n\n    :returns: this setting\n");
}

void addReaders(SettingClass& cls)
{
    cls.def("get_type", &Setting::getType, "\n    The kind of value the setting holds.\n")
        .def("get_string_value", withDataText(&Setting::getStringValue),
             "\n    The text value; raises RuntimeError when the setting holds another kind.\n")
        .def("get_bool_value", &Setting::getBoolValue,
             "\n    The boolean value; raises RuntimeError when the setting holds another kind.\n")
        .def("get_int_value", &Setting::getIntValue,
             "\n    The integer value; raises RuntimeError when the setting holds another kind.\n")
        .def("get_double_value", &Setting::getDoubleValue,
             "\n    The floating point value; raises RuntimeError when the setting holds another kind.\n")
        .def("as_string", withDataText(&settingText), "\n    The value as text.\n")
        .def("successfully_updated", &Setting::successfullyUpdated,
             "\n    Whether the workstation accepted the setting at the last update.\n")
        .def("get_update_failure_reason", &Setting::getUpdateFailureReason,
             "\n    Why the workstation refused the setting; code NONE when it never did.\n")
        .def("__str__", withDataText(&settingText))
        .def("__copy__", [](const Setting& setting) { return Setting(setting); })
        .def(
            "__deepcopy__", [](const Setting& setting, const DeepCopyMemo&) { return Setting(setting); },
            py::arg("memo"));
}

} // namespace

void init_settings_wrap(py::module_& m)
{
    SettingClass cls(m, "Setting", "\n    One workstation setting with the outcome of its last update.\n");
    addConstructors(cls);
    addAssignments(cls);
    addReaders(cls);
    register_settings_set(m);
}
