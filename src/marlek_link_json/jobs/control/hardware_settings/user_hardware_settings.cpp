#include "marlek_link_json/jobs/control/hardware_settings/user_hardware_settings.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <string_view>
#include <unordered_set>

namespace {

// What tells a voltage channel from a current channel when ZMU4 channels are
// added.
struct SyncKind {
    std::string_view dimensionPrefix;
    std::string_view unit;
    // Both must occur in the uri of the reference (denominator) channel.
    std::string_view referenceInput;
    std::string_view referenceSignal;
};

constexpr SyncKind kVoltage{"voltage", "V", "ZMU_I", "POT:I"};
constexpr SyncKind kCurrent{"current", "A", "ZMU_U", "POT:U"};

void addSyncChannels(UserHardwareSettings& settings, const std::vector<Zmu4Connection>& connections,
                     const SyncKind& kind)
{
    for (const auto& connection : connections) {
        settings.channels.push_back(Channel{
            connection.getPath(),
            connection.dimension.empty() ? mfmt::format("{}-{}", kind.dimensionPrefix, connection.getChannelName())
                                         : connection.dimension,
            connection.unit.empty() ? std::string(kind.unit) : connection.unit,
            connection.polynomial,
        });
    }
    std::string reference;
    for (const auto& channel : settings.channels) {
        if (channel.uri.find(kind.referenceInput) != std::string::npos
            && channel.uri.find(kind.referenceSignal) != std::string::npos) {
            reference = channel.uri;
            break;
        }
    }
    for (const auto& connection : connections) {
        settings.impedance_configurations.push_back(
            ImpedanceConfiguration{connection.getPath(), reference, connection.getChannelName()});
    }
}

} // namespace

void UserHardwareSettings::addSyncVoltageChannel(const std::vector<Zmu4Connection>& connections)
{
    addSyncChannels(*this, connections, kVoltage);
}

void UserHardwareSettings::addSyncCurrentChannel(const std::vector<Zmu4Connection>& connections)
{
    addSyncChannels(*this, connections, kCurrent);
}

void UserHardwareSettings::removeDuplicatesFromChannels()
{
    std::unordered_set<std::string> seen;
    std::vector<Channel> kept;
    kept.reserve(channels.size());
    for (auto& channel : channels) {
        if (seen.insert(channel.uri).second) {
            kept.push_back(std::move(channel));
        }
    }
    channels = std::move(kept);
}
