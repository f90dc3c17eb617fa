#pragma once

// The binding definitions of the Python module, one per class family. The
// module body calls them in a fixed order: a class can name only an already
// registered class as its Python base.

#include <pybind11/pybind11.h>

// add and factorial, the module's two plain functions.
void init_test_functions(pybind11::module_& module);
// XmlFormatVersion, XmlSerializable, ImportedFile, MarlekFileInfo and
// Measurement, in the submodule xml.
void init_xml_wrap(pybind11::module_& xml);
// ExportOptions and MXmlExporter.
void init_xml_exporter_wrap(pybind11::module_& xml);
// MXmlImporter.
void init_xml_importer_wrap(pybind11::module_& xml);
// MarlekLink and the classes it takes or returns.
void init_link_job_wrap(pybind11::module_& module);
// The core enumerations and the TrackNames, UnitNames and
// MarlekLinkConnectionFlags constant holders.
void init_enums(pybind11::module_& module);
// ErrorParameter and ErrorObject.
void init_error_wrap(pybind11::module_& module);
// DatasetType, DatasetInfo, AbstractDataset, DataSet, LiveDataHeader and
// ColumnHeader.
void init_dataset_wrap(pybind11::module_& module);
// DcDataset.
void init_dc_dataset_wrap(pybind11::module_& module);
// The headers, views and live data of impedance data, and EisDataset.
void init_eis_dataset_wrap(pybind11::module_& module);
// MrbImporter, the reader of ".mrb" snapshot files.
void init_mrb_importer_wrap(pybind11::module_& module);
// The device tree: HardwareInfo, its paths, potentiostats, cards and ranges.
void init_hardware_info_wrap(pybind11::module_& module);
// SwitchOnInfo, JobOptions and JobInfo.
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
// GetHardwareInfoJob with its parameter class.
void init_hardware_info_job_wrap(pybind11::module_& control);
// PotentiostatState and GetPotentiostatStateJob.
void init_potentiostat_state_wrap(pybind11::module_& control);
// AdcStateInfo and the jobs from GetAdcStateJob to RebootJob.
void init_hardware_jobs_wrap(pybind11::module_& control);
// SetHardwareSettingsJob with its parameter class.
void init_set_hardware_settings_job_wrap(pybind11::module_& control);
// SetLedColorJob with its parameter class.
void init_led_color_wrap(pybind11::module_& control);
// The switch-on and switch-off jobs.
void init_switch_on_wrap(pybind11::module_& control);
// The jobs from SetActiveCurrentRangesJob to InitializeRtcJob.
void init_control_jobs_wrap(pybind11::module_& control);
// The hardware-property and date-time jobs.
void init_hardware_property_jobs_wrap(pybind11::module_& control);
// The impedance jobs: single-sine sweep and frequency table.
void init_eis_wrap(pybind11::module_& meas);
// The multisine impedance jobs.
void init_eis_multisine_wrap(pybind11::module_& meas);
// The galvanostatic impedance jobs.
void init_geis_va_wrap(pybind11::module_& meas);
// The nine DC measurement jobs with their parameter classes.
void init_dc_job_wrap(pybind11::module_& meas);
// The wave jobs: values in the job or in an uploaded file.
void init_wave_wrap(pybind11::module_& meas);
// The stop conditions of meas.stop.
void init_stop_conditions_wrap(pybind11::module_& stop);
// DiscoveredDevice and AutoDiscovery.
void init_discovery_wrap(pybind11::module_& module);
// CalibrateJob with its two parameter classes.
void init_calibrate_wrap(pybind11::module_& calibration);
// SetCalibrationDataJob with its parameter class.
void init_set_calibration_data_wrap(pybind11::module_& calibration);
// GetCalibrationDataJob with its parameter class.
void init_get_calibration_data_wrap(pybind11::module_& calibration);
// The mesh-file and filter-usage jobs, with FilterUsageMatrix.
void init_calibration_service_jobs_wrap(pybind11::module_& calibration);
