#include "file_test_support.hpp"

#include "marlek_json_common/json_common/configuration/user_polynomial_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/mrb/mrb_importer.hpp"
#include "marlek_link_json/protocol_version.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

using namespace file_test;

namespace {

std::string doubles(std::initializer_list<double> values)
{
    std::string bytes;
    for (double value : values) {
        char raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        bytes.append(raw, sizeof raw);
    }
    return bytes;
}

std::string snapshot(const boost::json::object& metadata, std::string_view payload)
{
    return boost::json::serialize(metadata) + std::string(1, '\0') + std::string(payload);
}

LiveDataHeader dcHeader()
{
    return LiveDataHeader("Cyclic Voltammetry", "CV",
                          {ColumnHeader("time", "s", "MAIN:1:TIME"), ColumnHeader("voltage", "V", "MAIN:1:POT")});
}

// Two rows: time 0, 1 and voltage 0.5, -0.25, column after column.
const std::string DC_PAYLOAD = doubles({0.0, 1.0, 0.5, -0.25});

boost::json::object dcMetadata(std::uint64_t protocolVersion = ProtocolVersion::library())
{
    return {
        {"name", "cv run"},
        {"sub_type", "DATASET_DC"},
        {"size", DC_PAYLOAD.size()},
        {"workstation_info", {{"protocol_version", protocolVersion}, {"serial_number", "TQ5-0001"}}},
        {"header",
         {{"job_data_header", boost::json::value_from(dcHeader())},
          {"job_info", {{"job_id", "job-dc-1"}, {"status", "FINISHED"}}}}},
    };
}

// One row with frequency, wave id and wave size, one synchronous path with a
// dc value, and four wave samples. Workstations of protocol version 10 and up
// store each wave once, sized by the row's wave size (here 2 samples);
// older ones store one wave per row filling the rest of the table.
LiveDataHeaderEis eisHeader()
{
    return LiveDataHeaderEis(
        "Electrochemical Impedance Spectroscopy", "EIS",
        {ColumnHeader("frequency", "Hz", ""), ColumnHeader("wave_id", "", ""), ColumnHeader("wave_size", "", "")},
        {ImpedanceDataHeader("MAIN:1:U", "MAIN:1:I", {ColumnHeader("|impedance|", "Ohm", "")}, "")},
        {PathDataHeader("MAIN:1:U", "voltage", {ColumnHeader("dc", "V", "")}, UserPolynomial())}, {}, {});
}

const std::string EIS_PAYLOAD = doubles({1000.0, 0.0, 2.0, 42.0, 0.5, 1.0, 2.0, 3.0, 4.0});

boost::json::object eisMetadata()
{
    return {
        {"sub_type", "DATASET_AC"},
        {"workstation_info", {{"protocol_version", ProtocolVersion::library()}}},
        {"header", {{"job_data_header", boost::json::value_from(eisHeader())}, {"number_of_rows", 1}}},
    };
}

void expectContentInvalid(const ErrorObject& error, const std::string& text)
{
    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::RESOURCE_CONTENT_INVALID) << textOf(error);
    EXPECT_EQ(textOf(error), "resource content invalid: " + text);
}

} // namespace

TEST(MrbImporter, ImportsADcSnapshotWithItsJobInformation)
{
    const auto imported = MrbImporter().importFromMemory(snapshot(dcMetadata(), DC_PAYLOAD));
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    const auto dc = std::dynamic_pointer_cast<DcDataset>(*imported);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->getTracks(), (std::vector<std::vector<double>>{{0.0, 1.0}, {0.5, -0.25}}));
    EXPECT_EQ(dc->getHeader().getColumns(), dcHeader().getColumns());
    EXPECT_EQ(dc->getJobInfo().jobId, "job-dc-1");
}

TEST(MrbImporter, ImportsAnEisSnapshotInTheLayoutOfItsProtocolVersion)
{
    const auto imported = MrbImporter().importFromMemory(snapshot(eisMetadata(), EIS_PAYLOAD));
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    const auto eis = std::dynamic_pointer_cast<EisDataset>(*imported);
    ASSERT_NE(eis, nullptr);
    EXPECT_EQ(eis->getRowCount(), 1u);
    EXPECT_EQ(eis->getFrequencies(), (std::vector<double>{1000.0}));
    EXPECT_EQ(eis->getPathWaves(0), (std::vector<std::vector<double>>{{1.0, 2.0}}));
    EXPECT_EQ(eis->getJobInfo().jobId, JobInfo().jobId);

    auto older = eisMetadata();
    older["workstation_info"].as_object()["protocol_version"] = 9;
    const auto old = MrbImporter().importFromMemory(snapshot(older, EIS_PAYLOAD));
    ASSERT_TRUE(old.has_value()) << textOf(old.error());
    EXPECT_EQ(std::dynamic_pointer_cast<EisDataset>(*old)->getPathWaves(0),
              (std::vector<std::vector<double>>{{1.0, 2.0, 3.0, 4.0}}));
}

TEST(MrbImporter, MetadataNumbersReadBackExactly)
{
    // Coefficients that the default conversion of the JSON library reads one
    // unit in the last place off.
    const std::vector<double> coefficients{-934.3173604624975, 0.1, 2.2250738585072014e-308, 1.7976931348623157e308,
                                           5e-324, 9007199254740993.0, -1.2345678901234567e-5};
    boost::json::object metadata = eisMetadata();
    boost::json::value& path = metadata["header"].as_object()["job_data_header"].as_object()["paths"].as_array().at(0);
    path.as_object()["polynomial"] = boost::json::value_from(UserPolynomial(coefficients));

    const auto imported = MrbImporter().importFromMemory(snapshot(metadata, EIS_PAYLOAD));
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    const auto& eis = dynamic_cast<const EisDataset&>(**imported);
    const std::vector<double>& read = eis.getPathsDataHeaders().at(0).getPolynomial().coefficients;
    ASSERT_EQ(read.size(), coefficients.size());
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(read[i]), std::bit_cast<std::uint64_t>(coefficients[i]))
            << coefficients[i];
    }
}

TEST(MrbImporter, ChecksTheProtocolVersionUnlessTold)
{
    const std::uint64_t library = ProtocolVersion::library();
    for (const std::uint64_t version : {std::uint64_t{0}, library - 1, library}) {
        EXPECT_TRUE(MrbImporter().importFromMemory(snapshot(dcMetadata(version), DC_PAYLOAD)).has_value()) << version;
    }

    const auto newer = MrbImporter().importFromMemory(snapshot(dcMetadata(library + 1), DC_PAYLOAD));
    ASSERT_FALSE(newer.has_value());
    EXPECT_EQ(newer.error(), ErrorObject(ErrorCodeEnum::PROTOCOL_VERSION_MISMATCH, "protocol version mismatch"));
    EXPECT_TRUE(MrbImporter(true).importFromMemory(snapshot(dcMetadata(library + 1), DC_PAYLOAD)).has_value());

    auto anonymous = dcMetadata();
    anonymous.erase("workstation_info");
    const auto refused = MrbImporter().importFromMemory(snapshot(anonymous, DC_PAYLOAD));
    ASSERT_FALSE(refused.has_value());
    expectContentInvalid(refused.error(), "missing workstation_info: cannot verify the protocol version");

    MrbImporter lenient;
    lenient.setIgnoreProtocolVersionMismatch(true);
    EXPECT_TRUE(lenient.getIgnoreProtocolVersionMismatch());
    EXPECT_TRUE(lenient.importFromMemory(snapshot(anonymous, DC_PAYLOAD)).has_value());

    // Without a stated version the reader assumes the library's own layout.
    auto eis = eisMetadata();
    eis.erase("workstation_info");
    const auto assumed = lenient.importFromMemory(snapshot(eis, EIS_PAYLOAD));
    ASSERT_TRUE(assumed.has_value());
    EXPECT_EQ(std::dynamic_pointer_cast<EisDataset>(*assumed)->getPathWaves(0),
              (std::vector<std::vector<double>>{{1.0, 2.0}}));
}

TEST(MrbImporter, RefusesFaultySnapshotsWithTheFirstFaultInCheckOrder)
{
    const std::string library = std::to_string(ProtocolVersion::library());
    const std::string header = boost::json::serialize(boost::json::value_from(dcHeader()));
    const std::string payload = DC_PAYLOAD;
    struct Case {
        const char* what;
        std::string content;
        ErrorCodeEnum code;
        std::string text;
    };
    const auto meta = [&](std::string fields) { return "{" + fields + "}" + std::string(1, '\0') + payload; };
    const std::string ws = R"("workstation_info":{"protocol_version":)" + library + "}";
    const std::string hdr = R"("header":{"job_data_header":)" + header + "}";
    const Case cases[] = {
        {"no separator", R"({"sub_type":"DATASET_DC"})", ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: missing metadata/payload separator (0x00): not a valid 'With Metadata' (.mrb) "
         "file"},
        {"separator first", std::string(1, '\0') + payload, ErrorCodeEnum::JSON_MALFORMED, ""},
        {"metadata not an object", "[1,2]" + std::string(1, '\0'), ErrorCodeEnum::JSON_OBJECT_EXPECTED,
         "json object expected"},
        {"too deep", std::string(40, '[') + std::string(40, ']') + std::string(1, '\0'), ErrorCodeEnum::JSON_MALFORMED,
         ""},
        {"size one too large, newer protocol", meta(R"("size":33,"workstation_info":{"protocol_version":999})"),
         ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: payload size 32 does not match the declared size 33"},
        {"negative size", meta(R"("size":-32)"), ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: 'size' is not an unsigned 64-bit integer"},
        {"fractional size", meta(R"("size":32.5)"), ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: 'size' is not an unsigned 64-bit integer"},
        {"version not a number", meta(R"("workstation_info":{"protocol_version":"12"})"),
         ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: missing workstation_info.protocol_version: cannot verify the protocol version"},
        {"version beyond 64 bits", meta(R"("workstation_info":{"protocol_version":1e30})"),
         ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: 'protocol_version' is not an unsigned 64-bit integer"},
        {"newer protocol before a missing header", meta(R"("workstation_info":{"protocol_version":999})"),
         ErrorCodeEnum::PROTOCOL_VERSION_MISMATCH, "protocol version mismatch"},
        {"no header", meta(ws + R"(,"sub_type":"DATASET_DC")"), ErrorCodeEnum::JSON_MALFORMED,
         "json malformed: resource metadata 'header' is missing or not an object"},
        {"no data header", meta(ws + R"(,"header":{"job_info":{}})"), ErrorCodeEnum::JSON_MALFORMED,
         "json malformed: 'job_data_header' is missing or not an object"},
        {"job metadata not text",
         meta(ws + R"(,"sub_type":"DATASET_DC","header":{"job_data_header":)" + header
              + R"(,"job_info":{"job_id":"j","job_meta":{"k":1}}})"),
         ErrorCodeEnum::RESOURCE_CONTENT_INVALID, ""},
        {"negative row count", meta(ws + R"(,"header":{"number_of_rows":-1,"job_data_header":)" + header + "}"),
         ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: 'number_of_rows' is not an unsigned 64-bit integer"},
        {"no sub_type", meta(ws + "," + hdr), ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: 'sub_type' is missing or not a string"},
        {"unknown sub_type", meta(ws + "," + hdr + R"(,"sub_type":"DEFAULT")"), ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
         "resource content invalid: unsupported dataset sub_type 'DEFAULT'"},
        {"data header with a numeric column name",
         meta(ws + R"(,"sub_type":"DATASET_DC","header":{"job_data_header":{"measurement_type":"CV",)"
              + R"("measurement_type_short":"CV","columns":{"dimensions":[1],"units":["V"]}}})"),
         ErrorCodeEnum::RESOURCE_CONTENT_INVALID, ""},
    };
    for (const auto& c : cases) {
        const auto result = MrbImporter().importFromMemory(c.content);
        ASSERT_FALSE(result.has_value()) << c.what;
        EXPECT_EQ(result.error().getErrorCodeEnum(), c.code) << c.what << ": " << textOf(result.error());
        if (!c.text.empty()) {
            EXPECT_EQ(textOf(result.error()), c.text) << c.what;
        }
    }
}

TEST(MrbImporter, ConversionFaultsNameTheirKey)
{
    auto metadata = dcMetadata();
    metadata["header"].as_object()["job_data_header"].as_object()["columns"] = {{"dimensions", {1}},
                                                                                {"units", {"V"}}};
    const auto dc = MrbImporter().importFromMemory(snapshot(metadata, DC_PAYLOAD));
    ASSERT_FALSE(dc.has_value());
    EXPECT_TRUE(textOf(dc.error()).starts_with("resource content invalid: 'job_data_header' could not be read: "))
        << textOf(dc.error());

    metadata = dcMetadata();
    metadata["header"].as_object()["job_info"] = {{"job_id", "j"}, {"job_meta", {{"k", 1}}}};
    const auto info = MrbImporter().importFromMemory(snapshot(metadata, DC_PAYLOAD));
    ASSERT_FALSE(info.has_value());
    EXPECT_TRUE(textOf(info.error()).starts_with("resource content invalid: 'job_info' could not be read: "))
        << textOf(info.error());
}

TEST(MrbImporter, ForgedCountsCostNoMemory)
{
    // Without "size" any payload is taken; the counts in the metadata are
    // far beyond what the payload holds and must not size anything.
    auto eis = eisMetadata();
    eis["header"].as_object()["number_of_rows"] = std::uint64_t{1} << 62;
    const auto imported = MrbImporter().importFromMemory(snapshot(eis, EIS_PAYLOAD));
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    EXPECT_EQ((*imported)->getRowCount(), 1u);

    auto huge = eisMetadata();
    huge["header"].as_object()["number_of_rows"] = UINT64_MAX;
    const auto truncated = MrbImporter().importFromMemory(snapshot(huge, EIS_PAYLOAD.substr(0, 20)));
    ASSERT_TRUE(truncated.has_value()) << textOf(truncated.error());
    EXPECT_EQ((*truncated)->getRowCount(), 0u);

    auto dc = dcMetadata();
    dc.erase("size");
    const auto partial = MrbImporter().importFromMemory(snapshot(dc, DC_PAYLOAD.substr(0, 27)));
    ASSERT_TRUE(partial.has_value());
    EXPECT_EQ(std::dynamic_pointer_cast<DcDataset>(*partial)->getTracks(),
              (std::vector<std::vector<double>>{{0.0}, {1.0}}));

    const auto declared = MrbImporter().importFromMemory(snapshot(dcMetadata(), DC_PAYLOAD.substr(0, 27)));
    ASSERT_FALSE(declared.has_value());
    expectContentInvalid(declared.error(), "payload size 27 does not match the declared size 32");
}

TEST(MrbImporter, ReadsFileInfoWithoutCheckingThePayloadOrVersion)
{
    auto metadata = dcMetadata(999);
    metadata["header"].as_object()["number_of_rows"] = 7;
    const auto info = MrbImporter().readFileInfoFromMemory(snapshot(metadata, "short"));
    ASSERT_TRUE(info.has_value()) << textOf(info.error());
    EXPECT_EQ(*info, (MrbFileInfo{999, "DATASET_DC", 7, DC_PAYLOAD.size(), "cv run"}));

    const auto bare = MrbImporter().readFileInfoFromMemory(R"({"name":5,"size":"x","header":[]})" + std::string(1, '\0'));
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(*bare, MrbFileInfo{});

    const auto negative = MrbImporter().readFileInfoFromMemory(R"({"header":{"number_of_rows":-3}})"
                                                                + std::string(1, '\0'));
    ASSERT_FALSE(negative.has_value());
    expectContentInvalid(negative.error(), "'number_of_rows' is not an unsigned 64-bit integer");

    EXPECT_FALSE(MrbImporter().readFileInfoFromMemory(R"({"name":"x"})").has_value());
}

TEST(MrbImporter, ReadsFilesAndReportsFileFaults)
{
    TempFolder folder;
    const auto good = folder / "good.mrb";
    writeFile(good, snapshot(eisMetadata(), EIS_PAYLOAD));
    const auto imported = MrbImporter().importFromFile(good);
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    EXPECT_NE(std::dynamic_pointer_cast<EisDataset>(*imported), nullptr);
    const auto info = MrbImporter().readFileInfo(good);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->sub_type, "DATASET_AC");
    EXPECT_EQ(info->number_of_rows, 1u);

    const auto empty = folder / "empty.mrb";
    writeFile(empty, "");
    const auto missing = folder / "missing.mrb";
    for (const auto& [path, code, text] : {
             std::tuple{empty, ErrorCodeEnum::FILE_IS_EMPTY, "file is empty: '" + empty.string() + "'"},
             std::tuple{missing, ErrorCodeEnum::FILE_NOT_FOUND, "file not found: '" + missing.string() + "'"},
             std::tuple{folder.path(), ErrorCodeEnum::FILE_NOT_FOUND, "file not found: '" + folder.path().string() + "'"},
         }) {
        for (const auto& error : {MrbImporter().importFromFile(path).error(), MrbImporter().readFileInfo(path).error()}) {
            EXPECT_EQ(error.getErrorCodeEnum(), code) << path;
            EXPECT_EQ(textOf(error), text);
        }
    }
}

TEST(MrbImporter, FileInfoNeedsTheSeparatorWithinTheFirst64KiB)
{
    TempFolder folder;
    auto metadata = dcMetadata();
    metadata["name"] = std::string(70000, 'n');
    const auto path = folder / "long-metadata.mrb";
    writeFile(path, snapshot(metadata, DC_PAYLOAD));

    EXPECT_TRUE(MrbImporter().importFromFile(path).has_value());
    const auto info = MrbImporter().readFileInfo(path);
    ASSERT_FALSE(info.has_value());
    expectContentInvalid(info.error(), "no metadata/payload separator (0x00) within the first 65536 bytes: not a "
                                       "valid 'With Metadata' (.mrb) file");

    const auto shortFile = folder / "short.mrb";
    writeFile(shortFile, R"({"name":"x"})");
    ASSERT_FALSE(MrbImporter().readFileInfo(shortFile).has_value());
    EXPECT_EQ(textOf(MrbImporter().readFileInfo(shortFile).error()), textOf(info.error()));
}

TEST(MrbImporter, TypeMismatchError)
{
    expectContentInvalid(MrbImporter::makeTypeMismatchError(), "imported dataset type does not match the requested type");
}
