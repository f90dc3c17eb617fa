#pragma once

#include "marlek_link_json/jobs/common/abstract_stopcondition.hpp"

#include <boost/json/fwd.hpp>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// Rebuilds stop conditions from their type name and their JSON parameter
// object or XML "parameters" element. Built on first use and never changed
// afterwards, so any thread may read it.
class StopConditionFactory {
public:
    using JsonMaker = std::function<std::shared_ptr<AbstractStopCondition>(const boost::json::value&)>;
    using XmlMaker = std::function<std::shared_ptr<AbstractStopCondition>(tinyxml2::XMLElement*)>;
    using Makers = std::pair<JsonMaker, XmlMaker>;

    static const StopConditionFactory& getInstance();

    // The makers of a type name (exact, case-sensitive); null when unknown.
    const Makers* find(std::string_view typeName) const;

    const std::map<std::string, Makers, std::less<>>& getBuilders() const { return builders; }

    StopConditionFactory(const StopConditionFactory&) = delete;
    StopConditionFactory& operator=(const StopConditionFactory&) = delete;

private:
    StopConditionFactory();
    void registerType(const std::string& typeName, JsonMaker jsonMaker, XmlMaker xmlMaker);

    std::map<std::string, Makers, std::less<>> builders;
};

// The conditions of a JSON "stop_conditions" array, in array order. Elements
// that are not objects, lack a string "type" or an object "parameters", or
// name an unknown type are skipped; a maker's error propagates.
StopConditionVector stopConditionsFromJson(const boost::json::array& stopConditions);
