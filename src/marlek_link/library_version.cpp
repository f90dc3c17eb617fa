#include "marlek_link/library_version.hpp"

#include "marlek_link_json/protocol_version.hpp"

std::string LibraryVersion::getVersion()
{
    return "26.40.1+491aaa72";
}

std::string LibraryVersion::getBuildId()
{
    return "491aaa72";
}

std::string LibraryVersion::getGitRevision()
{
    return "6217d936";
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
