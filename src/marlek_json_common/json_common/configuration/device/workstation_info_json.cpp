#include "marlek_json_common/json_common/configuration/device/workstation_info_json.hpp"

#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

namespace {

// A whole number of at least 1 that fits a signed 64-bit integer; 0 otherwise.
std::uint64_t protocolVersion(const boost::json::object& object)
{
    const auto* member = object.if_contains("protocol_version");
    if (member == nullptr || !member->is_number()) {
        return 0;
    }
    boost::system::error_code ec;
    const auto version = member->to_number<std::int64_t>(ec);
    if (ec || version < 1) {
        return 0;
    }
    return static_cast<std::uint64_t>(version);
}

WorkstationModeEnum mode(const boost::json::object& object)
{
    const auto* member = object.if_contains("mode");
    if (member == nullptr || !member->is_string()) {
        return WorkstationModeEnum::NORMAL;
    }
    const std::string_view text = member->get_string();
    if (text == "RECOVERY") {
        return WorkstationModeEnum::RECOVERY;
    }
    if (text == "FAILSAFE") {
        return WorkstationModeEnum::FAILSAFE;
    }
    if (text == "EMULATION") {
        return WorkstationModeEnum::EMULATION;
    }
    return WorkstationModeEnum::NORMAL;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const WorkstationInfo& info)
{
    target = boost::json::object{
        {"protocol_version", info.protocol_version},
        {"serial_number", info.serial_number},
        {"model_name", info.model_name},
        {"firmware_version", info.firmware_version},
        {"firmware_build_id", info.firmware_build_id},
        {"cpu_card_uuid", info.cpu_card_uuid},
        {"system_mac", info.system_mac},
        {"system_name", info.system_name},
        {"mode", boost::json::value_from(info.mode)},
    };
}

WorkstationInfo tag_invoke(const boost::json::value_to_tag<WorkstationInfo>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    using jsonmembers::stringOrEmpty;
    return WorkstationInfo{
        protocolVersion(*object),
        stringOrEmpty(*object, "serial_number"),
        stringOrEmpty(*object, "model_name"),
        stringOrEmpty(*object, "firmware_version"),
        stringOrEmpty(*object, "firmware_build_id"),
        stringOrEmpty(*object, "cpu_card_uuid"),
        stringOrEmpty(*object, "system_mac"),
        stringOrEmpty(*object, "system_name"),
        mode(*object),
    };
}
