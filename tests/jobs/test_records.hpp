#pragma once
// Parameter records and job classes made up for the tests, shaped like the
// workstation's own.

#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe.hpp>

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::string_view TEST_JOB_NAME = "test_sweep";
inline constexpr std::string_view TEST_RESULT_JOB_NAME = "test_result";

BOOST_DEFINE_ENUM_CLASS(TestMode, SLOW, FAST)

struct TestSweepParameters {
    double start_value = 0.0;
    bool autorange = false;
    std::uint64_t repetitions = 1;
    std::string resource_id;
    TestMode mode = TestMode::SLOW;
    friend bool operator==(const TestSweepParameters&, const TestSweepParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(TestSweepParameters, (), (start_value, autorange, repetitions, resource_id, mode))

using TestSweepJob = MeasurementJobTemplate<TestSweepParameters, &TEST_JOB_NAME>;

// Registers the test job kind with the job-parameter registry, once.
void registerTestJobKind();
