#pragma once

#include <boost/json/fwd.hpp>

#include <functional>
#include <map>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <utility>

class MeasurementParameters;

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// Rebuilds the typed parameter object of a job from job information, by job
// name: from the JSON "parameters" object or the XML "parameters" element.
// It builds parameter objects only, never jobs. Any thread may use it, also
// while another registers builders.
class JobParameterFactory {
public:
    using JsonBuilder = std::function<std::shared_ptr<MeasurementParameters>(const boost::json::value&)>;
    using XmlReader = std::function<std::shared_ptr<MeasurementParameters>(tinyxml2::XMLElement*)>;
    using Builders = std::pair<JsonBuilder, XmlReader>;

    static JobParameterFactory& getInstance();

    // Stores the builders under the job name, replacing an existing entry.
    void registerBuilder(const std::string& jobName, JsonBuilder jsonBuilder, XmlReader xmlReader);

    // The builders of a job name (exact, case-sensitive); null when unknown.
    // They stay valid for the caller even if the entry is replaced meanwhile.
    std::shared_ptr<const Builders> find(std::string_view jobName) const;

    JobParameterFactory(const JobParameterFactory&) = delete;
    JobParameterFactory& operator=(const JobParameterFactory&) = delete;

private:
    JobParameterFactory();

    mutable std::shared_mutex buildersMutex;
    std::map<std::string, std::shared_ptr<const Builders>, std::less<>> builders;
};
