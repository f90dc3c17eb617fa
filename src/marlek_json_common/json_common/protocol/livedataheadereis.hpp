#pragma once

#include "marlek_json_common/json_common/protocol/impedancedataheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_json_common/json_common/protocol/pathdataheader.hpp"
#include "marlek_json_common/json_common/protocol/potentiostatdataheader.hpp"

#include <string>
#include <utility>
#include <vector>

// Layout of an impedance measurement. The base's columns are the meta
// columns (per-row values such as frequency, periods and time).
class LiveDataHeaderEis : public LiveDataHeader {
public:
    LiveDataHeaderEis() = default;
    LiveDataHeaderEis(std::string measurementType, std::string shortMeasurementType,
                      std::vector<ColumnHeader> metaColumns, std::vector<ImpedanceDataHeader> impedances,
                      std::vector<PathDataHeader> paths, std::vector<PathDataHeader> asyncPaths,
                      std::vector<PotentiostatDataHeader> potentiostats)
        : LiveDataHeader(std::move(measurementType), std::move(shortMeasurementType), std::move(metaColumns)),
          impedances_(std::move(impedances)),
          paths_(std::move(paths)),
          asyncPaths_(std::move(asyncPaths)),
          potentiostats_(std::move(potentiostats))
    {
    }
    ~LiveDataHeaderEis() override = default;

    LiveDataHeaderEis(const LiveDataHeaderEis&) = default;
    LiveDataHeaderEis(LiveDataHeaderEis&&) = default;
    LiveDataHeaderEis& operator=(const LiveDataHeaderEis&) = default;
    LiveDataHeaderEis& operator=(LiveDataHeaderEis&&) = default;

    const std::vector<ColumnHeader>& getMetaColumns() const { return getColumns(); }
    const std::vector<ImpedanceDataHeader>& getImpedances() const { return impedances_; }
    // Synchronously sampled paths.
    const std::vector<PathDataHeader>& getPaths() const { return paths_; }
    // Asynchronously sampled paths.
    const std::vector<PathDataHeader>& getAsyncPaths() const { return asyncPaths_; }
    const std::vector<PotentiostatDataHeader>& getPotentiostats() const { return potentiostats_; }

    // Decides whether two impedance datasets can be joined: the four lists
    // must match entry by entry; type texts and meta columns take no part.
    friend bool operator==(const LiveDataHeaderEis& a, const LiveDataHeaderEis& b)
    {
        return a.impedances_ == b.impedances_ && a.paths_ == b.paths_ && a.asyncPaths_ == b.asyncPaths_
               && a.potentiostats_ == b.potentiostats_;
    }

private:
    std::vector<ImpedanceDataHeader> impedances_;
    std::vector<PathDataHeader> paths_;
    std::vector<PathDataHeader> asyncPaths_;
    std::vector<PotentiostatDataHeader> potentiostats_;
};
