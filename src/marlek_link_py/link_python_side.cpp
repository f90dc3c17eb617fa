#include "marlek_link_py/link_python_side.hpp"

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/interpreter_entry.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/fork_generation.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <map>
#include <mutex>
#include <utility>

namespace py = pybind11;

namespace {

// Guarded by the interpreter lock. Never destroyed: the sides hold Python
// references, which must not be let go of once the interpreter is gone.
std::map<const MarlekLink*, std::shared_ptr<LinkPythonSide>>& registry()
{
    static auto* const links = new std::map<const MarlekLink*, std::shared_ptr<LinkPythonSide>>();
    return *links;
}

} // namespace

LinkPythonSide::LinkPythonSide() : generation(forkGeneration()) {}

std::shared_ptr<LinkPythonSide> LinkPythonSide::of(const MarlekLink& link)
{
    auto& side = registry()[&link];
    if (!side) {
        side = std::make_shared<LinkPythonSide>();
    }
    return side;
}

std::shared_ptr<LinkPythonSide> LinkPythonSide::find(const MarlekLink& link)
{
    const auto found = registry().find(&link);
    return found == registry().end() ? nullptr : found->second;
}

std::shared_ptr<LinkPythonSide> LinkPythonSide::forget(const MarlekLink& link)
{
    const auto found = registry().find(&link);
    if (found == registry().end()) {
        return nullptr;
    }
    auto side = std::move(found->second);
    registry().erase(found);
    return side;
}

void LinkPythonSide::closeEveryLinkAtExit()
{
    std::vector<std::pair<MarlekLink*, std::shared_ptr<LinkPythonSide>>> open;
    for (const auto& [link, side] : registry()) {
        if (!side->inherited()) {
            open.emplace_back(const_cast<MarlekLink*>(link), side);
        }
    }
    // Let go of at the very end: a callable's last reference may be what
    // keeps a link alive, this one or another, whose destruction would come
    // back into the library while it holds a lock, or pull a link from under
    // this loop. Until then no Python code runs, so every link here stays.
    std::vector<std::shared_ptr<PyCallableRef>> statusCallables;
    for (const auto& [link, side] : open) {
        statusCallables.push_back(side->replaceStatusCallable(nullptr));
        link->setConnectionStatusCallback({});
    }
    callWithoutInterpreterLock([&] {
        for (const auto& [link, side] : open) {
            std::lock_guard core(side->coreMutex);
            // One destroyed meanwhile was closed by its deleter.
            if (side->linkGone) {
                continue;
            }
            link->cancelPendingOperations();
            link->disconnect();
        }
        closeInterpreterEntry();
    });
}

bool LinkPythonSide::onSessionThread()
{
    return LinkJsonSession::inSessionCallback();
}

bool LinkPythonSide::inherited() const
{
    return generation != forkGeneration();
}

void LinkPythonSide::keepHandler(py::object handler)
{
    for (const auto& kept : handlers) {
        if (kept.is(handler)) {
            return;
        }
    }
    handlers.push_back(std::move(handler));
}

py::object LinkPythonSide::dropHandler(py::handle handler)
{
    for (auto kept = handlers.begin(); kept != handlers.end(); ++kept) {
        if (kept->is(handler)) {
            py::object dropped = std::move(*kept);
            handlers.erase(kept);
            return dropped;
        }
    }
    return py::object();
}

std::shared_ptr<PyCallableRef> LinkPythonSide::replaceStatusCallable(std::shared_ptr<PyCallableRef> callable)
{
    return std::exchange(statusCallable, std::move(callable));
}

LinkPythonSide::PythonReferences LinkPythonSide::takePythonReferences()
{
    return PythonReferences{std::exchange(handlers, {}), std::exchange(statusCallable, nullptr)};
}

int LinkPythonSide::traverse(visitproc visit, void* arg) const
{
    for (const auto& handler : handlers) {
        Py_VISIT(handler.ptr());
    }
    return statusCallable ? statusCallable->traverse(visit, arg) : 0;
}

void LinkPythonSide::clear()
{
    // Only the status callable, which no other object reports. The handler
    // objects stay: the link is not their only holder (the core holds their
    // handlers too), so letting go of them here could free one before the
    // collector clears it, leaving its callable, a bound method for example,
    // to keep the link alive. Each clears its own callable instead.
    if (statusCallable) {
        statusCallable->clear();
    }
}
