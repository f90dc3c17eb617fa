#pragma once

// __copy__ and __deepcopy__ of the dataset classes: both make the full,
// independent copy of the core's copy constructor.

#include "marlek_link_py/named_type.hpp"

#include <pybind11/pybind11.h>

#include <memory>

template <typename Dataset>
std::shared_ptr<Dataset> copyDataset(const Dataset& dataset)
{
    return std::make_shared<Dataset>(dataset);
}

// The memo is not needed: a dataset holds no Python objects.
template <typename Dataset>
std::shared_ptr<Dataset> deepCopyDataset(const Dataset& dataset, const DeepCopyMemo&)
{
    return std::make_shared<Dataset>(dataset);
}
