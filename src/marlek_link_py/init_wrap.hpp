#pragma once

// The binding definitions of the Python module, one per class family. The
// module body calls them in a fixed order: a class can name only an already
// registered class as its Python base.

#include <pybind11/pybind11.h>

// add and factorial, the module's two plain functions.
void init_test_functions(pybind11::module_& module);
// MarlekLink and the classes it takes or returns.
void init_link_job_wrap(pybind11::module_& module);
// The core enumerations and the TrackNames, UnitNames and
// MarlekLinkConnectionFlags constant holders.
void init_enums(pybind11::module_& module);
// ErrorParameter and ErrorObject.
void init_error_wrap(pybind11::module_& module);
// The device tree: HardwareInfo, its paths, potentiostats, cards and ranges.
void init_hardware_info_wrap(pybind11::module_& module);
// JobOptions and JobInfo.
void init_job_info_wrap(pybind11::module_& module);
// HardwareSettings, UserPolynomial, Channel, ImpedanceConfiguration,
// Zmu4ImpedanceConfiguration, PotentiostatConfiguration, PotConnection and
// Zmu4Connection.
void init_hardware_settings_wrap(pybind11::module_& module);
// Setting and SettingsSet.
void init_settings_wrap(pybind11::module_& module);
// AbstractMeasurementJob, the Python base of every job class.
void init_abstract_measurement_job_wrap(pybind11::module_& module);
// UserHardwareSettings and HardwareSettingsHelper.
void init_user_hardware_settings_wrap(pybind11::module_& module);
