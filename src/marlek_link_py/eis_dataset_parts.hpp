#pragma once

// The pieces of init_eis_dataset_wrap, each in a file of its own, and the
// view handles they share.

#include "marlek_link_py/eis_view_ref.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include <pybind11/pybind11.h>

using ImpedanceRef = EisViewRef<EisDataset::ImpedanceData>;
using PathRef = EisViewRef<EisDataset::PathData>;
using PotentiostatRef = EisViewRef<EisDataset::PotentiostatData>;

// PathDataHeader, ImpedanceDataHeader, LiveDataHeaderEis and
// PotentiostatDataHeader.
void register_eis_header_classes(pybind11::module_& module);
// ImpedanceData, PathData and PotentiostatData.
void register_eis_view_classes(pybind11::module_& module);
// EisDataset.
void register_eis_dataset_class(pybind11::module_& module);
// LiveDataRowEis and LiveDataWavesEis.
void register_eis_live_data_classes(pybind11::module_& module);
