#pragma once

// A native enum.Enum for a two-valued C++ enumeration whose members Python
// reads as flags: their values are False and True, not the integers 0 and 1.
// The enumeration's own type is unchanged; conversions both ways still go
// through its underlying integer, which False and True equal.

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>

template <typename EnumType>
class BoolValuedEnum : public pybind11::native_enum<EnumType> {
public:
    using pybind11::native_enum<EnumType>::native_enum;

    BoolValuedEnum& value(const char* name, EnumType value)
    {
        pybind11::native_enum<EnumType>::value(name, value);
        this->members[this->members.size() - 1] = pybind11::make_tuple(name, pybind11::bool_(value != EnumType{}));
        return *this;
    }
};
