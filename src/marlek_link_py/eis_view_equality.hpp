#pragma once

// Equality of the views of impedance datasets: same names and equal values.
// The impedance name and the frequencies take no part; a NaN value never
// compares equal.

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

bool sameView(const EisDataset::ImpedanceData& a, const EisDataset::ImpedanceData& b);
bool sameView(const EisDataset::PathData& a, const EisDataset::PathData& b);
bool sameView(const EisDataset::PotentiostatData& a, const EisDataset::PotentiostatData& b);
