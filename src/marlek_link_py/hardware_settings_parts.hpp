#pragma once

// The pieces of init_hardware_settings_wrap that live in files of their own.

#include <pybind11/pybind11.h>

// UserPolynomial.
void register_user_polynomial(pybind11::module_& module);
// PotentiostatConfiguration, PotConnection and Zmu4Connection.
void register_connection_classes(pybind11::module_& module);
