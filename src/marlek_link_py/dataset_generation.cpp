#include "marlek_link_py/dataset_generation.hpp"

#include <unordered_map>

namespace {

// One live token per dataset address. A view keeps its dataset alive, so an
// address is reused only once no view of the old dataset exists; the entry
// then serves the new dataset.
std::unordered_map<const void*, std::shared_ptr<const int>>& tokens()
{
    static auto* byDataset = new std::unordered_map<const void*, std::shared_ptr<const int>>();
    return *byDataset;
}

} // namespace

DatasetGenerations::Token DatasetGenerations::current(const void* dataset)
{
    auto& token = tokens()[dataset];
    if (!token) {
        token = std::make_shared<const int>(0);
    }
    return token;
}

void DatasetGenerations::advance(const void* dataset)
{
    tokens().erase(dataset);
}
