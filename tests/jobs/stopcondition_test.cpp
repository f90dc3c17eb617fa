#include "support/json_keys.hpp"
#include "support/xml_print.hpp"

#include "marlek_link_json/jobs/common/stopcondition_factory.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <thread>
#include <vector>

namespace json = boost::json;

namespace {

template <typename Condition>
const typename Condition::Parameters& parametersOf(const std::shared_ptr<AbstractStopCondition>& condition)
{
    const auto* typed = dynamic_cast<const Condition*>(condition.get());
    EXPECT_NE(typed, nullptr);
    return typed->getParameters();
}

} // namespace

TEST(StopCondition, ParameterObjectKeepsMemberOrder)
{
    const MaxLimitStopCondition max({"current", 0.5});
    EXPECT_EQ(max.getType(), "max");
    EXPECT_EQ(max.getParameterObject(), json::parse(R"({"for_dimension": "current", "maximum": 0.5})"));
    EXPECT_EQ(keysOf(max.getParameterObject()), (std::vector<std::string>{"for_dimension", "maximum"}));
    EXPECT_TRUE(max.getParameterObject().at("maximum").is_double());

    const IntegratingLimitStopCondition integrating({"current", "time", 10.0});
    EXPECT_EQ(keysOf(integrating.getParameterObject()),
              (std::vector<std::string>{"for_dimension", "over_dimension", "maximum"}));
    const StabilityToleranceLimitStopCondition stability({"voltage", 0.01, 5.0});
    EXPECT_EQ(keysOf(stability.getParameterObject()),
              (std::vector<std::string>{"for_dimension", "stability_tolerance", "minimum_duration"}));
}

TEST(StopCondition, TypeNamesAreDistinctEvenForEqualShapes)
{
    EXPECT_EQ(MinMaxLimitStopCondition::name, "min_max");
    EXPECT_EQ(InRangeStopCondition::name, "in_range");
    EXPECT_EQ(MinLimitStopCondition::name, "min");
    EXPECT_EQ(IntegratingLimitStopCondition::name, "integrating");
    EXPECT_EQ(StabilityToleranceLimitStopCondition::name, "stability_tolerance");
}

TEST(StopCondition, JsonMakerIgnoresKeyOrderAndExtraKeysAndWidensIntegers)
{
    const auto condition = MinMaxLimitStopCondition::makeFromJson(
        json::parse(R"({"maximum": 3, "minimum": -2, "for_dimension": "voltage", "comment": "time"})"));
    EXPECT_EQ(condition->getType(), "min_max");
    EXPECT_EQ(parametersOf<MinMaxLimitStopCondition>(condition),
              (MinMaxLimitStopConditionParameters{"voltage", -2.0, 3.0}));
}

struct JsonMakerError {
    const char* what;
    const char* json;
    json::error expected;
};

class StopConditionJsonErrors : public testing::TestWithParam<JsonMakerError> {};

TEST_P(StopConditionJsonErrors, RaiseBoostJsonCodes)
{
    try {
        (void)InRangeStopCondition::makeFromJson(json::parse(GetParam().json));
        FAIL() << "no error";
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(e.code(), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    InRange, StopConditionJsonErrors,
    testing::Values(
        JsonMakerError{"missing_maximum", R"({"for_dimension": "voltage", "minimum": 0.1})",
                       json::error::size_mismatch},
        JsonMakerError{"dimension_number", R"({"for_dimension": 5, "minimum": 0.1, "maximum": 1})",
                       json::error::not_string},
        JsonMakerError{"minimum_string", R"({"for_dimension": "voltage", "minimum": "0.1", "maximum": 1})",
                       json::error::not_number},
        JsonMakerError{"array", R"([])", json::error::not_object}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(StopCondition, XmlFormHasTypeThenParametersInMemberOrder)
{
    tinyxml2::XMLDocument document;
    auto* parent = document.NewElement("stop-conditions");
    document.InsertEndChild(parent);
    parent->InsertNewChildElement("existing");
    IntegratingLimitStopCondition({"current", "time", 10.0}).appendAsXmlElement(parent);
    MinLimitStopCondition({"voltage", 0.0001}).appendAsXmlElement(parent);
    EXPECT_EQ(print(*parent),
              "<stop-conditions><existing/>"
              "<stop-condition><type>integrating</type><parameters><for_dimension>current</for_dimension>"
              "<over_dimension>time</over_dimension><maximum>10</maximum></parameters></stop-condition>"
              "<stop-condition><type>min</type><parameters><for_dimension>voltage</for_dimension>"
              "<minimum>1e-04</minimum></parameters></stop-condition></stop-conditions>");
}

struct XmlMakerCase {
    const char* what;
    const char* xml;
    MinLimitStopConditionParameters expected;
};

class StopConditionXmlReading : public testing::TestWithParam<XmlMakerCase> {};

TEST_P(StopConditionXmlReading, NeverFails)
{
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(GetParam().xml), tinyxml2::XML_SUCCESS);
    const auto condition = MinLimitStopCondition::makeFromXml(document.RootElement());
    ASSERT_NE(condition, nullptr);
    EXPECT_EQ(parametersOf<MinLimitStopCondition>(condition), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Min, StopConditionXmlReading,
    testing::Values(
        XmlMakerCase{"complete", "<parameters><for_dimension>time</for_dimension><minimum>-3.5</minimum></parameters>",
                     {"time", -3.5}},
        XmlMakerCase{"no_minimum", "<parameters><for_dimension>time</for_dimension></parameters>", {"time", 0.0}},
        XmlMakerCase{"minimum_not_a_number", "<parameters><minimum>abc</minimum></parameters>", {"", 0.0}},
        XmlMakerCase{"empty_dimension", "<parameters><for_dimension/><minimum>1</minimum></parameters>", {"", 1.0}},
        XmlMakerCase{"extra_children_ignored",
                     "<parameters><x>1</x><minimum>2</minimum><minimum>3</minimum></parameters>", {"", 2.0}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(StopCondition, XmlRoundTripIsExactForFiniteDoubles)
{
    for (const double value : {0.1, 1.0 / 3.0, -1e-310, 1.7976931348623157e308, 100000.0}) {
        tinyxml2::XMLDocument document;
        auto* parent = document.NewElement("stop-conditions");
        StabilityToleranceLimitStopCondition({"voltage", value, -value}).appendAsXmlElement(parent);
        const auto rebuilt = StabilityToleranceLimitStopCondition::makeFromXml(
            parent->FirstChildElement("stop-condition")->FirstChildElement("parameters"));
        EXPECT_EQ(parametersOf<StabilityToleranceLimitStopCondition>(rebuilt),
                  (StabilityToleranceLimitStopConditionParameters{"voltage", value, -value}));
    }
}

TEST(StopConditionFactory, HoldsTheSixTypesInNameOrder)
{
    const auto& builders = StopConditionFactory::getInstance().getBuilders();
    std::vector<std::string> names;
    for (const auto& [name, makers] : builders) {
        names.push_back(name);
        EXPECT_TRUE(makers.first);
        EXPECT_TRUE(makers.second);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"in_range", "integrating", "max", "min", "min_max",
                                               "stability_tolerance"}));
    EXPECT_EQ(StopConditionFactory::getInstance().find("MIN"), nullptr);
}

TEST(StopConditionFactory, RebuildsEveryTypeFromItsJsonAndXmlForms)
{
    const std::vector<std::shared_ptr<AbstractStopCondition>> originals{
        std::make_shared<IntegratingLimitStopCondition>(IntegratingLimitStopConditionParameters{"charge", "time", 2}),
        std::make_shared<MinLimitStopCondition>(MinLimitStopConditionParameters{"voltage", -1}),
        std::make_shared<MaxLimitStopCondition>(MaxLimitStopConditionParameters{"current", 0.5}),
        std::make_shared<MinMaxLimitStopCondition>(MinMaxLimitStopConditionParameters{"voltage", -1, 1}),
        std::make_shared<InRangeStopCondition>(InRangeStopConditionParameters{"voltage", 0.1, 0.2}),
        std::make_shared<StabilityToleranceLimitStopCondition>(
            StabilityToleranceLimitStopConditionParameters{"voltage", 1e-3, 10}),
    };
    const auto& factory = StopConditionFactory::getInstance();
    for (const auto& original : originals) {
        const auto* makers = factory.find(original->getType());
        ASSERT_NE(makers, nullptr) << original->getType();

        const auto fromJson = makers->first(original->getParameterObject());
        EXPECT_EQ(fromJson->getType(), original->getType());
        EXPECT_EQ(fromJson->getParameterObject(), original->getParameterObject());

        tinyxml2::XMLDocument document;
        auto* parent = document.NewElement("stop-conditions");
        original->appendAsXmlElement(parent);
        const auto fromXml =
            makers->second(parent->FirstChildElement("stop-condition")->FirstChildElement("parameters"));
        EXPECT_EQ(fromXml->getType(), original->getType());
        EXPECT_EQ(fromXml->getParameterObject(), original->getParameterObject());
    }
}

TEST(StopConditionFactory, JsonArraySkipsWhatItCannotUseAndKeepsOrder)
{
    const auto conditions = stopConditionsFromJson(json::parse(R"([
        {"type": "min", "parameters": {"for_dimension": "voltage", "minimum": 1}},
        {"type": "unknown_kind", "parameters": {}},
        {"type": "MIN", "parameters": {"for_dimension": "voltage", "minimum": 1}},
        {"type": "max"},
        {"type": "max", "parameters": []},
        {"type": 3, "parameters": {}},
        "min",
        null,
        {"type": "max", "parameters": {"for_dimension": "current", "maximum": 2}}
    ])").as_array());
    ASSERT_EQ(conditions.size(), 2u);
    EXPECT_EQ(conditions[0]->getType(), "min");
    EXPECT_EQ(conditions[1]->getType(), "max");
}

TEST(StopConditionFactory, JsonArrayPropagatesMakerErrors)
{
    try {
        (void)stopConditionsFromJson(
            json::parse(R"([{"type": "min", "parameters": {"for_dimension": "voltage"}}])").as_array());
        FAIL() << "no error";
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(e.code(), json::error::size_mismatch);
    }
}

TEST(StopConditionFactory, ConcurrentFirstUseSeesOneFactory)
{
    std::vector<const StopConditionFactory*> seen(4, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = &StopConditionFactory::getInstance(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto* factory : seen) {
        EXPECT_EQ(factory, seen.front());
    }
}
