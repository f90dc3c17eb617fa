#pragma once

#include "marlek_link_json/jobs/measurementjob.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/json/object.hpp>
#include <boost/json/value_from.hpp>

#include <map>
#include <string>
#include <string_view>
#include <type_traits>

// A job class made from a parameter record and the address of its JobNames
// constant; every job kind is an instantiation of this template or of a
// class derived from it.
template <typename ParameterStructT, const std::string_view* JobName>
class MeasurementJobTemplate : public MeasurementJob {
public:
    using ParameterStruct = ParameterStructT;

    template <typename Q>
    using SerializableParameterStruct = ::SerializableParameterStruct<Q>;

    static inline const std::string name{*JobName};

    MeasurementJobTemplate(const ParameterStruct& record, const JobOptions& options)
        : MeasurementJob(options), parameters(record)
    {
    }

    MeasurementJobTemplate(const ParameterStruct& record, const std::map<std::string, std::string>& metaData,
                           const JobOptions& options)
        : MeasurementJob(metaData, options), parameters(record)
    {
    }

    // Jobs without parameters also come without any argument.
    MeasurementJobTemplate()
        requires std::is_same_v<ParameterStruct, Parameterless>
    = default;

    explicit MeasurementJobTemplate(const JobOptions& options)
        requires std::is_same_v<ParameterStruct, Parameterless>
        : MeasurementJob(options)
    {
    }

    const std::string& getName() const override { return name; }

    boost::json::object getParameterObject() const override
    {
        return boost::json::value_from(getParameters()).as_object();
    }

    // Jobs without live data have no handlers to register.
    void setEventHandlers(LinkJsonSession&) override {}
    void removeEventHandlers(LinkJsonSession&) override {}

    const ParameterStruct& getParameters() const { return parameters; }
    // The parameter object itself, changed in place by the job's owner
    // between runs (the Python `parameters` property views it).
    SerializableParameterStruct<ParameterStruct>& getParameterStruct() { return parameters; }

protected:
    SerializableParameterStruct<ParameterStruct> parameters;
};

// A job whose completion carries one result value in its "result" member,
// read by the job class in extractJobResult. The result starts
// value-initialised (zeros, empty texts, the first enumerator) unless the job
// class gives it another start, and changes only when a completion carries a
// usable "result": a run the library ends itself leaves it as it was.
template <typename Result, typename ParameterStructT, const std::string_view* JobName>
class SingleValueMeasurementJobTemplate : public MeasurementJobTemplate<ParameterStructT, JobName> {
public:
    using ParameterStruct = ParameterStructT;

    SingleValueMeasurementJobTemplate(const ParameterStruct& record, const JobOptions& options)
        : MeasurementJobTemplate<ParameterStructT, JobName>(record, options)
    {
    }

    void extractJobResult(const boost::json::object& completion) override = 0;

    Result getJobResult() const { return result; }

protected:
    // The completion's "result" object; null when it is missing or no
    // object, in which case the stored result stays as it is.
    static const boost::json::object* resultObject(const boost::json::object& completion)
    {
        const auto* member = completion.if_contains("result");
        return member != nullptr ? member->if_object() : nullptr;
    }

    Result result{};
};
