#include "marlek_link_json/jobs/common/jobrequest_json.hpp"

#include "marlek_json_common/json_common/jobs/joboptions_json.hpp"

#include <boost/json.hpp>

boost::json::object makeJobRequestObject(std::string_view command, const std::string& type,
                                         const boost::json::object& parameters,
                                         const boost::json::array& stopConditions,
                                         const boost::json::object& jobMeta, const JobOptions& options)
{
    boost::json::object job;
    job.reserve(4);
    job.emplace("type", type);
    job.emplace("parameters", parameters);
    job.emplace("stop_conditions", stopConditions);
    job.emplace("job_meta", jobMeta);

    boost::json::object request;
    request.emplace("do", command);
    request.emplace("job", std::move(job));
    const boost::json::value setOptions = boost::json::value_from(options);
    for (const auto& option : setOptions.as_object()) {
        // Assignment keeps an existing member in its place.
        request[option.key()] = option.value();
    }
    return request;
}
