#pragma once

#include <string>

// A port on 127.0.0.1 that nothing listens on: bound once, then released.
std::string closedPort();
