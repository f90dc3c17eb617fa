// The twelve DC records, one table per record: the keys of the JSON form in
// order with the kind of each value and the text of each XML child. Every
// check below runs over every record.

#include "dc_test_support.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"

#include <boost/describe/members.hpp>
#include <boost/mp11/algorithm.hpp>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace {

struct Field {
    std::string key;
    json::kind kind;
    std::string xmlText;
};

using Children = std::vector<std::pair<std::string, std::string>>;

constexpr auto D = json::kind::double_;
constexpr auto B = json::kind::bool_;
constexpr auto U = json::kind::uint64;
constexpr auto A = json::kind::array;
constexpr auto S = json::kind::string;

template <typename Job>
struct Case;

template <>
struct Case<OcvJob> {
    static constexpr const char* name = "ocv";
    static OcvParameters record() { return {10.0, 0.00001}; }
    static std::vector<Field> fields() { return {{"duration", D, "10"}, {"output_data_rate", D, "1e-05"}}; }
};

template <>
struct Case<CvJob> {
    static constexpr const char* name = "cv";
    static CvParameters record()
    {
        return {0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, true, 0.01, false, 0.01, -0.01, 0.00001, 0.0};
    }
    static std::vector<Field> fields()
    {
        return {{"start_value", D, "0"},          {"first_vertex", D, "1"},         {"second_vertex", D, "-1"},
                {"end_value", D, "0"},            {"scan_rate", D, "0.1"},          {"output_data_rate", D, "25"},
                {"num_cycles", D, "2.5"},         {"autorange", B, "true"},         {"current_range", D, "0.01"},
                {"turn_limit_check", B, "false"}, {"upper_turn_boundary", D, "0.01"}, {"lower_turn_boundary", D, "-0.01"},
                {"step_height", D, "1e-05"},      {"ir_drop", D, "0"}};
    }
};

template <>
struct Case<FastCyclingJob> {
    static constexpr const char* name = "fast_cycling";
    static FastCyclingParameters record() { return {0.001, -0.001, 0.0, 1.0, 1000.0, 0.5, false, 0.001, true, 1.5, 0.5}; }
    static std::vector<Field> fields()
    {
        return {{"first_step", D, "0.001"},    {"second_step", D, "-0.001"},       {"end_value", D, "0"},
                {"step_time", D, "1"},         {"output_data_rate", D, "1000"},    {"num_cycles", D, "0.5"},
                {"autorange", B, "false"},     {"current_range", D, "0.001"},      {"turn_limit_check", B, "true"},
                {"upper_turn_boundary", D, "1.5"}, {"lower_turn_boundary", D, "0.5"}};
    }
};

template <>
struct Case<AcCvJob> {
    static constexpr const char* name = "ac_cv";
    static AcCvParameters record()
    {
        return {0.1, 1.2, -0.8, 0.0, 0.05, 50.0, 2.5, false, 0.001, true, 0.02, -0.02, 0.0, 0.01, 100000.0};
    }
    static std::vector<Field> fields()
    {
        return {{"start_value", D, "0.1"},       {"first_vertex", D, "1.2"},          {"second_vertex", D, "-0.8"},
                {"end_value", D, "0"},           {"scan_rate", D, "0.05"},            {"output_data_rate", D, "50"},
                {"num_cycles", D, "2.5"},        {"autorange", B, "false"},           {"current_range", D, "0.001"},
                {"turn_limit_check", B, "true"}, {"upper_turn_boundary", D, "0.02"},  {"lower_turn_boundary", D, "-0.02"},
                {"step_height", D, "0"},         {"ac_amplitude", D, "0.01"},         {"ac_frequency", D, "1e+05"}};
    }
};

template <>
struct Case<PogaJob> {
    static constexpr const char* name = "poga";
    static PogaParameters record() { return {0.5, 60.0, 10.0, true, 0.1}; }
    static std::vector<Field> fields()
    {
        return {{"bias", D, "0.5"}, {"duration", D, "60"}, {"output_data_rate", D, "10"}, {"autorange", B, "true"},
                {"current_range", D, "0.1"}};
    }
};

template <>
struct Case<RampJob> {
    static constexpr const char* name = "ramp";
    static RampParameters record() { return {0.0, 1.0, 0.1, 0.0, 10.0, true, 0.1}; }
    static std::vector<Field> fields()
    {
        return {{"output_data_rate", D, "10"}, {"current_range", D, "0.1"}, {"start_value", D, "0"},
                {"end_value", D, "1"},         {"scan_rate", D, "0.1"},     {"step_height", D, "0"},
                {"autorange", B, "true"}};
    }
};

template <>
struct Case<SteadyStairsJob> {
    static constexpr const char* name = "steady_stairs";
    static SteadyStairsParameters record() { return {0.0, 1.0, 10.0, 0.05, 2.0, 0.0001, 5.0, false, 0.01}; }
    static std::vector<Field> fields()
    {
        return {{"start_value", D, "0"},          {"end_value", D, "1"},          {"step_time", D, "10"},
                {"step_height", D, "0.05"},       {"hold_time", D, "2"},          {"stability_tolerance", D, "1e-04"},
                {"output_data_rate", D, "5"},     {"autorange", B, "false"},      {"current_range", D, "0.01"}};
    }
};

template <>
struct Case<DpvJob> {
    static constexpr const char* name = "dpv";
    static DpvParameters record() { return {-0.2, 0.005, 0.05, 0.6, 0.5, 0.05, true, 200.0, 0.001}; }
    static std::vector<Field> fields()
    {
        return {{"output_data_rate", D, "200"}, {"current_range", D, "0.001"}, {"start_value", D, "-0.2"},
                {"step_value", D, "0.005"},     {"pulse_value", D, "0.05"},    {"invert_pulse", B, "true"},
                {"end_value", D, "0.6"},        {"step_time", D, "0.5"},       {"pulse_time", D, "0.05"}};
    }
};

template <>
struct Case<NpvJob> {
    static constexpr const char* name = "npv";
    static NpvParameters record() { return {0.0, 0.1, 0.01, 0.5, 0.2, 0.05, 100.0, 0.01}; }
    static std::vector<Field> fields()
    {
        return {{"output_data_rate", D, "100"}, {"current_range", D, "0.01"}, {"base_value", D, "0"},
                {"start_value", D, "0.1"},      {"step_value", D, "0.01"},    {"end_value", D, "0.5"},
                {"step_time", D, "0.2"},        {"pulse_time", D, "0.05"}};
    }
};

template <>
struct Case<SwvJob> {
    static constexpr const char* name = "swv";
    static SwvParameters record() { return {0.0, 0.01, 0.05, 1.5, 0.4, 200.0, 0.1}; }
    static std::vector<Field> fields()
    {
        return {{"output_data_rate", D, "200"}, {"current_range", D, "0.1"}, {"start_value", D, "0"},
                {"step_value", D, "0.01"},      {"amplitude", D, "0.05"},    {"end_value", D, "1.5"},
                {"period", D, "0.4"}};
    }
};

// The wave record's XML form has an order, number texts and a list element
// of its own.
template <>
struct Case<WaveJob> {
    static constexpr const char* name = "wave";
    static WaveParameters record() { return {1000.0, 100.0, 3, 0.01, {0.0, 0.5, 1.0, -0.5}, 0.1}; }
    static std::vector<Field> fields()
    {
        return {{"output_data_rate", D, ""}, {"value_rate", D, ""}, {"repetitions", U, ""},
                {"current_range", D, ""},    {"values", A, ""},     {"bias", D, ""}};
    }
    static Children xml()
    {
        return {{"output_data_rate", "1000"}, {"value_rate", "100"}, {"repetitions", "3"},
                {"current_range", "0.01"},    {"bias", "0.10000000000000001"}, {"value", "0;0.5;1;-0.5"}};
    }
};

template <>
struct Case<WaveFileJob> {
    static constexpr const char* name = "wave_file";
    static WaveFileParameters record() { return {1000.0, 1000.0, 1, 0.001, "triangular-wave-resource-uuid", 0.1}; }
    static std::vector<Field> fields()
    {
        return {{"output_data_rate", D, "1000"}, {"value_rate", D, "1000"},
                {"repetitions", U, "1"},         {"current_range", D, "0.001"},
                {"resource_id", S, "triangular-wave-resource-uuid"}, {"bias", D, "0.1"}};
    }
};

template <typename Job>
Children expectedXml()
{
    if constexpr (requires { Case<Job>::xml(); }) {
        return Case<Job>::xml();
    } else {
        Children children;
        for (const auto& field : Case<Job>::fields()) {
            children.emplace_back(field.key, field.xmlText);
        }
        return children;
    }
}

// A value of the wrong kind for a field, and the error it must give.
std::vector<std::pair<json::value, json::error>> wrongValuesFor(json::kind kind)
{
    switch (kind) {
    case json::kind::double_:
        return {{json::string("10"), json::error::not_number},
                {nullptr, json::error::not_number},
                {true, json::error::not_number}};
    case json::kind::bool_:
        return {{1, json::error::not_bool}, {json::string("true"), json::error::not_bool}};
    case json::kind::uint64:
        return {{-1, json::error::not_exact}, {3.5, json::error::not_exact}, {json::string("3"), json::error::not_number}};
    case json::kind::array:
        return {{json::object{}, json::error::not_array}, {json::array{1, nullptr}, json::error::not_number}};
    case json::kind::string:
        return {{17, json::error::not_string}};
    default:
        return {};
    }
}

template <typename Job>
class DcRecord : public ::testing::Test {
protected:
    using P = typename Job::ParameterStruct;

    static json::object written() { return Job(Case<Job>::record()).getParameterObject(); }
    static P read(const json::value& value) { return StrictJson::read<P>(value); }
};

using AllDcJobs = ::testing::Types<OcvJob, CvJob, FastCyclingJob, AcCvJob, PogaJob, RampJob, SteadyStairsJob, DpvJob,
                                   NpvJob, SwvJob, WaveJob, WaveFileJob>;

class JobNameOf {
public:
    template <typename Job>
    static std::string GetName(int)
    {
        return Case<Job>::name;
    }
};

TYPED_TEST_SUITE(DcRecord, AllDcJobs, JobNameOf);

} // namespace

TYPED_TEST(DcRecord, JobNameAndFamily)
{
    const TypeParam job(Case<TypeParam>::record());
    EXPECT_EQ(job.getName(), Case<TypeParam>::name);
    EXPECT_EQ(job.getType(), JobTypeEnum::DC);
    EXPECT_EQ(static_cast<int>(job.getType()), 1);
    EXPECT_EQ(job.getParameters(), Case<TypeParam>::record());
}

TYPED_TEST(DcRecord, JsonKeysInKeyOrderWithTheirKinds)
{
    const auto object = this->written();
    const auto fields = Case<TypeParam>::fields();
    std::vector<std::string> expectedKeys;
    for (const auto& field : fields) {
        expectedKeys.push_back(field.key);
    }
    ASSERT_EQ(keysOf(object), expectedKeys);
    for (const auto& field : fields) {
        // Whole doubles such as 0 or 1000 stay doubles; counts stay unsigned.
        EXPECT_EQ(object.at(field.key).kind(), field.kind) << field.key;
    }
}

TYPED_TEST(DcRecord, JsonReadsBackDirectlyAndThroughText)
{
    const auto object = this->written();
    EXPECT_EQ(this->read(object), Case<TypeParam>::record());
    // On the wire an unsigned count comes back as a signed integer.
    EXPECT_EQ(this->read(parsePrecise(json::serialize(object))), Case<TypeParam>::record());
}

TYPED_TEST(DcRecord, JsonReadIgnoresExtraKeysAndKeyOrder)
{
    const auto object = this->written();
    json::object reordered;
    reordered["ir_drop_extra"] = json::string("not a field");
    for (auto it = object.end(); it != object.begin();) {
        --it;
        reordered[it->key()] = it->value();
    }
    reordered["Start_Value"] = 99.0;
    EXPECT_EQ(this->read(reordered), Case<TypeParam>::record());
}

TYPED_TEST(DcRecord, JsonDoubleFieldsAcceptIntegers)
{
    auto object = this->written();
    for (const auto& field : Case<TypeParam>::fields()) {
        if (field.kind == json::kind::double_) {
            object[field.key] = std::int64_t{-2};
        }
    }
    object["output_data_rate"] = std::uint64_t{7};
    const auto rewritten = TypeParam(this->read(object)).getParameterObject();
    for (const auto& field : Case<TypeParam>::fields()) {
        if (field.kind == json::kind::double_) {
            ASSERT_TRUE(rewritten.at(field.key).is_double()) << field.key;
            EXPECT_EQ(rewritten.at(field.key).get_double(), field.key == "output_data_rate" ? 7.0 : -2.0) << field.key;
        }
    }
}

TYPED_TEST(DcRecord, JsonReadRefusesAMissingKey)
{
    const auto object = this->written();
    for (const auto& field : Case<TypeParam>::fields()) {
        auto missing = object;
        missing.erase(field.key);
        expectJsonError([&] { this->read(missing); }, json::error::size_mismatch, field.key);
    }
}

TYPED_TEST(DcRecord, JsonReadRefusesAValueOfTheWrongKind)
{
    const auto object = this->written();
    for (const auto& field : Case<TypeParam>::fields()) {
        for (const auto& [value, error] : wrongValuesFor(field.kind)) {
            auto wrong = object;
            wrong[field.key] = value;
            expectJsonError([&] { this->read(wrong); }, error, field.key + " = " + json::serialize(value));
        }
    }
}

TYPED_TEST(DcRecord, JsonReadReportsTheFirstFailureInKeyOrder)
{
    const auto fields = Case<TypeParam>::fields();
    auto object = this->written();
    object.erase(fields.front().key);
    object[fields.back().key] = json::object{};
    expectJsonError([&] { this->read(object); }, json::error::size_mismatch);

    for (const json::value& notAnObject : {json::value(json::array{}), json::value(3), json::value(nullptr)}) {
        expectJsonError([&] { this->read(notAnObject); }, json::error::not_object, json::serialize(notAnObject));
    }
}

TYPED_TEST(DcRecord, XmlChildrenInKeyOrderWithTheirTexts)
{
    tinyxml2::XMLDocument document;
    auto* element = writeParameters(document, Case<TypeParam>::record());
    ASSERT_NE(element, nullptr);
    EXPECT_STREQ(element->Name(), "parameters");
    // Detached: the caller decides where it goes.
    EXPECT_EQ(element->Parent(), nullptr);
    EXPECT_EQ(element->FirstAttribute(), nullptr);
    EXPECT_EQ(childrenOf(element), expectedXml<TypeParam>());
}

TYPED_TEST(DcRecord, XmlReadsBackToTheSameRecord)
{
    tinyxml2::XMLDocument document;
    auto* element = writeParameters(document, Case<TypeParam>::record());
    document.InsertEndChild(element);
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);

    tinyxml2::XMLDocument reparsed;
    auto* root = parseXml(reparsed, printer.CStr());
    EXPECT_EQ(readParameters<typename TypeParam::ParameterStruct>(root), Case<TypeParam>::record());
}

// Awkward finite doubles in every double field must come back bit for bit
// from both forms.
TYPED_TEST(DcRecord, DoublesRoundTripBitForBit)
{
    using P = typename TypeParam::ParameterStruct;
    const double awkward[] = {0.1 + 0.2, 1.0 / 3.0, -0.0, std::numeric_limits<double>::denorm_min(), 6.02214076e23,
                              -1e-7, std::numeric_limits<double>::max(), 123456789.123456789};
    P record = Case<TypeParam>::record();
    std::size_t next = 0;
    boost::mp11::mp_for_each<boost::describe::describe_members<P, boost::describe::mod_public>>([&](auto member) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(record.*member.pointer)>, double>) {
            record.*member.pointer = awkward[next++ % std::size(awkward)];
        }
    });
    if constexpr (std::is_same_v<P, WaveParameters>) {
        record.values.assign(std::begin(awkward), std::end(awkward));
    }

    tinyxml2::XMLDocument document;
    const P fromXml = readParameters<P>(writeParameters(document, record));
    const P fromJson = StrictJson::read<P>(parsePrecise(json::serialize(TypeParam(record).getParameterObject())));
    const auto bitsOf = [](const P& r) {
        std::vector<std::uint64_t> bits;
        boost::mp11::mp_for_each<boost::describe::describe_members<P, boost::describe::mod_public>>([&](auto member) {
            using M = std::remove_cvref_t<decltype(r.*member.pointer)>;
            if constexpr (std::is_same_v<M, double>) {
                bits.push_back(std::bit_cast<std::uint64_t>(r.*member.pointer));
            } else if constexpr (std::is_same_v<M, std::vector<double>>) {
                for (const double v : r.*member.pointer) {
                    bits.push_back(std::bit_cast<std::uint64_t>(v));
                }
            }
        });
        return bits;
    };
    EXPECT_EQ(bitsOf(fromXml), bitsOf(record));
    EXPECT_EQ(bitsOf(fromJson), bitsOf(record));
}

TYPED_TEST(DcRecord, XmlWritesANaNWithItsSignBitWithoutSign)
{
    using P = typename TypeParam::ParameterStruct;
    P record = Case<TypeParam>::record();
    const double negativeNaN = -std::numeric_limits<double>::quiet_NaN();
    bool hasDouble = false;
    boost::mp11::mp_for_each<boost::describe::describe_members<P, boost::describe::mod_public>>([&](auto member) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(record.*member.pointer)>, double>) {
            record.*member.pointer = negativeNaN;
            hasDouble = true;
        }
    });
    if (!hasDouble) {
        GTEST_SKIP() << "no double member";
    }
    tinyxml2::XMLDocument document;
    document.InsertEndChild(writeParameters(document, record));
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    const std::string text = printer.CStr();
    EXPECT_EQ(text.find("-nan"), std::string::npos) << text;
    EXPECT_NE(text.find(">nan<"), std::string::npos) << text;
}

TYPED_TEST(DcRecord, XmlReaderSkipsMissingAndUnreadableElements)
{
    using P = typename TypeParam::ParameterStruct;
    tinyxml2::XMLDocument document;
    auto* element = parseXml(document, "<parameters><unrelated>1</unrelated></parameters>");
    // Nothing to read: the record keeps its defaults, without a report.
    EXPECT_EQ(readParameters<P>(element), P{});

    auto* written = writeParameters(document, Case<TypeParam>::record());
    for (auto* child = written->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
        if (std::string_view(child->Name()) != "resource_id" && std::string_view(child->Name()) != "repetitions") {
            child->SetText("not a number");
        }
    }
    const P unreadable = readParameters<P>(written);
    P expected{};
    if constexpr (requires { expected.resource_id; }) {
        expected.resource_id = Case<TypeParam>::record().resource_id;
    }
    if constexpr (requires { expected.repetitions; }) {
        expected.repetitions = Case<TypeParam>::record().repetitions;
    }
    EXPECT_EQ(unreadable, expected);
}

// Reversed children, an unknown child and a second copy of every child with
// another value: the first child of each name counts, order does not.
TYPED_TEST(DcRecord, XmlReaderIgnoresOrderExtrasAndRepeats)
{
    using P = typename TypeParam::ParameterStruct;
    tinyxml2::XMLDocument source;
    const auto* written = writeParameters(source, Case<TypeParam>::record());
    tinyxml2::XMLDocument other;
    const auto* decoys = writeParameters(other, P{});

    tinyxml2::XMLDocument document;
    auto* shuffled = document.NewElement("parameters");
    document.InsertEndChild(shuffled);
    shuffled->InsertNewChildElement("ir_drop_unknown")->SetText("5");
    for (const auto* child = written->LastChildElement(); child != nullptr; child = child->PreviousSiblingElement()) {
        shuffled->InsertEndChild(child->DeepClone(&document));
    }
    for (const auto* child = decoys->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
        shuffled->InsertEndChild(child->DeepClone(&document));
    }
    EXPECT_EQ(readParameters<P>(shuffled), Case<TypeParam>::record());
}

// Without one child the reader still reads all the others; the missing field
// keeps its default.
TYPED_TEST(DcRecord, XmlReaderReadsTheRestAroundAMissingChild)
{
    using P = typename TypeParam::ParameterStruct;
    for (const auto& [name, text] : expectedXml<TypeParam>()) {
        tinyxml2::XMLDocument document;
        auto* element = writeParameters(document, Case<TypeParam>::record());
        element->DeleteChild(element->FirstChildElement(name.c_str()));

        P expected = Case<TypeParam>::record();
        const std::string member = name == "value" ? "values" : name;
        boost::mp11::mp_for_each<boost::describe::describe_members<P, boost::describe::mod_public>>([&](auto m) {
            if (member == m.name) {
                expected.*m.pointer = P{}.*m.pointer;
            }
        });
        EXPECT_EQ(readParameters<P>(element), expected) << name;
    }
}

TEST(DcRecordJson, KeysAreCaseSensitive)
{
    auto object = CvJob(Case<CvJob>::record()).getParameterObject();
    // A copy: inserting may move the element that at() refers to.
    const json::value startValue = object.at("start_value");
    object["Start_Value"] = startValue;
    object.erase("start_value");
    object["autorange"] = json::string("true");
    expectJsonError([&] { StrictJson::read<CvParameters>(object); }, json::error::size_mismatch);
}
