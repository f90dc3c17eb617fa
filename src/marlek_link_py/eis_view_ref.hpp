#pragma once

// What a Python ImpedanceData, PathData or PotentiostatData holds: a pointer
// to a view inside an impedance dataset, the dataset that keeps it alive and
// the generation it was fetched in. The core's sentinels are held without an
// owner and never go stale.

#include "marlek_link_py/dataset_generation.hpp"

#include <memory>
#include <stdexcept>
#include <utility>

template <typename View>
class EisViewRef {
public:
    explicit EisViewRef(const View& sentinel) : view(&sentinel) {}

    EisViewRef(std::shared_ptr<const void> dataset, const View& view)
        : owner(std::move(dataset)), view(&view), generation(DatasetGenerations::current(owner.get()))
    {
    }

    // A view held inside another view of the same dataset (the impedances of
    // a path): it goes stale with its parent.
    template <typename Parent>
    EisViewRef(const EisViewRef<Parent>& parent, const View& view)
        : owner(parent.owner), view(&view), generation(parent.generation)
    {
    }

    // Sentinels are never stale: their views do not belong to a dataset.
    static EisViewRef of(const std::shared_ptr<const void>& dataset, const View& view, const View& sentinel)
    {
        return &view == &sentinel ? EisViewRef(sentinel) : EisViewRef(dataset, view);
    }

    const View& get() const
    {
        if (owner && generation.expired()) {
            throw std::runtime_error("the dataset was appended to after this view was fetched; fetch it again");
        }
        return *view;
    }

private:
    template <typename>
    friend class EisViewRef;

    std::shared_ptr<const void> owner;
    const View* view;
    DatasetGenerations::Token generation;
};
