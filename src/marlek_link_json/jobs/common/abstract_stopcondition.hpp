#pragma once

#include <boost/json/fwd.hpp>

#include <memory>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// A limit the workstation watches while a job runs; the library only carries
// it. Conditions are immutable and shared between jobs, job information and
// the caller.
class AbstractStopCondition {
public:
    virtual ~AbstractStopCondition() = default;

    // The type name, e.g. "min"; lives for the whole program.
    virtual const std::string& getType() const = 0;
    virtual boost::json::object getParameterObject() const = 0;
    // Appends this condition's "stop-condition" element as the parent's last child.
    virtual void appendAsXmlElement(tinyxml2::XMLElement* parent) const = 0;

protected:
    AbstractStopCondition() = default;
    AbstractStopCondition(const AbstractStopCondition&) = default;
    AbstractStopCondition& operator=(const AbstractStopCondition&) = default;
};

using StopConditionVector = std::vector<std::shared_ptr<AbstractStopCondition>>;

// The stop conditions handed to a job's constructor, in the order the job
// sends them.
struct StopConditionList {
    StopConditionVector conditions;
};
