#pragma once

#include "support/json_text.hpp"

#include "marlek_link_json/jobs/calibration/jobs/calibrate/calibratejob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/get_calibration_data/get_calibration_datajob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/get_filter_usage_matrix/get_filter_usage_matrixjob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/get_mesh_json_file/get_mesh_json_filejob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/set_calibration_data/set_calibration_datajob.hpp"
#include "marlek_link_json/jobs/calibration/jobs/set_mesh_json_file/set_mesh_json_filejob.hpp"
#include "marlek_link_json/jobs/control/jobs/measure_integral/measure_integraljob.hpp"

#include <gtest/gtest.h>

#include <boost/json.hpp>
#include <boost/system/system_error.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace json = boost::json;

inline const std::string SERVICE_PREFIX = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F/";

// {"type": "JOB_DONE", "result": result}
inline json::object completionWith(std::string_view resultText)
{
    return json::object{{"type", "JOB_DONE"}, {"result", json::parse(resultText)}};
}

inline std::vector<std::byte> bytesOf(std::string_view text)
{
    std::vector<std::byte> bytes;
    for (const char c : text) {
        bytes.push_back(static_cast<std::byte>(c));
    }
    return bytes;
}

// The Boost.JSON error code that `action` raises as system_error, or a
// default code when it raises none.
inline boost::system::error_code jsonErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const boost::system::system_error& error) {
        return error.code();
    }
    return {};
}
