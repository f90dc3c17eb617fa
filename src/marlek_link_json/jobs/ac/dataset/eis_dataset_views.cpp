#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include "marlek_link_json/jobs/ac/dataset/polar_impedance.hpp"
#include "marlek_link_json/jobs/dataset/track_names.hpp"

#include <cstddef>
#include <utility>

// Defined in this order in one unit: the invalid views refer to the empty
// tracks.
const std::vector<double> EisDataset::EMPTY_TRACK;
const std::vector<std::complex<double>> EisDataset::EMPTY_COMPLEX_TRACK;
const std::map<double, std::complex<double>> EisDataset::EMPTY_SPECTRA;
const std::vector<std::vector<double>> EisDataset::EMPTY_TRACKWAVE;
const EisDataset::PathData EisDataset::INVALID_PATH("", {}, EisDataset::EMPTY_TRACKWAVE, {});
const EisDataset::ImpedanceData EisDataset::INVALID_IMPEDANCE_DATA("", "", {}, EisDataset::EMPTY_TRACK, "");
const EisDataset::PotentiostatData EisDataset::INVALID_POTENTIOSTAT("", {});

namespace {

const std::vector<double>& trackIn(const EisDataset::TrackMap& tracks, const std::string& name)
{
    const auto found = tracks.find(name);
    return found == tracks.end() ? EisDataset::EMPTY_TRACK : found->second.get();
}

template <typename Predicate>
const EisDataset::ImpedanceData& firstImpedanceWhere(
    const std::map<EisDataset::ImpedanceKey, EisDataset::ImpedanceData>& impedances, Predicate predicate)
{
    for (const auto& [key, data] : impedances) {
        if (predicate(key, data)) {
            return data;
        }
    }
    return EisDataset::INVALID_IMPEDANCE_DATA;
}

const EisDataset::ImpedanceData& firstImpedanceWith(
    const std::map<EisDataset::ImpedanceKey, EisDataset::ImpedanceData>& impedances, const std::string& dimension)
{
    return firstImpedanceWhere(impedances, [&](const EisDataset::ImpedanceKey& key, const auto&) {
        return key.first == dimension || key.second == dimension;
    });
}

// The track map of object `object` of one kind. A column header listed twice
// maps to the first column equal to it, and a dimension is kept once.
EisDataset::TrackMap tracksOf(const std::vector<ColumnHeader>& columns,
                              const std::vector<std::vector<std::vector<double>>>& objects, std::size_t object)
{
    EisDataset::TrackMap tracks;
    for (const ColumnHeader& column : columns) {
        const auto first = static_cast<std::size_t>(EisDataset::indexOf(columns, column));
        const bool present = object < objects.size() && first < objects[object].size();
        tracks.emplace(column.dimension, present ? objects[object][first] : EisDataset::EMPTY_TRACK);
    }
    return tracks;
}

} // namespace

EisDataset::ImpedanceData::ImpedanceData(const std::string& numeratorDimension,
                                         const std::string& denominatorDimension, TrackMap&& tracks,
                                         const std::vector<double>& frequencies, const std::string& impedanceName)
    : numeratorDimension(numeratorDimension),
      denominatorDimension(denominatorDimension),
      impedanceName(impedanceName),
      tracks(std::move(tracks)),
      frequencies(frequencies)
{
}

const std::vector<double>& EisDataset::ImpedanceData::getTrack(const std::string& name) const
{
    return trackIn(tracks, name);
}

std::vector<std::complex<double>> EisDataset::ImpedanceData::getCalculatedComplexImpedanceTrack() const
{
    const std::vector<double>& phases = getTrack(TrackNames::PHASE);
    const std::vector<double>& magnitudes = getTrack(TrackNames::IMPEDANCE_ABSOLUTE);
    std::vector<std::complex<double>> result;
    if (phases.empty() || magnitudes.size() != phases.size()) {
        return result;
    }
    result.reserve(magnitudes.size());
    for (std::size_t k = 0; k < magnitudes.size(); ++k) {
        result.push_back(polarImpedance(magnitudes[k], phases[k]));
    }
    return result;
}

std::map<double, std::complex<double>> EisDataset::ImpedanceData::getCalculatedSpectra() const
{
    std::map<double, std::complex<double>> spectra = EMPTY_SPECTRA;
    const std::vector<std::complex<double>> complexTrack = getCalculatedComplexImpedanceTrack();
    const std::vector<double>& frequencyTrack = getFrequencies();
    if (complexTrack.empty() || complexTrack.size() != frequencyTrack.size()) {
        return spectra;
    }
    for (std::size_t k = 0; k < complexTrack.size(); ++k) {
        spectra[frequencyTrack[k]] = complexTrack[k];
    }
    return spectra;
}

EisDataset::PathData::PathData(const std::string& dimension, TrackMap&& tracks,
                               const std::vector<std::vector<double>>& waves,
                               std::map<ImpedanceKey, ImpedanceData>&& impedances)
    : dimension(dimension), tracks(std::move(tracks)), waves(waves), impedances(std::move(impedances))
{
}

const std::vector<double>& EisDataset::PathData::getTrack(const std::string& name) const
{
    return trackIn(tracks, name);
}

const std::vector<double>& EisDataset::PathData::getDcTrack() const
{
    return trackIn(tracks, TrackNames::DC);
}

const EisDataset::ImpedanceData& EisDataset::PathData::getImpedanceData(const std::string& dimension) const
{
    return firstImpedanceWith(impedances, dimension);
}

const EisDataset::ImpedanceData& EisDataset::PathData::getImpedanceData() const
{
    return impedances.empty() ? INVALID_IMPEDANCE_DATA : impedances.begin()->second;
}

EisDataset::PotentiostatData::PotentiostatData(const std::string& identifier, TrackMap&& tracks)
    : identifier(identifier), tracks(std::move(tracks))
{
}

const std::vector<double>& EisDataset::PotentiostatData::getTrack(const std::string& name) const
{
    return trackIn(tracks, name);
}

// The order of the steps and the first-wins insertions decide which view a
// duplicate URI, name or impedance pair keeps.
void EisDataset::createHelperObjects()
{
    pathsData.clear();
    potentiostatsData.clear();
    impedancesData.clear();

    std::map<std::string, std::string> nameByUri;
    for (const auto& path : header.getPaths()) {
        nameByUri.emplace(path.getUri(), path.getName());
    }
    for (const auto& path : header.getAsyncPaths()) {
        nameByUri.emplace(path.getUri(), path.getName());
    }
    const auto nameOf = [&](const std::string& uri) -> const std::string& {
        const auto found = nameByUri.find(uri);
        return found == nameByUri.end() ? uri : found->second;
    };
    const std::vector<double>& frequencies = getFrequencies();

    std::vector<std::pair<ImpedanceKey, ImpedanceData>> impedanceViews;
    const auto& impedanceHeaders = header.getImpedances();
    impedanceViews.reserve(impedanceHeaders.size());
    for (std::size_t t = 0; t < impedanceHeaders.size(); ++t) {
        const auto& impedance = impedanceHeaders[t];
        const std::string& numerator = nameOf(impedance.getNumeratorPath());
        const std::string& denominator = nameOf(impedance.getDenominatorPath());
        impedanceViews.emplace_back(ImpedanceKey(numerator, denominator),
                                    ImpedanceData(numerator, denominator,
                                                  tracksOf(impedance.getColumns(), impedances, t), frequencies,
                                                  impedance.getImpedanceName()));
        impedancesData.emplace(impedanceViews.back());
    }

    const auto& potentiostatHeaders = header.getPotentiostats();
    for (std::size_t t = 0; t < potentiostatHeaders.size(); ++t) {
        const auto& potentiostat = potentiostatHeaders[t];
        potentiostatsData.emplace(potentiostat.uri,
                                  PotentiostatData(potentiostat.uri, tracksOf(potentiostat.columns, potentiostats, t)));
    }

    const auto& pathHeaders = header.getPaths();
    for (std::size_t t = 0; t < pathHeaders.size(); ++t) {
        const auto& path = pathHeaders[t];
        std::map<ImpedanceKey, ImpedanceData> pathImpedances;
        for (const auto& [key, view] : impedanceViews) {
            if (key.first == path.getName() || key.second == path.getName()) {
                pathImpedances.emplace(key, view);
            }
        }
        const auto& waves = t < pathWaves.size() ? pathWaves[t] : EMPTY_TRACKWAVE;
        pathsData.emplace(path.getName(), PathData(path.getName(), tracksOf(path.getColumns(), paths, t), waves,
                                                   std::move(pathImpedances)));
    }

    const auto& asyncHeaders = header.getAsyncPaths();
    for (std::size_t t = 0; t < asyncHeaders.size(); ++t) {
        const std::string& key = nameOf(asyncHeaders[t].getUri());
        if (!pathsData.contains(key)) {
            pathsData.emplace(key, PathData(key, tracksOf(asyncHeaders[t].getColumns(), asyncPaths, t),
                                            EMPTY_TRACKWAVE, {}));
        }
    }
}

const std::map<std::string, EisDataset::PathData>& EisDataset::getPathsData() const
{
    return pathsData;
}

std::vector<std::string> EisDataset::getPathsDimensions() const
{
    std::vector<std::string> names;
    names.reserve(pathsData.size());
    for (const auto& entry : pathsData) {
        names.push_back(entry.first);
    }
    return names;
}

const EisDataset::PathData& EisDataset::getPathData(const std::string& name) const
{
    const auto found = pathsData.find(name);
    return found == pathsData.end() ? INVALID_PATH : found->second;
}

const std::map<std::string, EisDataset::PotentiostatData>& EisDataset::getPotentiostatsData() const
{
    return potentiostatsData;
}

std::vector<std::string> EisDataset::getPotentiostatsIdentifiers() const
{
    std::vector<std::string> identifiers;
    identifiers.reserve(potentiostatsData.size());
    for (const auto& entry : potentiostatsData) {
        identifiers.push_back(entry.first);
    }
    return identifiers;
}

const EisDataset::PotentiostatData& EisDataset::getPotentiostatData() const
{
    return potentiostatsData.empty() ? INVALID_POTENTIOSTAT : potentiostatsData.begin()->second;
}

const EisDataset::PotentiostatData& EisDataset::getPotentiostatData(const std::string& identifier) const
{
    const auto found = potentiostatsData.find(identifier);
    return found == potentiostatsData.end() ? INVALID_POTENTIOSTAT : found->second;
}

const std::map<EisDataset::ImpedanceKey, EisDataset::ImpedanceData>& EisDataset::getImpedancesData() const
{
    return impedancesData;
}

std::vector<EisDataset::ImpedanceKey> EisDataset::getImpedancesDimensions() const
{
    std::vector<ImpedanceKey> keys;
    keys.reserve(impedancesData.size());
    for (const auto& entry : impedancesData) {
        keys.push_back(entry.first);
    }
    return keys;
}

std::vector<std::string> EisDataset::getImpedancesNames() const
{
    std::vector<std::string> names;
    names.reserve(impedancesData.size());
    for (const auto& entry : impedancesData) {
        names.push_back(entry.second.getImpedanceName());
    }
    return names;
}

const EisDataset::ImpedanceData& EisDataset::getImpedanceData() const
{
    return impedancesData.empty() ? INVALID_IMPEDANCE_DATA : impedancesData.begin()->second;
}

const EisDataset::ImpedanceData& EisDataset::getImpedanceData(const std::string& numerator,
                                                              const std::string& denominator) const
{
    const auto found = impedancesData.find(ImpedanceKey(numerator, denominator));
    return found == impedancesData.end() ? INVALID_IMPEDANCE_DATA : found->second;
}

const EisDataset::ImpedanceData& EisDataset::getImpedanceData(const std::string& dimension) const
{
    return firstImpedanceWith(impedancesData, dimension);
}

const EisDataset::ImpedanceData& EisDataset::getImpedanceDataByName(const std::string& name) const
{
    return firstImpedanceWhere(impedancesData,
                               [&](const ImpedanceKey&, const ImpedanceData& data) { return data.getImpedanceName() == name; });
}
