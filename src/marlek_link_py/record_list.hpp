#pragma once

// List-valued properties of records whose elements Python sees as views.
//
// A view points into the owner's vector. Replacing or changing that vector
// (a list setter, add_channel, a core call that appends or removes) would
// leave earlier views pointing at freed storage. So while any view of a
// vector's current contents is alive, a change first retires the vector: its
// storage moves, unchanged, into the "generation" object that those views
// keep alive, and the owner continues with a copy. Old views go on reading
// the records they were taken from; later reads of the property see the new
// vector. Without live views the vector changes in place.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/typing.h>

#include <memory>
#include <utility>
#include <vector>

namespace record_list {

// The generation object of the vector at `list`, made when the first view of
// its current contents is handed out; None while no view of them lives.
pybind11::object liveGeneration(const void* list);
pybind11::object generationFor(const void* list, pybind11::handle owner);
// Hands `retired` to the live generation of `list`, which forgets `list`.
void retire(const void* list, std::shared_ptr<void> retired);

// Makes `list` safe to change in place: when views of it live, its storage
// is retired and `list` becomes a copy of it.
template <typename Element>
void detach(std::vector<Element>& list)
{
    if (liveGeneration(&list).is_none()) {
        return;
    }
    auto retired = std::make_shared<std::vector<Element>>(std::move(list));
    list = *retired;
    retire(&list, std::move(retired));
}

// Views of the elements of `list`, which lives inside the Python object
// `owner`: each keeps its generation, and through it `owner`, alive.
template <typename Element>
pybind11::typing::List<Element> views(std::vector<Element>& list, pybind11::handle owner)
{
    pybind11::typing::List<Element> result;
    if (list.empty()) {
        return result;
    }
    const pybind11::object generation = generationFor(&list, owner);
    for (Element& element : list) {
        pybind11::object view = pybind11::cast(&element, pybind11::return_value_policy::reference);
        pybind11::detail::keep_alive_impl(view, generation);
        result.append(std::move(view));
    }
    return result;
}

// A read-write property over `field`: the getter gives a new list of views,
// the setter copies every item into a new vector that replaces the old one.
template <typename Class, typename Element, typename Record>
void property(Class& cls, const char* name, std::vector<Element> Record::*field, const char* doc)
{
    cls.def_property(
        name, [field](pybind11::handle self) { return views(self.cast<Record&>().*field, self); },
        [field](Record& record, std::vector<Element> items) {
            detach(record.*field);
            record.*field = std::move(items);
        },
        doc);
}

} // namespace record_list
