#pragma once

#include "support/job_with_id.hpp"

#include "fake_workstation/table_values.hpp"
#include "marlek_json_common/json_common/protocol/columnheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace eis_test {

using fake_workstation::littleEndian;
using fake_workstation::sameValues;
using fake_workstation::dimensionsOf;
using ::jobWithId;

using Column = std::vector<double>;
using Columns = std::vector<Column>;
using Groups = std::vector<Columns>;

inline const double NaN = std::numeric_limits<double>::quiet_NaN();
inline const double INF = std::numeric_limits<double>::infinity();

inline ColumnHeader column(std::string dimension, std::string unit = "")
{
    return ColumnHeader(std::move(dimension), std::move(unit), "");
}

inline ImpedanceDataHeader impedanceHeader(std::string numerator = "MAIN:1:U", std::string denominator = "MAIN:1:I",
                                           std::string name = "")
{
    return ImpedanceDataHeader(std::move(numerator), std::move(denominator),
                               {column("|impedance|", "\xE2\x84\xA6"), column("phase", "rad")}, std::move(name));
}

inline PathDataHeader pathHeader(std::string uri, std::string name)
{
    return PathDataHeader(std::move(uri), std::move(name), {column("dc", "V"), column("amplitude", "V")},
                          UserPolynomial());
}

inline PotentiostatDataHeader potentiostatHeader(std::string uri = "MAIN:1:POT")
{
    PotentiostatDataHeader header;
    header.uri = std::move(uri);
    header.columns = {column("dc", "V")};
    return header;
}

inline LiveDataHeaderEis eisHeader(std::vector<ColumnHeader> meta, std::vector<ImpedanceDataHeader> impedances,
                                   std::vector<PathDataHeader> paths, std::vector<PathDataHeader> asyncPaths = {},
                                   std::vector<PotentiostatDataHeader> potentiostats = {})
{
    return LiveDataHeaderEis("Electrochemical Impedance Spectroscopy", "EIS", std::move(meta), std::move(impedances),
                             std::move(paths), std::move(asyncPaths), std::move(potentiostats));
}

// Meta "frequency" and "time", one impedance U/I, the two paths it is made of
// and one potentiostat: the common shape of a potentiostatic run.
inline LiveDataHeaderEis standardHeader(std::vector<ColumnHeader> extraMeta = {})
{
    std::vector<ColumnHeader> meta = {column("frequency", "Hz"), column("time", "s")};
    meta.insert(meta.end(), extraMeta.begin(), extraMeta.end());
    return eisHeader(std::move(meta), {impedanceHeader()},
                     {pathHeader("MAIN:1:U", "voltage"), pathHeader("MAIN:1:I", "current")}, {},
                     {potentiostatHeader()});
}

struct EisData {
    Groups impedances;
    Groups paths;
    Groups pathWaves;
    Groups asyncPaths;
    Groups potentiostats;
    Columns meta;
};

inline EisDataset makeEis(LiveDataHeaderEis header, EisData data, std::string jobId = "job")
{
    return EisDataset(std::move(header), std::move(data.impedances), std::move(data.paths), std::move(data.pathWaves),
                      std::move(data.asyncPaths), std::move(data.potentiostats), std::move(data.meta),
                      jobWithId(std::move(jobId)));
}

// Three rows of the standard header, no waves.
inline EisData standardData()
{
    EisData data;
    data.meta = {{1000.0, 100.0, 10.0}, {0.5, 1.5, 2.5}};
    data.impedances = {{{10.0, 20.0, 30.0}, {0.0, -0.25, -0.5}}};
    data.paths = {{{0.1, 0.2, 0.3}, {0.01, 0.02, 0.03}}, {{1e-3, 2e-3, 3e-3}, {1e-4, 2e-4, 3e-4}}};
    data.potentiostats = {{{0.7, 0.8, 0.9}}};
    return data;
}

} // namespace eis_test
