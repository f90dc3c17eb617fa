#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"

#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/json.hpp>

JobParameterFactory& JobParameterFactory::getInstance()
{
    static JobParameterFactory instance;
    return instance;
}

void JobParameterFactory::registerBuilder(const std::string& jobName, JsonBuilder jsonBuilder, XmlReader xmlReader)
{
    auto entry = std::make_shared<const Builders>(std::move(jsonBuilder), std::move(xmlReader));
    std::unique_lock lock(buildersMutex);
    builders.insert_or_assign(jobName, std::move(entry));
}

std::shared_ptr<const JobParameterFactory::Builders> JobParameterFactory::find(std::string_view jobName) const
{
    std::shared_lock lock(buildersMutex);
    const auto it = builders.find(jobName);
    return it != builders.end() ? it->second : nullptr;
}
