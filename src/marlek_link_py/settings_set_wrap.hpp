#pragma once

#include <pybind11/pybind11.h>

// SettingsSet and its iterator; init_settings_wrap calls it after Setting.
void register_settings_set(pybind11::module_& module);
