#include "job_completion.hpp"

#include "fake_workstation/fake_hardware_answers.hpp"
#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"
#include "marlek_link_json/jobs/control/jobs/get_potentiostat_state/get_potentiostat_statejob.hpp"
#include "marlek_link_json/jobs/control/potentiostat_state/potentiostat_state_json.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <boost/json.hpp>

#include <functional>
#include <memory>

namespace json = boost::json;

using StateParameters = SerializableParameterStruct<GetPotentiostatStateParameters>;

TEST(PotentiostatState, NewJobHoldsTheZeroState)
{
    const GetPotentiostatStateJob job(GetPotentiostatStateParameters{"MAIN:1:POT"}, JobOptions{});
    const auto state = job.getJobResult();
    EXPECT_EQ(state, PotentiostatState{});
    EXPECT_FALSE(state.switched_on);
    EXPECT_FALSE(state.autocompensation_on);
    EXPECT_EQ(state.bias, 0.0);
    EXPECT_EQ(state.coupling, PotentiostatCoupling::POTENTIOSTATIC);
    EXPECT_EQ(state.voltage_range_index, 0);
    EXPECT_EQ(state.bandwidth_index, 0);
    EXPECT_EQ(state.current_range_relaxation_time, 0.0);
    EXPECT_TRUE(state.active_bandwidth_indexes.empty());
}

TEST(PotentiostatState, ReadsAndKeepsTheLastReadableState)
{
    GetPotentiostatStateJob job(GetPotentiostatStateParameters{"354531:POT"}, JobOptions{});
    auto reported = fake_workstation::potentiostatStateResult();
    reported["current_range_index"] = 2.0;
    reported["bias"] = 1;
    reported["active_bandwidth_indexes"] = json::array{1, -1};
    reported["unknown"] = "ignored";
    job.processJobResult(completion(reported));
    const auto state = job.getJobResult();
    EXPECT_EQ(state.current_range_index, 2);
    EXPECT_EQ(state.bias, 1.0);
    EXPECT_EQ(state.coupling, PotentiostatCoupling::GALVANOSTATIC);
    EXPECT_EQ(state.active_bandwidth_indexes, (std::vector<std::int32_t>{1, -1}));

    job.processJobResult(completion(nullptr));
    job.processJobResult({{"type", "JOB_DONE"}});
    EXPECT_EQ(job.getJobResult(), state);

    reported.erase("active_bandwidth_indexes");
    EXPECT_THROW(job.processJobResult(completion(reported)), boost::system::system_error);
    EXPECT_EQ(job.getJobResult(), state);
}

struct BrokenState {
    const char* what;
    std::function<void(json::object&)> breakIt;
    json::error expected;
};

class PotentiostatStateErrors : public ::testing::TestWithParam<BrokenState> {};

TEST_P(PotentiostatStateErrors, FirstFailureIsReported)
{
    auto state = fake_workstation::potentiostatStateResult();
    GetParam().breakIt(state);
    try {
        (void)json::value_to<PotentiostatState>(json::value(state));
        ADD_FAILURE() << GetParam().what << " read without error";
    } catch (const boost::system::system_error& error) {
        EXPECT_EQ(error.code(), GetParam().expected) << GetParam().what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PotentiostatStateErrors,
    ::testing::Values(
        BrokenState{"lower-case coupling", [](json::object& s) { s["coupling"] = "potentiostatic"; },
                    json::error::unknown_name},
        BrokenState{"numeric coupling", [](json::object& s) { s["coupling"] = 0; }, json::error::not_string},
        BrokenState{"fractional index", [](json::object& s) { s["current_range_index"] = 2.5; },
                    json::error::not_exact},
        BrokenState{"index 2^31", [](json::object& s) { s["current_range_index"] = 2147483648LL; },
                    json::error::not_exact},
        BrokenState{"index as text", [](json::object& s) { s["current_range_index"] = "2"; },
                    json::error::not_number},
        BrokenState{"switched_on 1", [](json::object& s) { s["switched_on"] = 1; }, json::error::not_bool},
        BrokenState{"list not an array", [](json::object& s) { s["active_current_range_indexes"] = 1; },
                    json::error::not_array},
        BrokenState{"list element fractional",
                    [](json::object& s) { s["active_bandwidth_indexes"] = json::array{0.5}; },
                    json::error::not_exact},
        // The earlier missing key wins over the later broken one.
        BrokenState{"missing switched_on before a bad coupling",
                    [](json::object& s) {
                        s.erase("switched_on");
                        s["coupling"] = 1;
                    },
                    json::error::size_mismatch}));

TEST(PotentiostatStateParameters, JsonAndXmlForms)
{
    const GetPotentiostatStateJob job(GetPotentiostatStateParameters{"MAIN:1:POT"}, JobOptions{});
    EXPECT_EQ(json::serialize(job.getParameterObject()), R"({"potentiostat":"MAIN:1:POT"})");

    tinyxml2::XMLDocument document;
    MXml::XmlSerializer serializer{&document, nullptr};
    StateParameters(GetPotentiostatStateParameters{"XPC:1:EXT2:POT"}).acceptSerializer(serializer);
    ASSERT_NE(serializer.element, nullptr);
    tinyxml2::XMLPrinter printer(nullptr, true);
    serializer.element->Accept(&printer);
    EXPECT_STREQ(printer.CStr(), "<parameters><potentiostat>XPC:1:EXT2:POT</potentiostat></parameters>");

    const auto back = std::dynamic_pointer_cast<StateParameters>(StateParameters::fromXmlElement(serializer.element));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->getRecord().potentiostat, "XPC:1:EXT2:POT");

    auto* empty = document.NewElement("parameters");
    const auto none = std::dynamic_pointer_cast<StateParameters>(StateParameters::fromXmlElement(empty));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->getRecord().potentiostat, "");
}

TEST(HardwareJobRegistrations, PotentiostatStateAndHardwareSettings)
{
    const auto& factory = JobParameterFactory::getInstance();
    const auto state = factory.find("get_potentiostat_state");
    ASSERT_NE(state, nullptr);
    const auto built = std::dynamic_pointer_cast<StateParameters>(state->first(json::parse(R"({"potentiostat":"X"})")));
    ASSERT_TRUE(built);
    EXPECT_EQ(built->getRecord().potentiostat, "X");
    EXPECT_THROW(state->first(json::parse("[]")), boost::system::system_error);
    EXPECT_THROW(state->first(json::parse(R"({"potentiostat":1})")), boost::system::system_error);

    const auto settings = factory.find("set_hardware_settings");
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->first(
        json::parse(R"({"output_potentiostats":[],"channels":[],"impedance_configurations":[]})")));
    try {
        settings->first(json::parse(R"({"output_potentiostats":[],"impedance_configurations":[]})"));
        ADD_FAILURE() << "read without channels";
    } catch (const boost::system::system_error& error) {
        EXPECT_EQ(error.code(), json::error::size_mismatch);
    }
    try {
        settings->first(json::parse(R"({"output_potentiostats":[3],"channels":[],"impedance_configurations":[]})"));
        ADD_FAILURE() << "read a number as potentiostat";
    } catch (const boost::system::system_error& error) {
        EXPECT_EQ(error.code(), json::error::not_object);
    }
    tinyxml2::XMLDocument document;
    EXPECT_EQ(settings->second(document.NewElement("parameters")), nullptr);
}
