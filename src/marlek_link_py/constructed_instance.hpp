#pragma once

// The C++ object behind an instance of a bound class, for the collector's
// slots, which may meet an instance whose __init__ has not run (or failed).

#include <pybind11/pybind11.h>

#include <typeinfo>

// Null unless the instance holds a constructed T (T being the class bound
// for the instance's type or one of its Python bases).
template <typename T>
T* constructedInstance(PyObject* self)
{
    const pybind11::detail::type_info* const type = pybind11::detail::get_type_info(typeid(T));
    if (type == nullptr) {
        return nullptr;
    }
    auto* const instance = reinterpret_cast<pybind11::detail::instance*>(self);
    const auto holder = instance->get_value_and_holder(type, /*throw_if_missing=*/false);
    if (!holder.inst || !holder.holder_constructed()) {
        return nullptr;
    }
    return holder.template value_ptr<T>();
}
