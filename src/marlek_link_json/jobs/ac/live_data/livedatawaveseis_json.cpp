#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis_json.hpp"

#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

// 2^64, exactly representable, unlike the largest unsigned 64-bit value.
constexpr double unsignedRangeEnd = 18446744073709551616.0;

std::size_t positionOrZero(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    if (member == nullptr) {
        return 0;
    }
    switch (member->kind()) {
    case boost::json::kind::uint64:
        return member->get_uint64();
    case boost::json::kind::int64:
        if (member->get_int64() < 0) {
            jsonmembers::throwJsonError(boost::json::error::not_exact);
        }
        return static_cast<std::size_t>(member->get_int64());
    case boost::json::kind::double_: {
        const double value = member->get_double();
        if (!(value >= 0.0 && value < unsignedRangeEnd) || std::trunc(value) != value) {
            jsonmembers::throwJsonError(boost::json::error::not_exact);
        }
        return static_cast<std::size_t>(value);
    }
    default:
        return 0;
    }
}

} // namespace

LiveDataWavesEis tag_invoke(const boost::json::value_to_tag<LiveDataWavesEis>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    return object == nullptr ? LiveDataWavesEis() : liveDataWavesEisFromEvent(*object);
}

LiveDataWavesEis liveDataWavesEisFromEvent(const boost::json::object& event)
{
    const auto* waves = event.if_contains("paths_waves");
    if (waves == nullptr || !waves->is_array()) {
        return {};
    }
    auto samples = boost::json::value_to<std::vector<std::vector<double>>>(*waves);
    const std::size_t offset = positionOrZero(event, "offset");
    const std::size_t fullWaveSize = positionOrZero(event, "full_wave_size");
    return LiveDataWavesEis(std::move(samples), offset, fullWaveSize);
}
