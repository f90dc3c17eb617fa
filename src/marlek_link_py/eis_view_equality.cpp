#include "marlek_link_py/eis_view_equality.hpp"

#include <algorithm>

namespace {

bool sameTracks(const EisDataset::TrackMap& a, const EisDataset::TrackMap& b)
{
    return std::ranges::equal(a, b, [](const auto& x, const auto& y) {
        return x.first == y.first && x.second.get() == y.second.get();
    });
}

} // namespace

bool sameView(const EisDataset::ImpedanceData& a, const EisDataset::ImpedanceData& b)
{
    return a.getNumeratorDimension() == b.getNumeratorDimension() &&
           a.getDenominatorDimension() == b.getDenominatorDimension() && sameTracks(a.getTracks(), b.getTracks());
}

bool sameView(const EisDataset::PathData& a, const EisDataset::PathData& b)
{
    return a.getDimension() == b.getDimension() && sameTracks(a.getTracks(), b.getTracks()) &&
           a.getWaves() == b.getWaves() &&
           std::ranges::equal(a.getImpedancesData(), b.getImpedancesData(), [](const auto& x, const auto& y) {
               return x.first == y.first && sameView(x.second, y.second);
           });
}

bool sameView(const EisDataset::PotentiostatData& a, const EisDataset::PotentiostatData& b)
{
    return a.getIdentifier() == b.getIdentifier() && sameTracks(a.getTracks(), b.getTracks());
}
