#pragma once

// The value of a hardware property as Python passes it. pybind11's stock
// variant conversion would turn anything with a truth value into the bool
// alternative (2**40, a numpy float, None), so the value has its own rule:
// bool only from bool and numpy bools; an int that fits 32 bits is an int,
// other ints and floats (numpy scalars included) a double; str is text;
// anything else is refused.

#include "marlek_link_py/named_type.hpp"

#include "marlek_link_json/jobs/control/hardware_property_value.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/typing.h>

#include <optional>
#include <string>

// The value that `source` stands for, or nothing when no alternative takes it.
std::optional<HardwarePropertyValue> hardwarePropertyValueFrom(pybind11::handle source);

// As hardwarePropertyValueFrom; TypeError when no alternative takes it.
HardwarePropertyValue hardwarePropertyValueOrThrow(pybind11::handle source);

// The held alternative as a Python bool, int, float or str.
using HardwarePropertyObject = pybind11::typing::Union<bool, int, double, std::string>;
// A value as the setters take it, checked by hardwarePropertyValueOrThrow.
using HardwarePropertyInput = NamedType<"bool | int | float | str">;
HardwarePropertyObject hardwarePropertyValueToPython(const HardwarePropertyValue& value);

// A constructor argument: an object that fits no alternative makes the
// overload not match.
struct HardwarePropertyArgument {
    HardwarePropertyValue value;
};

namespace pybind11::detail {

template <>
struct type_caster<HardwarePropertyArgument> {
    bool load(handle source, bool)
    {
        auto converted = hardwarePropertyValueFrom(source);
        if (!converted) {
            return false;
        }
        value.value = std::move(*converted);
        return true;
    }

    static handle cast(const HardwarePropertyArgument& source, return_value_policy, handle)
    {
        return hardwarePropertyValueToPython(source.value).release();
    }

    PYBIND11_TYPE_CASTER(HardwarePropertyArgument, io_name("bool | int | float | str", "bool | int | float | str"));
};

} // namespace pybind11::detail
