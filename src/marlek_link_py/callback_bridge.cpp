#include "marlek_link_py/callback_bridge.hpp"

#include <exception>

namespace py = pybind11;

PyCallableRef::~PyCallableRef()
{
    // At interpreter shutdown the lock can no longer be taken; the object is
    // left to the interpreter's own teardown.
    if (Py_IsFinalizing()) {
        callable.release();
        return;
    }
    py::gil_scoped_acquire gil;
    callable = py::object();
}

void callWithInterpreterLock(const std::function<void()>& convertAndCall)
{
    if (Py_IsFinalizing()) {
        return;
    }
    py::gil_scoped_acquire gil;
    try {
        convertAndCall();
    } catch (py::error_already_set&) {
        // The exception's objects are released here, with the lock held.
    } catch (const std::exception&) {
        // A conversion that failed on the C++ side of the binding layer.
    }
    PyErr_Clear();
}
