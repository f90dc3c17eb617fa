#pragma once

#include <map>
#include <vector>

// Building blocks of the readers that rebuild an impedance dataset row by row
// from recorded live-data events. A row that does not have the shape of the
// columns is dropped (and "SIZE MISMATCH" is printed) rather than appended
// crooked.

// Appends row[i] to columns[i]; nothing unless the row has one value per
// column.
void appendArray(std::vector<std::vector<double>>& columns, const std::vector<double>& row);

// appendArray of group i with values[i]; nothing unless there is one value
// list per group. A group whose list does not fit is skipped on its own.
void appendArrayOfArrays(std::vector<std::vector<std::vector<double>>>& groups,
                         const std::vector<std::vector<double>>& values);

// Stores the row's waves (one per path) unless the wave its "wave_id" names
// is stored already, and returns the wave's index, or -1 for a row without a
// wave. Without a "wave_id" column (waveIdColumn -1) every row with a wave
// gets a new one. Paths the row has no wave for get an empty wave, so the
// index is the same on every path. A wave id that is not a finite number, or is negative,
// names no wave.
long long dedupWaves(std::vector<std::vector<std::vector<double>>>& waves,
                     const std::vector<std::vector<double>>& rowWaves, long long waveIdColumn,
                     const std::vector<double>& metaRow, std::map<long long, long long>& waveIndexByWaveId);

// Appends the meta row with its "wave_id" value replaced by the wave index.
void appendMetaWithWaveId(std::vector<std::vector<double>>& meta, const std::vector<double>& metaRow,
                          long long waveIdColumn, long long waveIndex);
