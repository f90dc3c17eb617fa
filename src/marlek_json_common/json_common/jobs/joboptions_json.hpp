#pragma once

#include "marlek_json_common/json_common/jobs/joboptions.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Only the options that are set are written: {} for the defaults.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const JobOptions& options);

// A value that is not an object reads as the defaults.
JobOptions tag_invoke(const boost::json::value_to_tag<JobOptions>&, const boost::json::value& source);

// Picks the two options out of an object that may hold anything else too (a
// whole request or job information); a member that is not a boolean is false.
JobOptions jobOptionsFromJson(const boost::json::object& object);
