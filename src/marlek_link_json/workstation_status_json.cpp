#include "marlek_link_json/workstation_status_json.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"

WorkstationStatus tag_invoke(const boost::json::value_to_tag<WorkstationStatus>&, const boost::json::value& source)
{
    return StrictJson::read<WorkstationStatus>(source);
}
