#pragma once

#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <memory>
#include <string>

// Registers a job class's parameter builders under the job's name: the JSON
// builder reads the record strictly (StrictJson::read; a record with a
// converter of its own specialises StrictJson::Converter) and raises its
// error; the XML reader is the parameter object's lenient fromXmlElement.
template <typename Job>
void registerBuilderInFactory(JobParameterFactory* factory)
{
    using P = typename Job::ParameterStruct;
    using Wrapped = typename Job::template SerializableParameterStruct<P>;
    factory->registerBuilder(
        std::string(Job::name),
        [](const boost::json::value& source) -> std::shared_ptr<MeasurementParameters> {
            return std::make_shared<Wrapped>(StrictJson::read<P>(source));
        },
        &Wrapped::fromXmlElement);
}
