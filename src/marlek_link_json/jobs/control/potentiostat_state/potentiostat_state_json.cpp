#include "marlek_link_json/jobs/control/potentiostat_state/potentiostat_state_json.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"

PotentiostatState tag_invoke(const boost::json::value_to_tag<PotentiostatState>&, const boost::json::value& source)
{
    return StrictJson::read<PotentiostatState>(source);
}
