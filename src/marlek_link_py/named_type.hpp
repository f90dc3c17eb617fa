#pragma once

// Any Python object, shown in signatures under the given type text. For
// types that pybind11 cannot name itself: typing.Any, a class of the standard
// library, and classes that the module registers only after the function
// that returns them, which pybind11 would show under their C++ names (a
// template's name says nothing to a Python reader).

#include <pybind11/pybind11.h>
#include <pybind11/typing.h>

namespace named_type_detail {
inline int acceptsAnything(PyObject*)
{
    return 1;
}
} // namespace named_type_detail

template <pybind11::typing::StringLiteral Name>
class NamedType : public pybind11::object {
    PYBIND11_OBJECT_DEFAULT(NamedType, object, named_type_detail::acceptsAnything)
};

// A value of any type, where every type is accepted or possible.
using AnyValue = NamedType<"typing.Any">;
// The memo argument of __deepcopy__, as copy.deepcopy passes it.
using DeepCopyMemo = pybind11::typing::Dict<pybind11::int_, AnyValue>;

// `value` as it is, under a declared result type (py::typing::Union and the
// like): no check runs, and nothing else changes.
template <typename Declared>
Declared declared(pybind11::object value)
{
    return pybind11::reinterpret_steal<Declared>(value.release());
}

namespace pybind11::detail {

template <typing::StringLiteral Name>
struct handle_type_name<NamedType<Name>> {
    static constexpr auto name = const_name(Name.name);
};

} // namespace pybind11::detail
