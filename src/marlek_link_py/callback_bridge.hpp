#pragma once

// Python callables as the typed callbacks the core calls on its own threads.

#include "marlek_link_py/interpreter_entry.hpp"

#include <pybind11/pybind11.h>

#include <array>
#include <cstddef>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

// One strong reference to a Python callable. Its last owner may let go on
// any thread: the reference is then released under the interpreter lock,
// which is taken if the thread does not hold it.
//
// The collector sees the reference through the one Python object that owns
// this (the handler object, or the link for its status callback): it may
// clear it to break a cycle, and a call then finds nothing to call. Every
// member function but the destructor needs the interpreter lock.
class PyCallableRef {
public:
    explicit PyCallableRef(pybind11::object callable) : callable(std::move(callable)) {}
    ~PyCallableRef();
    PyCallableRef(const PyCallableRef&) = delete;
    PyCallableRef& operator=(const PyCallableRef&) = delete;

    // Empty once cleared.
    pybind11::object get() const { return callable; }
    void clear();
    int traverse(visitproc visit, void* arg) const;

private:
    pybind11::object callable;
};

// A callback's argument as a new Python object, which owns a copy.
template <typename T>
pybind11::object toPython(const T& value)
{
    return pybind11::cast(value, pybind11::return_value_policy::copy);
}

// DC live rows, the most frequent argument: a list of lists of float, made
// straight from the rows.
pybind11::object toPython(const std::vector<std::vector<double>>& rows);

// Hands the exception being raised in a callback to sys.unraisablehook, with
// the callable as the object it concerns: the way Python reports an
// exception that has nowhere to propagate to. Under the interpreter lock.
void reportCallbackError(const pybind11::object& callable, pybind11::error_already_set& error);
void reportCallbackError(const pybind11::object& callable, const std::exception& error);

// Calls `convertAndCall` with the callable, under the interpreter lock (see
// InterpreterLock): nothing when the interpreter is closing or the
// reference has been cleared. Whatever Python raises in there is reported,
// once; nothing stays pending and nothing reaches the core, which goes on as
// if the call had returned.
template <typename ConvertAndCall>
void callWithInterpreterLock(const PyCallableRef& reference, ConvertAndCall&& convertAndCall)
{
    const InterpreterLock lock(InterpreterLock::ThreadState::KeptByThread);
    if (!lock) {
        return;
    }
    // A reference of the call's own: the call may drop every other one.
    const pybind11::object callable = reference.get();
    if (!callable) {
        return;
    }
    try {
        convertAndCall(callable);
    } catch (pybind11::error_already_set& error) {
        reportCallbackError(callable, error);
    } catch (const std::exception& error) {
        // A conversion that failed on the C++ side of the binding layer.
        reportCallbackError(callable, error);
    }
}

// The callback wrapper: copyable without touching Python reference counts,
// since copies share one PyCallableRef; the core may copy and drop it on its
// own threads. Every argument reaches the callable as a new Python object.
template <typename... Args>
class PyCallback {
public:
    explicit PyCallback(std::shared_ptr<PyCallableRef> callable) : callable(std::move(callable)) {}

    void operator()(Args... args) const
    {
        callWithInterpreterLock(*callable, [&](const pybind11::object& target) {
            // Converted in parameter order.
            const std::array<pybind11::object, sizeof...(Args)> objects{toPython(args)...};
            std::array<PyObject*, sizeof...(Args)> arguments{};
            for (std::size_t i = 0; i < objects.size(); ++i) {
                arguments[i] = objects[i].ptr();
            }
            const auto result = pybind11::reinterpret_steal<pybind11::object>(
                PyObject_Vectorcall(target.ptr(), arguments.data(), arguments.size(), nullptr));
            if (!result) {
                throw pybind11::error_already_set();
            }
        });
    }

private:
    std::shared_ptr<PyCallableRef> callable;
};
