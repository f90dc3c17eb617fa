#include "marlek_link_json/websocket_connection_info_json.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"

WebsocketConnectionInfo tag_invoke(const boost::json::value_to_tag<WebsocketConnectionInfo>&,
                                   const boost::json::value& source)
{
    return StrictJson::read<WebsocketConnectionInfo>(source);
}
