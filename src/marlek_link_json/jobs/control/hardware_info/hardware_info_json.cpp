#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"

HardwareInfo tag_invoke(const boost::json::value_to_tag<HardwareInfo>&, const boost::json::value& source)
{
    return StrictJson::read<HardwareInfo>(source);
}
