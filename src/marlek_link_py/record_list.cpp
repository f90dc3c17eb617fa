#include "marlek_link_py/record_list.hpp"

#include <unordered_map>

namespace py = pybind11;

namespace record_list {

namespace {

// What the views of one vector's contents keep alive: the object holding the
// vector and, once the vector has been retired, its storage.
struct Generation {
    py::object owner;
    std::shared_ptr<void> retired;
};

// Vector address → weak reference to its live generation. Only touched with
// the interpreter lock held; never destroyed, since it holds Python objects
// that must not outlive the interpreter.
std::unordered_map<const void*, py::weakref>& generations()
{
    static auto* table = new std::unordered_map<const void*, py::weakref>();
    return *table;
}

// A bound class, since the generations are weakly referenced; like
// pybind11's own iterators it is no attribute of any module.
py::object makeGeneration(py::handle owner)
{
    static const bool registered = [] {
        py::class_<Generation>(py::handle(), "RecordListGeneration", py::module_local());
        return true;
    }();
    (void)registered;
    return py::cast(Generation{py::reinterpret_borrow<py::object>(owner), nullptr});
}

} // namespace

py::object liveGeneration(const void* list)
{
    const auto found = generations().find(list);
    return found == generations().end() ? py::none() : found->second();
}

py::object generationFor(const void* list, py::handle owner)
{
    py::object generation = liveGeneration(list);
    if (!generation.is_none()) {
        return generation;
    }
    generation = makeGeneration(owner);
    // The entry goes when the last view goes, unless a newer generation of
    // the same address has taken its place.
    py::cpp_function forget([list](py::handle reference) {
        const auto found = generations().find(list);
        if (found != generations().end() && found->second.is(reference)) {
            generations().erase(found);
        }
    });
    generations().insert_or_assign(list, py::weakref(generation, forget));
    return generation;
}

void retire(const void* list, std::shared_ptr<void> retired)
{
    const auto found = generations().find(list);
    if (found == generations().end()) {
        return;
    }
    const py::object generation = found->second();
    generations().erase(found);
    if (!generation.is_none()) {
        generation.cast<Generation&>().retired = std::move(retired);
    }
}

} // namespace record_list
