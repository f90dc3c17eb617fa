#pragma once

#include <string>

// Build facts of the library. The protocol version is the one the transport
// announces when it opens a connection.
class LibraryVersion {
public:
    static std::string getVersion();
    static std::string getBuildId();
    static std::string getGitRevision();
    static std::string getBranch();
    static std::string getProtocolVersionString();
    static unsigned getProtocolVersion();
};
