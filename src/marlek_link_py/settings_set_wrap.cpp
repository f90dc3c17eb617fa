// SettingsSet: a workstation's settings by name. Reading an entry or
// iterating gives views of the entries, which never move; storing a Setting
// copies it.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/named_type.hpp"
#include "marlek_link_py/setting_value.hpp"
#include "marlek_link_py/settings_set_wrap.hpp"

#include "marlek_link_json/jobs/control/settings/settings_set.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

// A generator, set, dictionary view, map or zip object of (name, value)
// pairs, taken into a list once. The list-taking constructors would each
// exhaust such an object while trying it, leaving an empty one to the next.
struct OneShotPairs {
    py::list items;
};

} // namespace

namespace pybind11::detail {

template <>
struct type_caster<OneShotPairs> {
    PYBIND11_TYPE_CASTER(OneShotPairs, const_name("collections.abc.Iterable[tuple[str, object]]"));

    bool load(handle source, bool convert)
    {
        if (!convert || isinstance<sequence>(source) || !object_is_convertible_to_std_vector(source)) {
            return false;
        }
        value.items = list(reinterpret_borrow<iterable>(source));
        return true;
    }

    static handle cast(const OneShotPairs& source, return_value_policy, handle)
    {
        return source.items.inc_ref();
    }
};

} // namespace pybind11::detail

namespace {

// Entries are never removed, so a changed size is exactly an insertion,
// which may rehash the map under a running iterator.
struct SettingsIterator {
    py::object owner;
    SettingsSet* set = nullptr;
    SettingsSet::iterator position;
    SettingsSet::iterator end;
    std::size_t size = 0;
    bool exhausted = false;
};

py::tuple next(const py::object& self)
{
    auto& iterator = self.cast<SettingsIterator&>();
    if (iterator.exhausted) {
        throw py::stop_iteration();
    }
    if (iterator.set->size() != iterator.size) {
        throw std::runtime_error("SettingsSet changed size during iteration");
    }
    if (iterator.position == iterator.end) {
        iterator.exhausted = true;
        throw py::stop_iteration();
    }
    auto& [name, setting] = *iterator.position++;
    py::object view = py::cast(&setting, py::return_value_policy::reference);
    py::detail::keep_alive_impl(view, self);
    return py::make_tuple(dataText(name), std::move(view));
}

SettingsSet fromPairs(const std::vector<std::pair<std::string, Setting>>& settings)
{
    std::vector<std::pair<std::string_view, Setting>> entries;
    entries.reserve(settings.size());
    for (const auto& [name, setting] : settings) {
        entries.emplace_back(name, setting);
    }
    return SettingsSet(entries);
}

SettingsSet fromValues(const std::vector<std::pair<std::string, py::object>>& values)
{
    std::vector<std::pair<std::string, Setting>> settings;
    settings.reserve(values.size());
    for (const auto& [name, value] : values) {
        settings.emplace_back(name, settingFromValue(value));
    }
    return fromPairs(settings);
}

// As the sequence constructors decide: all values Setting objects, copied;
// otherwise every value converted.
SettingsSet fromOneShot(const OneShotPairs& pairs)
{
    try {
        return fromPairs(pairs.items.cast<std::vector<std::pair<std::string, Setting>>>());
    } catch (const py::cast_error&) {
    } catch (const py::reference_cast_error&) {
        // A None value: not a Setting.
    }
    std::vector<std::pair<std::string, py::object>> values;
    try {
        values = pairs.items.cast<std::vector<std::pair<std::string, py::object>>>();
    } catch (const py::cast_error&) {
        throw py::type_error("SettingsSet(): settings must be (name, value) pairs");
    }
    return fromValues(values);
}

using SetClass = py::class_<SettingsSet, std::shared_ptr<SettingsSet>>;

void addConstructors(SetClass& cls)
{
    cls.def(py::init<>(), "\n    Create an empty set.\n")
        .def(py::init(&fromOneShot), py::arg("settings"),
             "\n    Create a set from an iterable of pairs that is not a sequence, such as a generator or\n"
             "    ``dict.items()``; taken as the list of its pairs would be.\n")
        .def(py::init(&fromPairs), py::arg("settings"),
             "\n    Create a set from (name, :class:`marlek_link.Setting`) pairs; the first pair of a name wins.\n")
        .def(py::init(&fromValues), py::arg("settings"),
             "\n    Create a set from (name, value) pairs; the first pair of a name wins.\n\n"
             "    bool, int, float and str values give settings of their kind; any other value gives a text\n"
             "    setting holding str(value).\n");
}

void addItemAccess(SetClass& cls)
{
    cls.def(
           "__getitem__", [](SettingsSet& set, std::string_view name) -> Setting& { return set[name]; },
           py::arg("key"), py::return_value_policy::reference_internal,
           "\n    The setting of this name; an absent name is added as an uninitialized setting.\n")
        .def(
            "__setitem__",
            [](SettingsSet& set, std::string_view name, const Setting& value) { set[name] = value; },
            py::arg("key"), py::arg("value"), "\n    Store a copy of the setting under this name.\n")
        .def(
            "__setitem__",
            [](SettingsSet& set, std::string_view name, const py::object& value) {
                Setting converted = settingFromValue(value);
                set[name] = std::move(converted);
            },
            py::arg("key"), py::arg("value"), "\n    Store a new setting made from the value under this name.\n")
        .def("__len__", &SettingsSet::size)
        .def("size", &SettingsSet::size, "\n    The number of settings.\n")
        .def(
            "__iter__",
            [](const py::object& self) {
                auto& set = self.cast<SettingsSet&>();
                return declared<py::typing::Iterator<py::typing::Tuple<py::str, Setting>>>(
                    py::cast(SettingsIterator{self, &set, set.begin(), set.end(), set.size()}));
            },
            "\n    Iterate over (name, setting) pairs.\n")
        .def("all_successfully_updated", &SettingsSet::allSuccessfullyUpdated,
             "\n    Whether the workstation accepted every setting at the last update.\n")
        .def(
            "keys",
            [](const SettingsSet& set) {
                py::typing::List<py::str> names;
                for (const auto& entry : set) {
                    names.append(dataText(entry.first));
                }
                return names;
            },
            "\n    The names of the settings.\n")
        .def("__copy__", [](const SettingsSet& set) { return SettingsSet(set); })
        .def(
            "__deepcopy__", [](const SettingsSet& set, const DeepCopyMemo&) { return SettingsSet(set); },
            py::arg("memo"));
}

} // namespace

void register_settings_set(py::module_& m)
{
    // Like pybind11's own iterators: not an attribute of any module.
    py::class_<SettingsIterator>(py::handle(), "SettingsSetIterator", py::module_local())
        .def("__iter__", [](const py::object& self) { return self; })
        .def("__next__", &next);

    SetClass cls(m, "SettingsSet", "\n    Workstation settings by name.\n");
    addConstructors(cls);
    addItemAccess(cls);
}
