#pragma once

#include <utility>
#include <vector>

// One impedance row. Each list follows the order of the matching list of the
// impedance header; the meta values follow its meta columns, so a meta value
// is found by its column's dimension name, never by a fixed index.
class LiveDataRowEis {
public:
    LiveDataRowEis() = default;
    LiveDataRowEis(std::vector<std::vector<double>>&& impedances, std::vector<std::vector<double>>&& paths,
                   std::vector<std::vector<double>>&& pathsWaves, std::vector<std::vector<double>>&& asyncPaths,
                   std::vector<std::vector<double>>&& potentiostats, std::vector<double>&& meta)
        : impedances_(std::move(impedances)),
          paths_(std::move(paths)),
          pathsWaves_(std::move(pathsWaves)),
          asyncPaths_(std::move(asyncPaths)),
          potentiostats_(std::move(potentiostats)),
          meta_(std::move(meta))
    {
    }

    const std::vector<std::vector<double>>& getImpedances() const { return impedances_; }
    const std::vector<std::vector<double>>& getPaths() const { return paths_; }
    // A wave is sent once: only the first row with a given wave id carries its
    // samples, later rows with that id carry empty lists.
    const std::vector<std::vector<double>>& getPathsWaves() const { return pathsWaves_; }
    const std::vector<std::vector<double>>& getAsyncPaths() const { return asyncPaths_; }
    const std::vector<std::vector<double>>& getPotentiostats() const { return potentiostats_; }
    const std::vector<double>& getMeta() const { return meta_; }

    friend bool operator==(const LiveDataRowEis&, const LiveDataRowEis&) = default;

private:
    std::vector<std::vector<double>> impedances_;
    std::vector<std::vector<double>> paths_;
    std::vector<std::vector<double>> pathsWaves_;
    std::vector<std::vector<double>> asyncPaths_;
    std::vector<std::vector<double>> potentiostats_;
    std::vector<double> meta_;
};
