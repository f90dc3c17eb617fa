#pragma once

#include <cstddef>
#include <vector>

// `count` doubles taken from raw native-order bytes of any alignment. The
// vector is built from the bytes in one pass, not zeroed first and then
// overwritten: for a large binary table that halves the memory traffic.
std::vector<double> doublesFromBytes(const char* bytes, std::size_t count);
