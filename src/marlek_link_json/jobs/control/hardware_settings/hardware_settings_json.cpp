#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_json.hpp"

#include <boost/json.hpp>

namespace {

template <typename T>
boost::json::array arrayOf(const std::vector<T>& items)
{
    boost::json::array array;
    array.reserve(items.size());
    for (const auto& item : items) {
        array.push_back(boost::json::value_from(item));
    }
    return array;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const Channel& channel)
{
    target = boost::json::object{
        {"uri", channel.uri},
        {"dimension", channel.dimension},
        {"unit", channel.unit},
        {"polynomial", boost::json::value_from(channel.polynomial)},
    };
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const PotentiostatConfiguration& potentiostat)
{
    target = boost::json::object{
        {"uri", potentiostat.uri},
        {"potentiostatic_polynomial", boost::json::value_from(potentiostat.potentiostatic_polynomial)},
        {"galvanostatic_polynomial", boost::json::value_from(potentiostat.galvanostatic_polynomial)},
    };
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const SetHardwareSettingsParameters& parameters)
{
    target = boost::json::object{
        {"output_potentiostats", arrayOf(parameters.output_potentiostats)},
        {"channels", arrayOf(parameters.channels)},
        {"impedance_configurations", arrayOf(parameters.impedance_configurations)},
    };
}

HardwareSettings tag_invoke(const boost::json::value_to_tag<HardwareSettings>&, const boost::json::value& source)
{
    return StrictJson::read<HardwareSettings>(source);
}

SetHardwareSettingsParameters tag_invoke(const boost::json::value_to_tag<SetHardwareSettingsParameters>&,
                                         const boost::json::value& source)
{
    return StrictJson::read<SetHardwareSettingsParameters>(source);
}
