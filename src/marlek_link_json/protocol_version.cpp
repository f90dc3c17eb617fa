#include "marlek_link_json/protocol_version.hpp"

unsigned ProtocolVersion::library()
{
    return 12;
}
