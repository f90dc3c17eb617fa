#include "json_test_support.hpp"

#include "marlek_json_common/json_common/resources/resourceinfo_json.hpp"

#include <cstdint>
#include <limits>

namespace {

ResourceInfo read(std::string_view text)
{
    return json::value_to<ResourceInfo>(json::parse(text));
}

} // namespace

TEST(ResourceInfoJson, WritesKeysInOrder)
{
    ResourceInfo info;
    info.resource_id = "r-1";
    info.type = ResourceTypeEnum::JOB_RESULT;
    info.sub_type = ResourceSubType::DATASET_AC;
    info.created_by = ResourceCreator::JOB;
    info.job_id = "j-1";
    info.name = "result";
    info.created = "2024-01-02T03:04:05Z";
    info.updated = "2024-01-02T03:04:06Z";
    info.size = 4096;
    info.header = std::make_shared<json::value>(json::parse(R"({"number_of_rows":3})"));
    EXPECT_EQ(json::serialize(json::value_from(info)),
              R"({"resource_id":"r-1","type":"JOB_RESULT","sub_type":"DATASET_AC","created_by":"JOB",)"
              R"("job_id":"j-1","name":"result","created":"2024-01-02T03:04:05Z","updated":"2024-01-02T03:04:06Z",)"
              R"("size":4096,"header":{"number_of_rows":3}})");

    const auto back = json::value_to<ResourceInfo>(throughText(json::value_from(info)));
    EXPECT_EQ(back.type, ResourceTypeEnum::JOB_RESULT);
    EXPECT_EQ(back.sub_type, ResourceSubType::DATASET_AC);
    EXPECT_EQ(back.created_by, ResourceCreator::JOB);
    EXPECT_EQ(back.size, 4096u);
    ASSERT_NE(back.header, nullptr);
    EXPECT_EQ(*back.header, *info.header);
}

TEST(ResourceInfoJson, ValuesWithoutNamesAreWrittenAsTheDefaults)
{
    ResourceInfo info;
    info.type = static_cast<ResourceTypeEnum>(9);
    info.sub_type = static_cast<ResourceSubType>(-1);
    info.created_by = static_cast<ResourceCreator>(5);
    const auto written = json::value_from(info);
    EXPECT_EQ(written.at("type"), "UNDEFINED");
    EXPECT_EQ(written.at("sub_type"), "DEFAULT");
    EXPECT_EQ(written.at("created_by"), "CLIENT");
    EXPECT_TRUE(written.at("header").is_null());
}

TEST(ResourceInfoJson, NamesAreMatchedExactly)
{
    const auto info = read(R"({"type":"wave","sub_type":"DATASET_XY","created_by":"job"})");
    EXPECT_EQ(info.type, ResourceTypeEnum::UNDEFINED);
    EXPECT_EQ(info.sub_type, ResourceSubType::DEFAULT);
    EXPECT_EQ(info.created_by, ResourceCreator::CLIENT);

    const auto typed = read(R"({"type":"WAVE","sub_type":"MARLEK_ISF","created_by":"CLIENT","name":3})");
    EXPECT_EQ(typed.type, ResourceTypeEnum::WAVE);
    EXPECT_EQ(typed.sub_type, ResourceSubType::MARLEK_ISF);
    EXPECT_EQ(typed.name, "");
}

struct SizeCase {
    const char* json;
    std::uint64_t expected;
};

class ResourceSizeRead : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ResourceSizeRead, ExactUnsignedOrZeroWhenNotANumber)
{
    EXPECT_EQ(read(GetParam().json).size, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResourceSizeRead,
                         ::testing::Values(SizeCase{R"({"size":1024})", 1024}, SizeCase{R"({"size":1024.0})", 1024},
                                           SizeCase{R"({"size":"1024"})", 0}, SizeCase{R"({"size":null})", 0},
                                           SizeCase{R"({})", 0},
                                           SizeCase{R"({"size":18446744073709551615})",
                                                    std::numeric_limits<std::uint64_t>::max()}));

TEST(ResourceInfoJson, InexactSizeThrows)
{
    for (const char* text : {R"({"size":-1})", R"({"size":10.5})", R"({"size":1e20})"}) {
        SCOPED_TRACE(text);
        expectJsonError([&] { read(text); }, json::error::not_exact);
    }
}

TEST(ResourceInfoJson, HeaderIsKeptAsGivenAndSharedByCopies)
{
    const auto none = read(R"({"header":null})");
    EXPECT_EQ(none.header, nullptr);
    EXPECT_TRUE(json::value_from(none).at("header").is_null());

    const auto array = read(R"({"header":[1,"two"]})");
    ASSERT_NE(array.header, nullptr);
    EXPECT_EQ(*array.header, json::parse(R"([1,"two"])"));
    const ResourceInfo copy = array;
    EXPECT_EQ(copy.header.get(), array.header.get());
}

TEST(ResourceInfoJson, ListsConvertElementByElement)
{
    const auto list = json::value_to<std::vector<ResourceInfo>>(
        json::parse(R"([{"resource_id":"a","type":"WAVE"},7,{"resource_id":"b","type":"CALIB_MESH"}])"));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].resource_id, "a");
    EXPECT_EQ(list[1].resource_id, "");
    EXPECT_EQ(list[2].type, ResourceTypeEnum::CALIB_MESH);
}

TEST(ResourceTypeNames, BothDirections)
{
    EXPECT_EQ(resourceTypeName(ResourceTypeEnum::MARLEK_BINARY), "MARLEK_BINARY");
    EXPECT_EQ(resourceTypeFromName("DEBUG_INFO"), ResourceTypeEnum::DEBUG_INFO);
    EXPECT_EQ(resourceTypeFromName("DEBUG_INFO "), std::nullopt);
    EXPECT_EQ(resourceSubTypeFromName(std::string_view("DATASET_DC\0x", 12)), std::nullopt);
}
