#pragma once

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <memory>
#include <vector>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// Writers append their element to `parent`; readers take the element itself
// and never raise errors of their own: what is missing or malformed falls
// back to a default.

// "last-error": "number", "code", "message" (the raw format string) and
// "message-parameters".
void appendErrorElement(const ErrorObject& error, tinyxml2::XMLElement* parent);
// Without a "code" child, or with a "code" child without text, the error is
// UNKNOWN_ERR "an unknown error occured".
ErrorObject readErrorElement(tinyxml2::XMLElement* lastError);

// "options" with one "option" per set option; nothing when none is set.
void appendJobOptionsElement(const JobOptions& options, tinyxml2::XMLElement* parent);
JobOptions readJobOptionsElement(tinyxml2::XMLElement* options);

// "stop-conditions" (always), one "stop-condition" per condition in list
// order; empty entries are skipped.
void appendStopConditionsElement(const std::vector<std::shared_ptr<AbstractStopCondition>>& stopConditions,
                                 tinyxml2::XMLElement* parent);
std::vector<std::shared_ptr<AbstractStopCondition>> readStopConditionsElement(tinyxml2::XMLElement* stopConditions);

namespace MXml {

void appendJobinfoElement(const JobInfo& info, tinyxml2::XMLElement* parent);
JobInfo jobInfoFromElement(tinyxml2::XMLElement* jobInfo);

} // namespace MXml
