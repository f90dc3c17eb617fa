#pragma once

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/common/jobstatus.hpp"

#include <boost/describe/class.hpp>
#include <boost/json/fwd.hpp>

#include <map>
#include <string>

class JobInfo;
class LinkJsonSession;

// Job family as reported by getType.
enum class JobTypeEnum : int {
    AC = 0,
    DC = 1,
    OTHER = 2,
};

// Everything the workstation runs as a job, as the session sees it: the
// session asks for what goes into the request, then feeds the workstation's
// answers back in.
class AbstractMeasurementJob {
public:
    // The parameter record of jobs that take no parameters: {} in JSON, an
    // empty "parameters" element in XML.
    struct Parameterless {
        friend bool operator==(const Parameterless&, const Parameterless&) = default;
        BOOST_DESCRIBE_CLASS(Parameterless, (), (), (), ())
    };

    virtual ~AbstractMeasurementJob() = default;

    // The job's name on the wire.
    virtual const std::string& getName() const = 0;
    // Takes in the job completion message.
    virtual void processJobResult(const boost::json::object& completion) = 0;
    virtual boost::json::object getParameterObject() const = 0;
    virtual const JobInfo& getLastJobInfo() const = 0;
    virtual void setLastJobInfo(const JobInfo& info) = 0;
    virtual JobStatusEnum getLastJobStatus() const = 0;
    virtual std::string getLastJobErrorMessage() const = 0;
    virtual bool wasSuccessful() const = 0;
    // Registers the job's live-data handlers with the session, and removes them.
    virtual void setEventHandlers(LinkJsonSession& session) = 0;
    virtual void removeEventHandlers(LinkJsonSession& session) = 0;
    virtual void setMetaData(const std::map<std::string, std::string>& metaData) = 0;
    virtual std::map<std::string, std::string>& getMetaData() = 0;
    virtual boost::json::object getMetaDataObject() const = 0;
    virtual boost::json::array getStopConditionsArray() const = 0;
    virtual void setFailed(ErrorObject&& error, JobStatusDetailEnum detail) = 0;
    virtual const JobOptions& getJobOptions() const = 0;
    virtual JobTypeEnum getType() const = 0;

protected:
    AbstractMeasurementJob() = default;
    AbstractMeasurementJob(const AbstractMeasurementJob&) = default;
    AbstractMeasurementJob(AbstractMeasurementJob&&) = default;
    AbstractMeasurementJob& operator=(const AbstractMeasurementJob&) = default;
    AbstractMeasurementJob& operator=(AbstractMeasurementJob&&) = default;
};
