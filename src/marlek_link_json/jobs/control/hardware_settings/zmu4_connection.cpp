#include "marlek_link_json/jobs/control/hardware_settings/zmu4_connection.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <tuple>

std::string Zmu4Connection::getPath() const
{
    return mfmt::format("ZMU4:{}:CH{}~ZMU4:{}:ADC{}", card_index, connector_index, card_index, connector_index);
}

std::string Zmu4Connection::getChannelName() const
{
    return mfmt::format("ZMU4-{}-CH{}", card_index, connector_index);
}

bool Zmu4Connection::operator<(const Zmu4Connection& other) const
{
    return std::tie(card_index, connector_index, polynomial, dimension, unit)
        < std::tie(other.card_index, other.connector_index, other.polynomial, other.dimension, other.unit);
}
