#pragma once

// The one pattern by which every job kind reaches Python. A family file
// describes its parameter record once, as a field list, and the helpers here
// make every class of the family from it:
//
//   const auto fields = job_binding::fields<CvParameters>(
//       job_binding::field("start_value", &CvParameters::start_value, MARLEK_DOC("starting potential")), ...);
//   job_binding::bindJobWithParameters<CvJob, job_binding::Extras::metaDataAndStopConditions>(
//       meas, "CvJob", fields, summary, job_doc::requestExample("cv", parameters));
//
// or, for a family whose classes are named otherwise, registered in another
// order or that has more constructors, with bindParameters, bindJob and the
// add...Init helpers.
//
// Docstrings: every field carries the docstring of its property; the
// ":param" lines of a constructor are made from them (job_doc::param), after
// the summary the caller gives and before the closing example or text.
//
// The classes:
// - Parameter class (bindParameters): a view of the parameter object a job
//   holds (its SerializableParameterStruct). No constructor; one read-write
//   property per field, in field order. Its objects come only from a job's
//   `parameters`, which returns a view into the job and keeps the job alive,
//   so a view never outlives the memory it reads.
// - Record class (bindRecord): the plain record itself, for records a caller
//   builds whole (table entries, frequency tables). Constructor with one
//   argument per field, properties with the field docstrings.
// - Job class (bindJob): Python base AbstractMeasurementJob, unique
//   ownership of the core job, and the `parameters` property. Assigning
//   `parameters` copies the record's fields from an object of the same
//   parameter class; anything else (another class, None) raises TypeError.
//   A job without parameters is a plain py::class_<Job, AbstractMeasurementJob>;
//   a parameter class without properties takes an empty field list.
//
// Constructors of a job class, added in the order they are tried:
// - addFlatInit: one argument per field, then, as the family's Extras say,
//   nothing, `meta_data`, or `meta_data` and `stop_conditions`.
// - addRecordInit: the whole record (a record-class object), then `meta_data`.
// - addDictInit: a dict holding the fields by name, then `meta_data`. Keys
//   are read in field order (a missing one raises its KeyError), values are
//   cast as the field's type requires (RuntimeError when one does not
//   convert), list items are turned into dicts with dict(); an optional
//   field takes its fallback when its key is absent; other keys are ignored.
//
// Property rules: every property reads a new Python value (lists are built
// afresh on each read, so no item ever refers into storage a later
// assignment frees) and writes a copy; an optional field reads and accepts
// None for "not set". Only `parameters` returns a view.
//
// Arguments: `meta_data` must be a dict (otherwise the overload does not
// match); a key or value that is not a str raises RuntimeError.
// `stop_conditions` is any sequence of stop-condition objects; None or
// another object as an element makes the overload not match, so the core
// never sees a null stop condition. The default dict and list are made once
// per registration and only read.
//
// Field kinds: field() for numbers, bools, text, vectors of numbers and
// optionals; orElse() gives a field the default of its flat argument (and,
// for an optional, the value a dict without the key gives it); recordList()
// for a vector of records that have a field list of their own.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/job_doc.hpp"
#include "marlek_link_py/named_type.hpp"

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/common/abstract_stopcondition.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace job_binding {

// The `stop_conditions` argument: shared conditions, none of them null.
struct StopConditionArgument {
    StopConditionVector conditions;
};

} // namespace job_binding

namespace pybind11::detail {

template <>
struct type_caster<job_binding::StopConditionArgument> {
    using ListCaster = list_caster<StopConditionVector, std::shared_ptr<AbstractStopCondition>>;

    bool load(handle source, bool convert)
    {
        ListCaster list;
        if (!list.load(source, convert)) {
            return false;
        }
        StopConditionVector conditions = std::move(static_cast<StopConditionVector&>(list));
        for (const auto& condition : conditions) {
            // None loads as a null holder in the converting pass.
            if (!condition) {
                return false;
            }
        }
        value.conditions = std::move(conditions);
        return true;
    }

    static handle cast(const job_binding::StopConditionArgument& source, return_value_policy policy, handle parent)
    {
        return ListCaster::cast(source.conditions, policy, parent);
    }

    PYBIND11_TYPE_CASTER(job_binding::StopConditionArgument, ListCaster::name);
};

} // namespace pybind11::detail

namespace job_binding {

namespace py = pybind11;

using MetaData = std::map<std::string, std::string>;
// The `meta_data` argument as Python passes it.
using MetaDataArgument = py::typing::Dict<py::str, py::str>;
// The dict argument of addDictInit: fields by name, values of their kinds.
using FieldTable = py::typing::Dict<py::str, AnyValue>;

template <typename T>
struct IsOptional : std::false_type {};
template <typename T>
struct IsOptional<std::optional<T>> : std::true_type {};

// The type a field takes as an argument: an optional field its value type.
template <typename T>
struct ArgumentOf {
    using Type = T;
};
template <typename T>
struct ArgumentOf<std::optional<T>> {
    using Type = T;
};

// One field of record R. With a fallback, its flat argument has that default.
template <typename R, typename T, bool HasFallback = false>
struct Field {
    using Record = R;
    using Value = T;
    using Argument = typename ArgumentOf<T>::Type;

    const char* name;
    T R::*member;
    const char* doc = nullptr;
    Argument fallback{};

    Field<R, T, true> orElse(Argument value) const { return {name, member, doc, std::move(value)}; }
};

template <typename R, typename T>
Field<R, T> field(const char* name, T R::*member, const char* doc = nullptr)
{
    return {name, member, doc};
}

// A vector of records E whose items the dict form reads by E's field list.
template <typename R, typename E, typename EntryFields>
struct RecordListField {
    using Record = R;
    using Value = std::vector<E>;
    using Argument = std::vector<E>;

    const char* name;
    std::vector<E> R::*member;
    EntryFields entries;
    const char* doc = nullptr;
};

template <typename R, typename E, typename EntryFields>
RecordListField<R, E, EntryFields> recordList(const char* name, std::vector<E> R::*member, EntryFields entries,
                                              const char* doc = nullptr)
{
    return {name, member, std::move(entries), doc};
}

// The fields of record R, in the record's field order.
template <typename R, typename... F>
struct Fields {
    using Record = R;
    std::tuple<F...> items;
};

template <typename R, typename... F>
Fields<R, F...> fields(F... items)
{
    return {std::tuple<F...>(std::move(items)...)};
}

// The fields of both lists, a's first; for records whose field lists share
// a run of fields.
template <typename R, typename... A, typename... B>
Fields<R, A..., B...> join(const Fields<R, A...>& a, const Fields<R, B...>& b)
{
    return {std::tuple_cat(a.items, b.items)};
}

// Whether a class's properties carry the field docstrings.
enum class Docs { hidden, shown };

// What a job constructor takes after the record's fields: nothing (the job
// starts with default options and no metadata), the metadata, or the
// metadata and the stop conditions.
enum class Extras { none, metaData, metaDataAndStopConditions };

template <typename Job>
using ParameterView = typename Job::template SerializableParameterStruct<typename Job::ParameterStruct>;

inline MetaData metaDataFrom(const MetaDataArgument& metaData)
{
    return metaData.cast<MetaData>();
}

inline py::arg_v metaDataArgument()
{
    return py::arg_v("meta_data", py::dict());
}

inline py::arg_v stopConditionsArgument()
{
    return py::arg_v("stop_conditions", py::list());
}

// A field's argument: without a fallback it is required.
template <typename F>
py::arg argumentFor(const F& field)
{
    return py::arg(field.name);
}

template <typename R, typename T>
py::arg_v argumentFor(const Field<R, T, true>& field)
{
    return py::arg_v(field.name, field.fallback);
}

template <typename Class, typename F>
void addProperty(Class& cls, const F& field, Docs docs)
{
    using Self = typename Class::type;
    using Value = typename F::Value;
    auto member = field.member;
    auto get = [member](const Self& self) { return DataText<Value>{self.*member}; };
    auto set = [member](Self& self, const Value& value) { self.*member = value; };
    if (docs == Docs::shown && field.doc != nullptr) {
        cls.def_property(field.name, get, set, field.doc);
    } else {
        cls.def_property(field.name, get, set);
    }
}

template <typename Class, typename R, typename... F>
void addProperties(Class& cls, const Fields<R, F...>& list, Docs docs)
{
    std::apply([&](const auto&... items) { (addProperty(cls, items, docs), ...); }, list.items);
}

// The ":param" lines of a constructor taking the fields in order.
template <typename R, typename... F>
std::string paramDocs(const Fields<R, F...>& list)
{
    std::string text;
    std::apply([&](const auto&... items) { ((text += job_doc::param(items.name, items.doc ? items.doc : "")), ...); },
               list.items);
    return text;
}

inline std::string extrasDoc(Extras extras)
{
    switch (extras) {
    case Extras::metaData:
        return std::string(job_doc::kMetaDataParam);
    case Extras::metaDataAndStopConditions:
        return std::string(job_doc::kMetaDataParam) + std::string(job_doc::kStopConditionsParam);
    case Extras::none:
        break;
    }
    return {};
}

template <typename R, typename... F, typename... A>
R buildRecord(const Fields<R, F...>& list, A&&... values)
{
    R record{};
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((record.*(std::get<I>(list.items).member) = std::forward<A>(values)), ...);
    }(std::index_sequence_for<F...>{});
    return record;
}

template <typename R, typename... F>
R readRecord(const Fields<R, F...>& list, const py::dict& table);

// A dict as it is; anything else through dict(), whose error propagates.
inline py::dict asDict(py::handle item)
{
    if (py::isinstance<py::dict>(item)) {
        return py::reinterpret_borrow<py::dict>(item);
    }
    return py::dict(py::reinterpret_borrow<py::object>(item));
}

template <typename R, typename T, bool HasFallback>
void readField(R& record, const Field<R, T, HasFallback>& field, const py::dict& table)
{
    if constexpr (IsOptional<T>::value) {
        if (table.contains(field.name)) {
            record.*field.member = py::cast<typename T::value_type>(table[field.name]);
        } else if constexpr (HasFallback) {
            record.*field.member = field.fallback;
        }
    } else {
        record.*field.member = py::cast<T>(table[field.name]);
    }
}

template <typename R, typename E, typename EntryFields>
void readField(R& record, const RecordListField<R, E, EntryFields>& field, const py::dict& table)
{
    const py::object items = table[field.name];
    std::vector<E> entries;
    for (const py::handle item : items) {
        entries.push_back(readRecord(field.entries, asDict(item)));
    }
    record.*field.member = std::move(entries);
}

template <typename R, typename... F>
R readRecord(const Fields<R, F...>& list, const py::dict& table)
{
    R record{};
    std::apply([&](const auto&... items) { (readField(record, items, table), ...); }, list.items);
    return record;
}

template <typename Job>
std::unique_ptr<Job> makeJob(const typename Job::ParameterStruct& record, const MetaDataArgument& metaData)
{
    return std::make_unique<Job>(record, metaDataFrom(metaData));
}

template <typename Job>
std::unique_ptr<Job> makeJob(const typename Job::ParameterStruct& record, const MetaDataArgument& metaData,
                             StopConditionArgument stopConditions)
{
    return std::make_unique<Job>(record, metaDataFrom(metaData),
                                 StopConditionList{std::move(stopConditions.conditions)});
}

// The parameter class of Job: no constructor, one property per field.
template <typename Job, typename R, typename... F>
py::class_<ParameterView<Job>> bindParameters(py::module_& module, const char* name, const Fields<R, F...>& list,
                                              Docs docs = Docs::hidden)
{
    py::class_<ParameterView<Job>> cls(module, name);
    addProperties(cls, list, docs);
    return cls;
}

// A record class: constructor from the fields in order, documented properties.
template <typename R, typename... F>
py::class_<R> bindRecord(py::module_& module, const char* name, const Fields<R, F...>& list,
                         std::string_view summary)
{
    py::class_<R> cls(module, name);
    const std::string doc = std::string(summary) + paramDocs(list);
    std::apply(
        [&](const auto&... items) {
            cls.def(py::init([list](typename F::Argument... values) { return buildRecord(list, values...); }),
                    argumentFor(items)..., doc.c_str());
        },
        list.items);
    addProperties(cls, list, Docs::shown);
    return cls;
}

// Where scripts find a class of this submodule of the extension module:
// in the same submodule of the package, marlek_link.<submodule>.<name>.
inline std::string publicName(const py::module_& module, std::string_view name)
{
    const auto full = module.attr("__name__").cast<std::string>();
    return "marlek_link" + full.substr(full.find('.')) + "." + std::string(name);
}

// A job class with its `parameters` property, whose class is the named
// parameter class of the same module; the caller adds constructors.
template <typename Job>
py::class_<Job, AbstractMeasurementJob> bindJob(py::module_& module, const char* name, std::string_view parameterName)
{
    const std::string parameterClass = publicName(module, parameterName);
    using View = ParameterView<Job>;
    using Record = typename Job::ParameterStruct;
    py::class_<Job, AbstractMeasurementJob> cls(module, name);
    cls.def_property(
        "parameters", [](Job& job) -> View& { return job.getParameterStruct(); },
        [](Job& job, const View& value) {
            static_cast<Record&>(job.getParameterStruct()) = static_cast<const Record&>(value);
        },
        py::return_value_policy::reference_internal,
        py::doc((std::string("object with the parameters that were passed to the constructor of type :class:`")
                 + parameterClass + "`")
                    .c_str()));
    return cls;
}

// Documented by the summary, the fields' and the extras' ":param" lines and
// the closing text (usually the request example).
template <typename Job, Extras extras, typename R, typename... F>
void addFlatInit(py::class_<Job, AbstractMeasurementJob>& cls, const Fields<R, F...>& list,
                 std::string_view summary, std::string_view closing = {})
{
    const std::string text = std::string(summary) + paramDocs(list) + extrasDoc(extras) + std::string(closing);
    const char* doc = text.c_str();
    std::apply(
        [&](const auto&... items) {
            if constexpr (extras == Extras::none) {
                cls.def(py::init([list](typename F::Argument... values) {
                            return std::make_unique<Job>(buildRecord(list, values...), JobOptions{});
                        }),
                        argumentFor(items)..., doc);
            } else if constexpr (extras == Extras::metaDataAndStopConditions) {
                cls.def(py::init([list](typename F::Argument... values, const MetaDataArgument& metaData,
                                        StopConditionArgument stopConditions) {
                            return makeJob<Job>(buildRecord(list, values...), metaData, std::move(stopConditions));
                        }),
                        argumentFor(items)..., metaDataArgument(), stopConditionsArgument(), doc);
            } else {
                cls.def(py::init([list](typename F::Argument... values, const MetaDataArgument& metaData) {
                            return makeJob<Job>(buildRecord(list, values...), metaData);
                        }),
                        argumentFor(items)..., metaDataArgument(), doc);
            }
        },
        list.items);
}

// `argumentDoc` documents the record argument, as a field's docstring does.
template <typename Job>
void addRecordInit(py::class_<Job, AbstractMeasurementJob>& cls, const char* argument, std::string_view summary,
                   std::string_view argumentDoc)
{
    const std::string doc =
        std::string(summary) + job_doc::param(argument, argumentDoc) + std::string(job_doc::kMetaDataParam);
    cls.def(py::init([](const typename Job::ParameterStruct& record, const MetaDataArgument& metaData) {
                return makeJob<Job>(record, metaData);
            }),
            py::arg(argument), metaDataArgument(), doc.c_str());
}

// `argumentText` follows ":param <argument>: " as it is: the dict's
// description holds code examples that no line may be wrapped in.
template <typename Job, typename R, typename... F>
void addDictInit(py::class_<Job, AbstractMeasurementJob>& cls, const char* argument, const Fields<R, F...>& list,
                 std::string_view summary, std::string_view argumentText)
{
    const std::string doc = std::string(summary) + "    :param " + argument + ": " + std::string(argumentText)
                            + std::string(job_doc::kMetaDataParam);
    cls.def(py::init([list](const FieldTable& table, const MetaDataArgument& metaData) {
                return makeJob<Job>(readRecord(list, table), metaData);
            }),
            py::arg(argument), metaDataArgument(), doc.c_str());
}

// The usual job: its parameter class, named after the job ("CvJob" has
// "CvParametersPy"), and the job class with its one flat constructor.
template <typename Job, Extras extras, typename R, typename... F>
py::class_<Job, AbstractMeasurementJob> bindJobWithParameters(py::module_& module, std::string_view name,
                                                              const Fields<R, F...>& list, std::string_view summary,
                                                              std::string_view closing = {})
{
    const std::string stem(name.substr(0, name.rfind("Job")));
    const std::string parameterName = stem + "ParametersPy";
    bindParameters<Job>(module, parameterName.c_str(), list);
    auto job = bindJob<Job>(module, std::string(name).c_str(), parameterName);
    addFlatInit<Job, extras>(job, list, summary, closing);
    return job;
}

} // namespace job_binding
