#include "marlek_link_py/link_python_side.hpp"

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/interpreter_entry.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <pybind11/pybind11.h>

#include <map>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

std::mutex registryMutex;
std::map<const MarlekLink*, std::shared_ptr<LinkPythonSide>> registry;

} // namespace

std::shared_ptr<LinkPythonSide> LinkPythonSide::of(const MarlekLink& link)
{
    std::lock_guard lock(registryMutex);
    auto& side = registry[&link];
    if (!side) {
        side = std::make_shared<LinkPythonSide>();
    }
    return side;
}

std::shared_ptr<LinkPythonSide> LinkPythonSide::forget(const MarlekLink& link)
{
    std::lock_guard lock(registryMutex);
    const auto found = registry.find(&link);
    if (found == registry.end()) {
        return nullptr;
    }
    auto side = std::move(found->second);
    registry.erase(found);
    return side;
}

void LinkPythonSide::closeEveryLinkAtExit()
{
    std::vector<std::pair<MarlekLink*, std::shared_ptr<LinkPythonSide>>> open;
    {
        std::lock_guard lock(registryMutex);
        for (const auto& [link, side] : registry) {
            open.emplace_back(const_cast<MarlekLink*>(link), side);
        }
    }
    // A link still registered here, with the interpreter lock held, is alive.
    for (const auto& [link, side] : open) {
        link->setConnectionStatusCallback({});
    }
    callWithoutInterpreterLock([&] {
        for (const auto& [link, side] : open) {
            std::lock_guard core(side->coreMutex);
            {
                // One that has begun to be destroyed meanwhile is closed by its
                // deleter, which waits for this lock.
                std::lock_guard lock(registryMutex);
                const auto found = registry.find(link);
                if (found == registry.end() || found->second != side) {
                    continue;
                }
            }
            link->cancelPendingOperations();
            link->disconnect();
        }
        closeInterpreterEntry();
        // Without the lock: a side let go of here may wait for its threads.
        open.clear();
    });
}

bool LinkPythonSide::onSessionThread()
{
    return LinkJsonSession::inSessionCallback();
}

void LinkPythonSide::runLater(std::function<void()> work)
{
    std::lock_guard lock(laterMutex);
    later.emplace_back(std::move(work));
}

void LinkPythonSide::joinLaterWork()
{
    std::vector<std::thread> started;
    {
        std::lock_guard lock(laterMutex);
        started.swap(later);
    }
    for (auto& thread : started) {
        thread.join();
    }
}

LinkPythonSide::~LinkPythonSide()
{
    joinLaterWork();
}
