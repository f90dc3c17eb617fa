#pragma once

#include "session/session_test_support.hpp"
#include "support/json_keys.hpp"

#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <boost/json.hpp>

#include <string>
#include <vector>

using OcvJob = DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>;

// The parameters of an error as the tests compare them.
inline std::vector<ErrorParameter> textParameters(std::initializer_list<std::string> texts)
{
    std::vector<ErrorParameter> parameters;
    for (const auto& text : texts) {
        parameters.push_back(toErrorParameter(text));
    }
    return parameters;
}

inline ErrorObject incompleteObject()
{
    return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "incomplete json object received");
}

inline ErrorObject unknownError()
{
    return ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured");
}

inline ErrorObject timedOut()
{
    return ErrorObject(ErrorCodeEnum::OPERATION_TIMED_OUT, "operation timed out");
}

// The request the fake received for this command, without its random id.
inline boost::json::object lastRequestWithoutId(FakeRequestRouter& router, std::string_view command)
{
    auto requests = router.requests(command);
    if (requests.empty()) {
        return {};
    }
    auto request = requests.back();
    request.erase("request_id");
    return request;
}

inline boost::json::object jobInfoJson(std::string_view jobId, std::string_view status)
{
    return boost::json::object{{"job_id", jobId}, {"status", status}, {"status_detail", "NOT_FINISHED"},
                               {"type", "ocv"}};
}
