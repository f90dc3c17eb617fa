#include "marlek_link_py/link_python_side.hpp"

#include "marlek_link_json/link_json_session.hpp"

#include <map>
#include <utility>

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
