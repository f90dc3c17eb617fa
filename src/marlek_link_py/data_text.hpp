#pragma once

// Text that comes from data (files, the workstation, messages that quote
// either) reaches Python as str even when its bytes are not UTF-8: a bad
// byte becomes U+FFFD, and nothing else about the value changes. pybind11's
// own conversion would raise UnicodeDecodeError from an ordinary getter.
//
// withDataText(getter) adapts a getter (a member function or a capture-free
// function) so that its result, strings inside containers included, converts
// this way; the documented signature stays that of the plain result.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

pybind11::str dataText(std::string_view text);

// Strings, and the containers of them that getters return, as Python values;
// anything else as pybind11 converts a copy of it. All declared first, so
// that each finds the others for the elements of a container.
template <typename T>
pybind11::object dataToPython(const T& value);
template <typename T>
pybind11::object dataToPython(const std::vector<T>& values);
template <typename A, typename B>
pybind11::object dataToPython(const std::pair<A, B>& pair);
template <typename K, typename V, typename Less>
pybind11::object dataToPython(const std::map<K, V, Less>& map);
template <typename... Alternatives>
pybind11::object dataToPython(const std::variant<Alternatives...>& value);

template <typename T>
pybind11::object dataToPython(const std::vector<T>& values)
{
    pybind11::list list;
    for (const auto& value : values) {
        list.append(dataToPython(value));
    }
    return list;
}

template <typename A, typename B>
pybind11::object dataToPython(const std::pair<A, B>& pair)
{
    return pybind11::make_tuple(dataToPython(pair.first), dataToPython(pair.second));
}

template <typename K, typename V, typename Less>
pybind11::object dataToPython(const std::map<K, V, Less>& map)
{
    pybind11::dict dict;
    for (const auto& [key, value] : map) {
        dict[dataToPython(key)] = dataToPython(value);
    }
    return dict;
}

template <typename... Alternatives>
pybind11::object dataToPython(const std::variant<Alternatives...>& value)
{
    return std::visit([](const auto& alternative) { return dataToPython(alternative); }, value);
}

template <typename T>
pybind11::object dataToPython(const T& value)
{
    if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        return dataText(value);
    } else {
        return pybind11::cast(value, pybind11::return_value_policy::copy);
    }
}

// A getter's result on its way to Python.
template <typename T>
struct DataText {
    T value;
};

namespace pybind11::detail {

template <typename T>
struct type_caster<DataText<T>> {
    static constexpr auto name = make_caster<T>::name;

    static handle cast(const DataText<T>& text, return_value_policy, handle)
    {
        return dataToPython(text.value).release();
    }
};

} // namespace pybind11::detail

template <typename R, typename C, typename... A>
auto withDataText(R (C::*getter)(A...) const)
{
    return [getter](const C& self, A... arguments) {
        return DataText<std::remove_cvref_t<R>>{std::invoke(getter, self, std::forward<A>(arguments)...)};
    };
}

template <typename R, typename... A>
auto withDataText(R (*getter)(A...))
{
    return [getter](A... arguments) { return DataText<std::remove_cvref_t<R>>{getter(std::forward<A>(arguments)...)}; };
}

// A text member as a read-write property: read as above, written as given.
template <typename C>
auto dataTextField(std::string C::*field)
{
    return [field](const C& self) { return DataText<std::string>{self.*field}; };
}

template <typename C>
auto textFieldSetter(std::string C::*field)
{
    return [field](C& self, std::string text) { self.*field = std::move(text); };
}
