#pragma once

// Generations of a dataset's views. An append rebuilds the views of an
// impedance dataset, so a Python view object fetched before it would point
// at freed memory. Each dataset has a current generation; a view remembers
// the generation it was fetched in and refuses to be read once the binding's
// append has started the next one. Only touched with the interpreter lock
// held.

#include <memory>

class DatasetGenerations {
public:
    using Token = std::weak_ptr<const void>;

    // The generation that views fetched now belong to.
    static Token current(const void* dataset);
    // Ends the current generation: every view fetched so far goes stale.
    static void advance(const void* dataset);
};
