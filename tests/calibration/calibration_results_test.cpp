#include "calibration_test_support.hpp"

#include <cmath>
#include <stdexcept>

namespace {

GetCalibrationDataJob newDataJob()
{
    return GetCalibrationDataJob(GetCalibrationDataParameters{"gain", "MAIN:1:POT", {0}}, JobOptions{});
}

TEST(GetCalibrationDataResult, NewJobHoldsNothing)
{
    const auto job = newDataJob();
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::UNDEFINED);
    EXPECT_TRUE(std::isnan(job.getFloatData()));
    EXPECT_TRUE(job.getFloatVectorData().empty());
    EXPECT_TRUE(job.getSpectraData().empty());
    EXPECT_TRUE(job.getStringData().empty());
}

TEST(GetCalibrationDataResult, EachDataType)
{
    auto job = newDataJob();
    job.processJobResult(completionWith(R"({"data":{"type":"float","value":2.5}})"));
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::FLOAT);
    EXPECT_EQ(job.getFloatData(), 2.5);

    job.processJobResult(completionWith(R"({"data":{"type":"float_vector","value":[1,2.5,-3]}})"));
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::FLOAT_VECTOR);
    EXPECT_EQ(job.getFloatVectorData(), (std::vector<double>{1.0, 2.5, -3.0}));

    job.processJobResult(completionWith(R"({"data":{"type":"spectra","value":{)"
                                        R"("1.000000000000000e+03":{"real":1.0,"imag":-2.0},)"
                                        R"("5e-1":{"real":0.25,"imag":0.0}}}})"));
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::SPECTRA);
    EXPECT_EQ(job.getSpectraData(), (SpectrumMap{{0.5, {0.25, 0.0}}, {1000.0, {1.0, -2.0}}}));

    job.processJobResult(completionWith(R"({"data":{"type":"string","value":"table v2"}})"));
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::STRING);
    EXPECT_EQ(job.getStringData(), "table v2");

    // Each run replaces only the field of its type: the others keep what
    // earlier runs stored.
    EXPECT_EQ(job.getFloatData(), 2.5);
    EXPECT_EQ(job.getFloatVectorData(), (std::vector<double>{1.0, 2.5, -3.0}));
    EXPECT_EQ(job.getSpectraData().size(), 2u);

    job.processJobResult(completionWith(R"({"data":{"type":"float_vector","value":[]}})"));
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::FLOAT_VECTOR);
    EXPECT_TRUE(job.getFloatVectorData().empty());
}

TEST(GetCalibrationDataResult, IncompleteCompletionsChangeNothing)
{
    for (const char* result : {
             R"(5)",
             R"({})",
             R"({"data":[]})",
             R"({"data":{"value":1.5}})",
             R"({"data":{"type":7,"value":1.5}})",
             R"({"data":{"type":"float"}})",
             R"({"data":{"type":"float","value":null}})",
             R"({"data":{"type":"string","value":null}})",
             R"({"data":{"type":"string","value":true}})",
             R"({"data":{"type":"integer","value":3}})",
             R"({"data":{"type":"FLOAT","value":3.5}})",
         }) {
        auto job = newDataJob();
        job.processJobResult(completionWith(R"({"data":{"type":"string","value":"kept"}})"));
        EXPECT_NO_THROW(job.processJobResult(completionWith(result))) << result;
        EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::STRING) << result;
        EXPECT_EQ(job.getStringData(), "kept") << result;
        EXPECT_TRUE(std::isnan(job.getFloatData())) << result;
    }
    auto job = newDataJob();
    job.processJobResult(completionWith(R"({"data":{"type":"float","value":1.5}})"));
    job.processJobResult(json::object{{"type", "JOB_DONE"}});
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::FLOAT);
    EXPECT_EQ(job.getFloatData(), 1.5);
}

// A value that does not fit its type raises, and the job keeps both its
// previous type and its previous value.
TEST(GetCalibrationDataResult, ValueNotFittingItsTypeRaisesAndKeepsTheItem)
{
    struct Case {
        const char* result;
        json::error error;
    };
    for (const auto& c : {
             Case{R"({"data":{"type":"float","value":2}})", json::error::not_double},
             Case{R"({"data":{"type":"float","value":"2.5"}})", json::error::not_double},
             Case{R"({"data":{"type":"float_vector","value":2.5}})", json::error::not_array},
             Case{R"({"data":{"type":"float_vector","value":[1.5,"2"]}})", json::error::not_number},
             Case{R"({"data":{"type":"spectra","value":[1]}})", json::error::not_object},
             Case{R"({"data":{"type":"spectra","value":{"1e3":{"real":1,"imag":0.5}}}})", json::error::not_double},
             Case{R"({"data":{"type":"string","value":5}})", json::error::not_string},
         }) {
        auto job = newDataJob();
        job.processJobResult(completionWith(R"({"data":{"type":"string","value":"kept"}})"));
        EXPECT_EQ(jsonErrorOf([&] { job.processJobResult(completionWith(c.result)); }), json::make_error_code(c.error))
            << c.result;
        EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::STRING) << c.result;
        EXPECT_EQ(job.getStringData(), "kept");
        EXPECT_TRUE(std::isnan(job.getFloatData())) << c.result;
        EXPECT_TRUE(job.getFloatVectorData().empty()) << c.result;
        EXPECT_TRUE(job.getSpectraData().empty()) << c.result;
    }

    auto job = newDataJob();
    EXPECT_THROW(
        job.processJobResult(completionWith(R"({"data":{"type":"spectra","value":{"high":{"real":1.0,"imag":0.0}}}})")),
        std::invalid_argument);
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::UNDEFINED);
}

TEST(MeasureIntegralResult, NumberReplacesAnythingElseKeeps)
{
    MeasureIntegralJob job(MeasureIntegralParameters{"voltage", 0.3}, JobOptions{});
    EXPECT_TRUE(std::isnan(job.getJobResult()));

    job.processJobResult(completionWith(R"({"value":0.25})"));
    EXPECT_EQ(job.getJobResult(), 0.25);
    job.processJobResult(completionWith(R"({"value":3})"));
    EXPECT_EQ(job.getJobResult(), 3.0);
    job.processJobResult(completionWith(R"({"value":18446744073709551615})"));
    EXPECT_EQ(job.getJobResult(), 18446744073709551615.0);
    job.processJobResult(completionWith(R"({"value":-2})"));
    EXPECT_EQ(job.getJobResult(), -2.0);

    for (const char* result : {R"({"value":"3"})", R"({"value":null})", R"({})", R"([1])", R"(0.5)"}) {
        EXPECT_NO_THROW(job.processJobResult(completionWith(result))) << result;
        EXPECT_EQ(job.getJobResult(), -2.0) << result;
    }
    job.processJobResult(json::object{{"type", "JOB_DONE"}});
    EXPECT_EQ(job.getJobResult(), -2.0);
}

TEST(FilterUsageMatrixResult, PairsInOrder)
{
    struct Case {
        const char* result;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> expected;
    };
    for (const auto& c : {
             Case{R"({"matrix":[[0,2],[1,3]]})", {{0, 2}, {1, 3}}},
             Case{R"({"matrix":[]})", {}},
             Case{R"({"matrix":[[1.0,2]],"extra":true})", {{1, 2}}},
             Case{R"({"matrix":[[18446744073709551615,0]]})", {{18446744073709551615u, 0}}},
         }) {
        GetFilterUsageMatrixJob job(GetFilterUsageMatrixParameters{"ZMU4:1"}, JobOptions{});
        job.processJobResult(completionWith(R"({"matrix":[[9,9]]})"));
        job.processJobResult(completionWith(c.result));
        EXPECT_EQ(job.getJobResult().matrix, c.expected) << c.result;
    }
}

TEST(FilterUsageMatrixResult, MalformedMatrixRaisesAndKeepsTheStoredOne)
{
    struct Case {
        const char* result;
        json::error error;
    };
    for (const auto& c : {
             Case{R"({})", json::error::size_mismatch},
             Case{R"({"matrix":{}})", json::error::not_array},
             Case{R"({"matrix":[5]})", json::error::not_array},
             Case{R"({"matrix":[[1,2,3]]})", json::error::size_mismatch},
             Case{R"({"matrix":[[1]]})", json::error::size_mismatch},
             Case{R"({"matrix":[[1.5,2]]})", json::error::not_exact},
             Case{R"({"matrix":[[-1,2]]})", json::error::not_exact},
             Case{R"({"matrix":[[1,2],["1",2]]})", json::error::not_number},
         }) {
        GetFilterUsageMatrixJob job(GetFilterUsageMatrixParameters{"ZMU4:1"}, JobOptions{});
        job.processJobResult(completionWith(R"({"matrix":[[9,8]]})"));
        EXPECT_EQ(jsonErrorOf([&] { job.processJobResult(completionWith(c.result)); }), json::make_error_code(c.error))
            << c.result;
        EXPECT_EQ(job.getJobResult().matrix, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{9, 8}}))
            << c.result;
    }
    GetFilterUsageMatrixJob job(GetFilterUsageMatrixParameters{"ZMU4:1"}, JobOptions{});
    EXPECT_NO_THROW(job.processJobResult(completionWith("[]")));
    EXPECT_TRUE(job.getJobResult().matrix.empty());
}

TEST(MeshFileResult, DecodedBytesReplaceThePreviousFile)
{
    GetMeshJsonFileJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    EXPECT_TRUE(job.getJobResult().empty());
    job.processJobResult(completionWith(R"({"file":{"name":"mesh.json","content":"eyJhIjoxfQ=="}})"));
    EXPECT_EQ(job.getJobResult(), bytesOf(R"({"a":1})"));
    job.processJobResult(completionWith(R"({"file":{"content":"QUI"}})"));
    EXPECT_EQ(job.getJobResult(), bytesOf("AB"));
    job.processJobResult(completionWith(R"({"file":{"content":""}})"));
    EXPECT_TRUE(job.getJobResult().empty());
}

TEST(MeshFileResult, UnusableFileRaisesAndKeepsTheStoredBytes)
{
    struct Case {
        const char* result;
        const char* message;
    };
    for (const auto& c : {
             Case{R"({"content":"QUJD"})", "Failed to decode file content: No valid 'file' object found"},
             Case{R"({"file":"QUJD"})", "Failed to decode file content: No valid 'file' object found"},
             Case{R"({"file":{"content":5}})",
                  "Failed to decode file content: No valid 'content' field found in file object"},
             Case{R"({"file":{}})", "Failed to decode file content: No valid 'content' field found in file object"},
             Case{R"({"file":{"content":"QUJD-_"}})",
                  "Failed to decode file content: invalid base64 byte 0x2d at offset 4"},
         }) {
        GetMeshJsonFileJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});
        job.processJobResult(completionWith(R"({"file":{"content":"QUJD"}})"));
        try {
            job.processJobResult(completionWith(c.result));
            ADD_FAILURE() << "no error for " << c.result;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(job.getJobResult(), bytesOf("ABC")) << c.result;
    }
    GetMeshJsonFileJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    job.processJobResult(completionWith(R"({"file":{"content":"QUJD"}})"));
    EXPECT_NO_THROW(job.processJobResult(completionWith(R"("QUJD")")));
    EXPECT_NO_THROW(job.processJobResult(json::object{{"type", "JOB_DONE"}}));
    EXPECT_EQ(job.getJobResult(), bytesOf("ABC"));
}

} // namespace
