#include "marlek_link_json/jobs/dataset/raw_doubles.hpp"

#include <cstring>

std::vector<double> doublesFromBytes(const char* bytes, std::size_t count)
{
    std::vector<double> values(count);
    if (count != 0) {
        std::memcpy(values.data(), bytes, count * sizeof(double));
    }
    return values;
}
