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

Generation* generationOf(const py::object& capsule)
{
    return static_cast<Generation*>(py::reinterpret_borrow<py::capsule>(capsule).get_pointer());
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
    generation = py::capsule(new Generation{py::reinterpret_borrow<py::object>(owner), nullptr},
                             [](void* pointer) { delete static_cast<Generation*>(pointer); });
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
        generationOf(generation)->retired = std::move(retired);
    }
}

} // namespace record_list
