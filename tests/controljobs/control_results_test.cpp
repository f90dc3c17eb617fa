// What the single-value jobs make of the "result" member of their JOB_DONE.

#include "control_jobs.hpp"

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"

#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace {

json::object doneWith(std::string_view result)
{
    return objectOf(std::string(R"({"type":"JOB_DONE","job_info":{"job_id":"job-0001","status":"FINISHED"},"result":)")
                    + std::string(result) + "}");
}

const json::object DONE_WITHOUT_RESULT = objectOf(R"({"type":"JOB_DONE","job_info":{"status":"FINISHED"}})");

// The code of the conversion error the extraction raised; none when it
// raised nothing.
template <typename Job>
boost::system::error_code errorOfExtracting(Job& job, std::string_view result)
{
    try {
        job.processJobResult(doneWith(result));
    } catch (const boost::system::system_error& error) {
        return error.code();
    }
    return {};
}

TEST(SingleValueResults, NewJobsStartWithDefinedValues)
{
    EXPECT_EQ(SwitchOnJob(SwitchOnParameters{}, JobOptions{}).getJobResult(), (SwitchOnInfo{0.0, 0.0, 0.0}));
    EXPECT_TRUE(GetAdcStateJob(GetAdcStateParameters{}, JobOptions{}).getJobResult().active_gain_indexes.empty());
    EXPECT_EQ(GetHardwarePropertyJob(GetHardwarePropertyParameters{}, JobOptions{}).getJobResult(),
              HardwarePropertyValue(false));
    EXPECT_EQ(GetDateTimeJob(Parameterless{}, JobOptions{}).getJobResult(), "");

    const WorkstationInfo unknown;
    EXPECT_EQ(unknown.protocol_version, 0u);
    EXPECT_EQ(unknown.mode, WorkstationModeEnum::NORMAL);
}

TEST(SingleValueResults, SwitchOnInfoNeedsThreeNumbers)
{
    struct Case {
        std::string result;
        boost::system::error_code error;
        SwitchOnInfo expected;
    };
    const SwitchOnInfo previous{9.0, 8.0, 7.0};
    const Case cases[] = {
        {R"({"applied_bias":1,"voltage":0,"current":0})", {}, {1.0, 0.0, 0.0}},
        {R"({"current":-0.125,"voltage":0.5,"applied_bias":0.25,"more":[]})", {}, {0.25, 0.5, -0.125}},
        {R"({"applied_bias":1.5,"voltage":true,"current":0.0})", json::error::not_number, previous},
        {R"({"applied_bias":1.5,"voltage":0.0})", json::error::size_mismatch, previous},
        {R"({"voltage":"x","current":0.0})", json::error::size_mismatch, previous},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        SwitchOnJob job(SwitchOnParameters{}, JobOptions{});
        job.processJobResult(doneWith(R"({"applied_bias":9,"voltage":8,"current":7})"));
        EXPECT_EQ(errorOfExtracting(job, c.result), c.error);
        EXPECT_EQ(job.getJobResult(), c.expected);
        EXPECT_EQ(job.getLastJobInfo().jobId, "job-0001") << "the job information is taken before the result";
    }
}

TEST(SingleValueResults, AdcGainIndexesMustBeExactInts)
{
    struct Case {
        std::string result;
        boost::system::error_code error;
        std::vector<int> expected;
    };
    const std::vector<int> previous{5};
    const Case cases[] = {
        {R"({"active_gain_indexes":[2.0,3]})", {}, {2, 3}},
        {R"({"active_gain_indexes":[]})", {}, {}},
        {R"({"active_gain_indexes":[-2147483648,2147483647]})", {}, {-2147483648, 2147483647}},
        {R"({"active_gain_indexes":[2.5]})", json::error::not_exact, previous},
        {R"({"active_gain_indexes":[3000000000]})", json::error::not_exact, previous},
        {R"({"active_gain_indexes":[1,"2"]})", json::error::not_number, previous},
        {R"({"active_gain_indexes":3})", json::error::not_array, previous},
        {R"({"gains":[1]})", json::error::size_mismatch, previous},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        GetAdcStateJob job(GetAdcStateParameters{}, JobOptions{});
        job.processJobResult(doneWith(R"({"active_gain_indexes":[5]})"));
        EXPECT_EQ(errorOfExtracting(job, c.result), c.error);
        EXPECT_EQ(job.getJobResult().active_gain_indexes, c.expected);
    }
}

TEST(SingleValueResults, HardwarePropertyTakesTheValueByItsKind)
{
    struct Case {
        std::string value;
        HardwarePropertyValue expected;
    };
    const HardwarePropertyValue previous = std::string("previous");
    const Case cases[] = {
        {"3", 3},
        {"3.0", 3},
        {"-2147483648", -2147483647 - 1},
        {"3.25", 3.25},
        {"3000000000", 3000000000.0},
        {"true", true},
        {"false", false},
        {R"("on")", std::string("on")},
        {"null", previous},
        {"[1]", previous},
        {R"({"v":1})", previous},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        GetHardwarePropertyJob job(GetHardwarePropertyParameters{}, JobOptions{});
        job.processJobResult(doneWith(R"({"value":"previous"})"));
        job.processJobResult(doneWith(R"({"value":)" + c.value + "}"));
        EXPECT_EQ(job.getJobResult(), c.expected);
        EXPECT_EQ(job.getJobResult().index(), c.expected.index());
    }
}

TEST(SingleValueResults, DateTimeTakesOnlyAString)
{
    GetDateTimeJob job(Parameterless{}, JobOptions{});
    job.processJobResult(doneWith(R"({"datetime":"2025-01-01T00:00:00"})"));
    EXPECT_EQ(job.getJobResult(), "2025-01-01T00:00:00");
    for (const char* result : {R"({"datetime":5})", R"({"datetime":null})", R"({})", "[]", R"("text")"}) {
        SCOPED_TRACE(result);
        job.processJobResult(doneWith(result));
        EXPECT_EQ(job.getJobResult(), "2025-01-01T00:00:00");
    }
}

// A missing or non-object "result" (also the completion the library makes
// up for a lost connection) leaves every stored result as it was.
TEST(SingleValueResults, MissingOrNonObjectResultChangesNothing)
{
    SwitchOnJob switchOn(SwitchOnParameters{}, JobOptions{});
    switchOn.processJobResult(doneWith(R"({"applied_bias":1,"voltage":2,"current":3})"));
    GetAdcStateJob adc(GetAdcStateParameters{}, JobOptions{});
    adc.processJobResult(doneWith(R"({"active_gain_indexes":[1]})"));
    GetHardwarePropertyJob property(GetHardwarePropertyParameters{}, JobOptions{});
    property.processJobResult(doneWith(R"({"value":7})"));

    for (const json::object& done : {DONE_WITHOUT_RESULT, doneWith("null"), doneWith("[1,2]"), doneWith("4")}) {
        SCOPED_TRACE(json::serialize(done));
        EXPECT_NO_THROW(switchOn.processJobResult(done));
        EXPECT_NO_THROW(adc.processJobResult(done));
        EXPECT_NO_THROW(property.processJobResult(done));
        EXPECT_EQ(switchOn.getJobResult(), (SwitchOnInfo{1.0, 2.0, 3.0}));
        EXPECT_EQ(adc.getJobResult().active_gain_indexes, std::vector<int>{1});
        EXPECT_EQ(property.getJobResult(), HardwarePropertyValue(7));
    }
}

} // namespace
