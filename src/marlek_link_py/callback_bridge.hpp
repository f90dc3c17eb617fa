#pragma once

// Python callables as the typed callbacks the core calls on its own threads.

#include <pybind11/pybind11.h>

#include <functional>
#include <memory>
#include <utility>

// One strong reference to a Python callable. Its last owner may let go on
// any thread: the reference is then released under the interpreter lock,
// which is taken if the thread does not hold it.
class PyCallableRef {
public:
    explicit PyCallableRef(pybind11::object callable) : callable(std::move(callable)) {}
    ~PyCallableRef();
    PyCallableRef(const PyCallableRef&) = delete;
    PyCallableRef& operator=(const PyCallableRef&) = delete;

    const pybind11::object& get() const { return callable; }

private:
    pybind11::object callable;
};

// Runs `convertAndCall` under the interpreter lock, taking it (and a thread
// state, on a thread of the core) for the call. Whatever Python raises in
// there is caught and discarded: nothing is printed, nothing stays pending
// and nothing reaches the core, which goes on as if the call had returned.
void callWithInterpreterLock(const std::function<void()>& convertAndCall);

// The callback wrapper: copyable without touching Python reference counts,
// since copies share one PyCallableRef; the core may copy and drop it on its
// own threads. Every argument reaches the callable as a new Python object.
template <typename... Args>
class PyCallback {
public:
    explicit PyCallback(pybind11::object callable) : callable(std::make_shared<PyCallableRef>(std::move(callable))) {}

    void operator()(Args... args) const
    {
        callWithInterpreterLock([&] { callable->get()(pybind11::cast(args, pybind11::return_value_policy::copy)...); });
    }

private:
    std::shared_ptr<const PyCallableRef> callable;
};
