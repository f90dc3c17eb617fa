#pragma once

#include <cstddef>
#include <vector>

// `count` doubles taken from raw native-order bytes of any alignment, in a
// vector allocated once at its final size.
std::vector<double> doublesFromBytes(const char* bytes, std::size_t count);
