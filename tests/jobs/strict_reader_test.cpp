#include "marlek_json_common/json_common/json/strict_reader.hpp"

#include <boost/describe.hpp>
#include <boost/json.hpp>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <variant>
#include <vector>

namespace json = boost::json;

namespace {

BOOST_DEFINE_ENUM_CLASS(Coupling, POTENTIOSTATIC, GALVANOSTATIC, FRA_PROBE)

struct Inner {
    double gain = 0.0;
    friend bool operator==(const Inner&, const Inner&) = default;
};
BOOST_DESCRIBE_STRUCT(Inner, (), (gain))

struct Record {
    double start_value = 0.0;
    bool autorange = false;
    std::uint64_t repetitions = 1;
    std::string resource_id;
    std::vector<double> values;
    std::uint8_t red = 0;
    Coupling coupling = Coupling::POTENTIOSTATIC;
    std::variant<bool, int, double, std::string> value;
    std::vector<Inner> inners;
    friend bool operator==(const Record&, const Record&) = default;
};
BOOST_DESCRIBE_STRUCT(Record, (),
                      (start_value, autorange, repetitions, resource_id, values, red, coupling, value, inners))

json::object completeRecord()
{
    return json::parse(R"({"start_value": 1.5, "autorange": true, "repetitions": 3, "resource_id": "abc",
        "values": [1, 2.5, -3], "red": 255, "coupling": "GALVANOSTATIC", "value": 7, "inners": [{"gain": 2}]})")
        .as_object();
}

json::error errorOf(const json::value& source)
{
    try {
        (void)StrictJson::read<Record>(source);
    } catch (const boost::system::system_error& e) {
        if (e.code() == json::error::not_number) return json::error::not_number;
        if (e.code() == json::error::not_exact) return json::error::not_exact;
        if (e.code() == json::error::not_bool) return json::error::not_bool;
        if (e.code() == json::error::not_array) return json::error::not_array;
        if (e.code() == json::error::not_object) return json::error::not_object;
        if (e.code() == json::error::not_string) return json::error::not_string;
        if (e.code() == json::error::size_mismatch) return json::error::size_mismatch;
        if (e.code() == json::error::exhausted_variants) return json::error::exhausted_variants;
        if (e.code() == json::error::unknown_name) return json::error::unknown_name;
        if (e.code() == json::error::exception) return json::error::exception;
        ADD_FAILURE() << "unexpected code " << e.code().message();
    }
    ADD_FAILURE() << "no error raised";
    return json::error::test_failure;
}

} // namespace

TEST(StrictReader, ReadsEveryMemberKind)
{
    auto source = completeRecord();
    source["extra"] = "ignored";
    const auto record = StrictJson::read<Record>(source);
    EXPECT_EQ(record.start_value, 1.5);
    EXPECT_TRUE(record.autorange);
    EXPECT_EQ(record.repetitions, 3u);
    EXPECT_EQ(record.resource_id, "abc");
    EXPECT_EQ(record.values, (std::vector<double>{1.0, 2.5, -3.0}));
    EXPECT_EQ(record.red, 255);
    EXPECT_EQ(record.coupling, Coupling::GALVANOSTATIC);
    EXPECT_EQ(record.value, (std::variant<bool, int, double, std::string>(7)));
    EXPECT_EQ(record.inners, (std::vector<Inner>{{2.0}}));
}

TEST(StrictReader, KeyOrderDoesNotMatter)
{
    const auto forward = completeRecord();
    json::object backward;
    for (auto it = forward.end(); it != forward.begin();) {
        --it;
        backward[it->key()] = it->value();
    }
    EXPECT_EQ(StrictJson::read<Record>(forward), StrictJson::read<Record>(backward));
}

struct StrictErrorCase {
    const char* what;
    const char* key;
    const char* valueJson; // null: remove the key
    json::error expected;
};

class StrictReaderErrors : public testing::TestWithParam<StrictErrorCase> {};

TEST_P(StrictReaderErrors, RaisesTheCodeOfTheFirstFailure)
{
    const auto& c = GetParam();
    auto source = completeRecord();
    if (c.valueJson == nullptr) {
        source.erase(c.key);
    } else {
        source[c.key] = json::parse(c.valueJson);
    }
    EXPECT_EQ(errorOf(source), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Members, StrictReaderErrors,
    testing::Values(
        StrictErrorCase{"missing key", "start_value", nullptr, json::error::size_mismatch},
        StrictErrorCase{"double from string", "start_value", R"("1")", json::error::not_number},
        StrictErrorCase{"double from bool", "start_value", "true", json::error::not_number},
        StrictErrorCase{"double from null", "start_value", "null", json::error::not_number},
        StrictErrorCase{"bool from number", "autorange", "1", json::error::not_bool},
        StrictErrorCase{"bool from string", "autorange", R"("true")", json::error::not_bool},
        StrictErrorCase{"uint fraction", "repetitions", "3.5", json::error::not_exact},
        StrictErrorCase{"uint negative", "repetitions", "-1", json::error::not_exact},
        StrictErrorCase{"uint 2^64 as double", "repetitions", "18446744073709551616.0", json::error::not_exact},
        StrictErrorCase{"uint from string", "repetitions", R"("3")", json::error::not_number},
        StrictErrorCase{"string from number", "resource_id", "17", json::error::not_string},
        StrictErrorCase{"vector from object", "values", "{}", json::error::not_array},
        StrictErrorCase{"vector element null", "values", "[1, null]", json::error::not_number},
        StrictErrorCase{"uint8 256", "red", "256", json::error::not_exact},
        StrictErrorCase{"uint8 -1", "red", "-1", json::error::not_exact},
        StrictErrorCase{"uint8 fraction", "red", "12.5", json::error::not_exact},
        StrictErrorCase{"uint8 from string", "red", R"("12")", json::error::not_number},
        StrictErrorCase{"enum lower case", "coupling", R"("galvanostatic")", json::error::unknown_name},
        StrictErrorCase{"enum from number", "coupling", "1", json::error::not_string},
        StrictErrorCase{"variant null", "value", "null", json::error::exhausted_variants},
        StrictErrorCase{"variant array", "value", "[]", json::error::exhausted_variants},
        StrictErrorCase{"nested not object", "inners", "[5]", json::error::not_object},
        StrictErrorCase{"nested missing key", "inners", "[{}]", json::error::size_mismatch}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (auto& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(StrictReader, KeyInAnotherCaseCountsAsMissing)
{
    auto source = completeRecord();
    source.erase("start_value");
    source["Start_value"] = 1.0;
    EXPECT_EQ(errorOf(source), json::error::size_mismatch);
}

TEST(StrictReader, FirstFailureInDescriptionOrderWins)
{
    auto source = completeRecord();
    source.erase("start_value");
    source["autorange"] = "no";
    EXPECT_EQ(errorOf(source), json::error::size_mismatch);

    source = completeRecord();
    source["autorange"] = 1;
    source["repetitions"] = -1;
    EXPECT_EQ(errorOf(source), json::error::not_bool);
}

TEST(StrictReader, NonObjectsAreRefused)
{
    EXPECT_EQ(errorOf(json::array{}), json::error::not_object);
    EXPECT_EQ(errorOf(json::value(3)), json::error::not_object);
    EXPECT_EQ(errorOf(json::value(nullptr)), json::error::not_object);
}

TEST(StrictReader, UnsignedAcceptsWholeNumbersOfEveryKind)
{
    struct Case {
        const char* text;
        std::uint64_t expected;
    };
    for (const auto& c : {Case{"3", 3}, Case{"3.0", 3}, Case{"-0.0", 0},
                          Case{"18446744073709551615", std::numeric_limits<std::uint64_t>::max()},
                          Case{"18446744073709549568.0", 18446744073709549568ull}}) {
        EXPECT_EQ(StrictJson::read<std::uint64_t>(json::parse(c.text)), c.expected) << c.text;
    }
    EXPECT_EQ(StrictJson::read<std::uint8_t>(json::parse("12.0")), 12);
}

TEST(StrictReader, VariantTakesTheFirstAlternativeThatFits)
{
    using V = std::variant<bool, int, double, std::string>;
    struct Case {
        const char* text;
        V expected;
    };
    for (const auto& c : {Case{"true", V(true)}, Case{"7", V(7)}, Case{"7.0", V(7)}, Case{"-0.0", V(0)},
                          Case{"7.5", V(7.5)}, Case{"3000000000", V(3000000000.0)},
                          Case{"-2147483648", V(-2147483647 - 1)}, Case{R"("x")", V(std::string("x"))}}) {
        const auto read = StrictJson::read<V>(json::parse(c.text));
        EXPECT_EQ(read, c.expected) << c.text;
        EXPECT_EQ(read.index(), c.expected.index()) << c.text;
    }
}

TEST(StrictReader, DoubleKeepsNonFiniteValues)
{
    json::parse_options options;
    options.allow_infinity_and_nan = true;
    const auto value = json::parse("[Infinity]", {}, options);
    EXPECT_EQ(StrictJson::read<std::vector<double>>(value).at(0), std::numeric_limits<double>::infinity());
}

namespace {

struct Throwing {
    int payload = 0;
};

Throwing tag_invoke(const json::value_to_tag<Throwing>&, const json::value& source)
{
    if (source.is_string()) {
        throw std::runtime_error("not for us");
    }
    if (!source.is_number()) {
        boost::throw_exception(boost::system::system_error(json::error::not_double));
    }
    return Throwing{1};
}

} // namespace

template <>
struct StrictJson::Converter<Throwing> : StrictJson::ValueToConverter<Throwing> {};

TEST(StrictReader, OwnConvertersReportTheirErrors)
{
    EXPECT_EQ(StrictJson::read<Throwing>(json::value(1)).payload, 1);
    try {
        (void)StrictJson::read<std::vector<Throwing>>(json::parse(R"([1, "x"])"));
        FAIL();
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(e.code(), json::error::exception);
    }
    try {
        (void)StrictJson::read<std::vector<Throwing>>(json::parse("[1, null]"));
        FAIL();
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(e.code(), json::error::not_double);
    }
}
