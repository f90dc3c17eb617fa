#include "marlek_link/library_version.hpp"

#include "marlek_link_json/protocol_version.hpp"

std::string LibraryVersion::getVersion()
{
    return "1.0.0+a1b2c3d4";
}

std::string LibraryVersion::getBuildId()
{
    return "a1b2c3d4";
}

std::string LibraryVersion::getGitRevision()
{
    return "0f1e2d3c";
}

std::string LibraryVersion::getBranch()
{
    return "HEAD";
}

std::string LibraryVersion::getProtocolVersionString()
{
    return std::to_string(getProtocolVersion());
}

unsigned LibraryVersion::getProtocolVersion()
{
    return ProtocolVersion::library();
}
