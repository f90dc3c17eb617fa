#include "marlek_link_json/inherited_objects.hpp"

#include <atomic>
#include <utility>

namespace {

struct Kept {
    std::shared_ptr<void> object;
    Kept* next = nullptr;
};

// Pushed onto without a lock: a child may have inherited any lock held.
std::atomic<Kept*> kept{nullptr};

} // namespace

void keepInheritedForever(std::shared_ptr<void> object)
{
    auto* entry = new Kept{std::move(object)};
    entry->next = kept.load(std::memory_order_relaxed);
    while (!kept.compare_exchange_weak(entry->next, entry, std::memory_order_release, std::memory_order_relaxed)) {
    }
}
