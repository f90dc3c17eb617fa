#include "marlek_json_common/json_common/jobs/joboptions_json.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

namespace json = boost::json;

TEST(JobOptionsJson, WritesOnlyTheOptionsThatAreSet)
{
    EXPECT_EQ(json::serialize(json::value_from(JobOptions{})), "{}");
    EXPECT_EQ(json::serialize(json::value_from(JobOptions{false, true})), R"({"discard_result_data":true})");
    EXPECT_EQ(json::serialize(json::value_from(JobOptions{true, true})),
              R"({"bypass_queue":true,"discard_result_data":true})");
}

TEST(JobOptionsJson, OnlyJsonBooleansCount)
{
    const auto read = [](const char* text) { return json::value_to<JobOptions>(json::parse(text)); };
    EXPECT_EQ(read(R"({"bypass_queue":1,"discard_result_data":"true"})"), JobOptions{});
    EXPECT_EQ(read(R"({"bypass_queue":null,"discard_result_data":true})"), (JobOptions{false, true}));
    EXPECT_EQ(read(R"([true,true])"), JobOptions{});
}

TEST(JobOptionsJson, PicksOptionsOutOfAWholeRequest)
{
    const auto request = json::parse(
        R"({"do":"/job/start","request_id":"r","job":{"type":"cv"},"bypass_queue":true})");
    EXPECT_EQ(jobOptionsFromJson(request.as_object()), (JobOptions{true, false}));
}
