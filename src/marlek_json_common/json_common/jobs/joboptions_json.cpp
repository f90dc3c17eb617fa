#include "marlek_json_common/json_common/jobs/joboptions_json.hpp"

#include <boost/json.hpp>

namespace {

bool flag(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    return member != nullptr && member->is_bool() && member->get_bool();
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const JobOptions& options)
{
    boost::json::object object;
    if (options.bypass_queue) {
        object["bypass_queue"] = true;
    }
    if (options.discard_result_data) {
        object["discard_result_data"] = true;
    }
    target = std::move(object);
}

JobOptions tag_invoke(const boost::json::value_to_tag<JobOptions>&, const boost::json::value& source)
{
    if (const auto* object = source.if_object()) {
        return jobOptionsFromJson(*object);
    }
    return {};
}

JobOptions jobOptionsFromJson(const boost::json::object& object)
{
    return JobOptions{flag(object, "bypass_queue"), flag(object, "discard_result_data")};
}
