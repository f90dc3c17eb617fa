#include "marlek_link_py/callback_bridge.hpp"

namespace py = pybind11;

namespace {

// Items of a new list, set once each; on a failure the list, with the items
// set so far, is released by its owner.
PyObject* newList(std::size_t size)
{
    PyObject* list = PyList_New(static_cast<Py_ssize_t>(size));
    if (list == nullptr) {
        throw py::error_already_set();
    }
    return list;
}

} // namespace

PyCallableRef::~PyCallableRef()
{
    // Nobody else can clear it now.
    if (!callable) {
        return;
    }
    const InterpreterLock lock(InterpreterLock::ThreadState::ForThisScope);
    if (!lock) {
        // The interpreter is closing: its own teardown frees the object.
        callable.release();
        return;
    }
    callable = py::object();
}

void PyCallableRef::clear()
{
    // Emptied before the object goes: letting go of it may run code that
    // comes back here.
    const py::object dropped = std::move(callable);
}

int PyCallableRef::traverse(visitproc visit, void* arg) const
{
    return callable ? visit(callable.ptr(), arg) : 0;
}

py::object toPython(const std::vector<std::vector<double>>& rows)
{
    const auto list = py::reinterpret_steal<py::object>(newList(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<double>& values = rows[r];
        PyObject* const row = newList(values.size());
        PyList_SET_ITEM(list.ptr(), static_cast<Py_ssize_t>(r), row);
        for (std::size_t v = 0; v < values.size(); ++v) {
            PyObject* const value = PyFloat_FromDouble(values[v]);
            if (value == nullptr) {
                throw py::error_already_set();
            }
            PyList_SET_ITEM(row, static_cast<Py_ssize_t>(v), value);
        }
    }
    return list;
}

void reportCallbackError(const py::object& callable, py::error_already_set& error)
{
    error.discard_as_unraisable(callable);
}

void reportCallbackError(const py::object& callable, const std::exception& error)
{
    PyErr_SetString(PyExc_RuntimeError, error.what());
    PyErr_WriteUnraisable(callable.ptr());
}
