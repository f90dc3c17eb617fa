#pragma once

#include <functional>
#include <utility>
#include <vector>

// The callback lists of the job constructors that take callbacks by rvalue.
// The caller's callback or list is left empty, whatever the library's move
// rules for std::function and std::vector, as the constructors promise.
namespace LiveDataCallbacks {

template <typename Message>
std::vector<std::function<void(const Message&)>> take(std::vector<std::function<void(const Message&)>>&& callbacks)
{
    std::vector<std::function<void(const Message&)>> taken = std::move(callbacks);
    callbacks.clear();
    return taken;
}

template <typename Message>
std::vector<std::function<void(const Message&)>> takeOne(std::function<void(const Message&)>&& callback)
{
    std::vector<std::function<void(const Message&)>> list;
    list.push_back(std::move(callback));
    callback = nullptr;
    return list;
}

} // namespace LiveDataCallbacks
