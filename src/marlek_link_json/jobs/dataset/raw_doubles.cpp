#include "marlek_link_json/jobs/dataset/raw_doubles.hpp"

#include <cstring>
#include <iterator>

namespace {

// Reads a double at each position through memcpy, so that the bytes need not
// be aligned for one. Random access, so the vector allocates once.
class RawDoubleIterator {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = double;
    using difference_type = std::ptrdiff_t;
    using pointer = const double*;
    using reference = double;

    explicit RawDoubleIterator(const char* position) : position(position) {}

    double operator*() const
    {
        double value;
        std::memcpy(&value, position, sizeof value);
        return value;
    }
    RawDoubleIterator& operator++()
    {
        position += sizeof(double);
        return *this;
    }
    RawDoubleIterator operator++(int)
    {
        const RawDoubleIterator before = *this;
        ++*this;
        return before;
    }
    difference_type operator-(const RawDoubleIterator& other) const
    {
        return (position - other.position) / static_cast<difference_type>(sizeof(double));
    }
    bool operator==(const RawDoubleIterator& other) const { return position == other.position; }

private:
    const char* position;
};

} // namespace

std::vector<double> doublesFromBytes(const char* bytes, std::size_t count)
{
    if (count == 0) {
        return {};
    }
    return std::vector<double>(RawDoubleIterator(bytes), RawDoubleIterator(bytes + count * sizeof(double)));
}
