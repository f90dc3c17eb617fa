#include "file_test_support.hpp"

#include "support/job_with_id.hpp"
#include "support/xml_print.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_writer.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary_reader.hpp"
#include "marlek_link_json/mrb/mrb_importer.hpp"
#include "marlek_link_json/protocol_version.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/mxml_importer.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <bit>
#include <filesystem>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace file_test;

namespace {

// Random datasets whose texts hold what XML and the text tables treat
// specially, and whose numbers cover every kind of double.
class RandomDatasets {
public:
    explicit RandomDatasets(std::uint64_t seed) : engine(seed) {}

    std::size_t below(std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound - 1)(engine); }

    std::string text()
    {
        static const std::vector<std::string> pieces = {
            "",   "a", "time", "\xC2\xB5"
                               "A",
            "\xCE\xA9", ";", "\r", "\n", "\r\n", "\t", " ", "]]>", "]]", ">", "<", "&", "\"", "'", "&#13;",
            "<![CDATA[", "nan", "-1e5", "x y"};
        std::string result;
        for (std::size_t n = below(4); n > 0; --n) {
            result += pieces[below(pieces.size())];
        }
        return result;
    }

    double value()
    {
        static const std::vector<double> special = {0.0,
                                                    -0.0,
                                                    std::numeric_limits<double>::quiet_NaN(),
                                                    std::numeric_limits<double>::infinity(),
                                                    -std::numeric_limits<double>::infinity(),
                                                    std::numeric_limits<double>::denorm_min(),
                                                    std::numeric_limits<double>::max(),
                                                    std::numeric_limits<double>::min(),
                                                    -934.3173604624975,
                                                    0.1};
        switch (below(3)) {
        case 0:
            return special[below(special.size())];
        case 1:
            return std::bit_cast<double>(static_cast<std::uint64_t>(engine()));
        default:
            return std::uniform_real_distribution<double>(-1e3, 1e3)(engine);
        }
    }

    // Calibration coefficients are finite: the JSON of a snapshot's header
    // has no text for the others.
    double finiteValue()
    {
        double v = value();
        while (!std::isfinite(v)) {
            v = value();
        }
        return v;
    }

    std::vector<double> values(std::size_t count)
    {
        std::vector<double> result(count);
        for (double& v : result) {
            v = value();
        }
        return result;
    }

    std::vector<std::vector<double>> tracks(std::size_t columns, std::size_t rows)
    {
        std::vector<std::vector<double>> result;
        for (std::size_t c = 0; c < columns; ++c) {
            result.push_back(values(rows));
        }
        return result;
    }

    JobInfo jobInfo()
    {
        JobInfo info = jobWithId(text());
        info.created = text();
        info.type = text();
        return info;
    }

    std::vector<ColumnHeader> columns(std::size_t count, const std::string& urn)
    {
        std::vector<ColumnHeader> result;
        for (std::size_t c = 0; c < count; ++c) {
            result.emplace_back(text(), text(), urn.empty() ? text() : urn);
        }
        return result;
    }

    // One column with an empty name is the table's most delicate header.
    DcDataset dc()
    {
        const std::size_t columnCount = below(4) == 0 ? 1 : below(5);
        const std::size_t rows = columnCount == 0 ? 0 : below(5);
        LiveDataHeader header(text(), text(), columns(columnCount, ""));
        DcDataset dataset(header, jobInfo(), tracks(columnCount, rows));
        if (columnCount != 0 && below(4) == 0) {
            dataset.append(DcDataset(header, jobInfo(), tracks(columnCount, below(3))), value());
        }
        return dataset;
    }

    // Group keys are distinct and not empty, as the workstation's URIs are:
    // the format tells objects apart by them.
    EisDataset eis()
    {
        if (below(8) == 0) {
            return EisDataset();
        }
        const std::size_t rows = below(5);
        const std::size_t waveCount = rows == 0 ? 0 : below(rows + 1);
        std::vector<ColumnHeader> meta = {ColumnHeader("frequency", "Hz", ""), ColumnHeader("periods", "", ""),
                                          ColumnHeader("time", "s", "")};
        std::vector<std::vector<double>> metaTracks = tracks(3, rows);
        std::vector<std::size_t> waveSizes;
        for (std::size_t w = 0; w < waveCount; ++w) {
            waveSizes.push_back(below(4));
        }
        if (waveCount != 0) {
            meta.emplace_back("wave_id", "", "");
            meta.emplace_back("wave_size", "", "");
            std::vector<double> ids;
            std::vector<double> sizes;
            for (std::size_t r = 0; r < rows; ++r) {
                ids.push_back(static_cast<double>(r % waveCount));
                sizes.push_back(static_cast<double>(waveSizes[r % waveCount]));
            }
            metaTracks.push_back(ids);
            metaTracks.push_back(sizes);
        }
        if (below(2) == 0) {
            meta.emplace_back(text(), text(), "");
            metaTracks.push_back(values(rows));
        }

        std::size_t key = 0;
        auto uri = [&] { return "K" + std::to_string(key++) + ":" + text(); };
        auto polynomial = [&] {
            std::vector<double> coefficients(2 + below(2));
            for (double& c : coefficients) {
                c = finiteValue();
            }
            return UserPolynomial(coefficients);
        };
        std::vector<PathDataHeader> paths;
        EisColumnTracks pathTracks;
        EisColumnTracks pathWaves;
        for (std::size_t n = below(3); n > 0; --n) {
            const std::string u = uri();
            const std::size_t count = below(3);
            paths.emplace_back(u, text(), columns(count, u), polynomial());
            pathTracks.push_back(tracks(count, rows));
            std::vector<std::vector<double>> waves;
            for (std::size_t size : waveSizes) {
                waves.push_back(values(size));
            }
            pathWaves.push_back(waves);
        }
        std::vector<ImpedanceDataHeader> impedances;
        EisColumnTracks impedanceTracks;
        for (std::size_t n = below(3); n > 0; --n) {
            const std::string numerator = uri();
            const std::string denominator = uri();
            const std::size_t count = below(3);
            impedances.emplace_back(numerator, denominator, columns(count, numerator + "/" + denominator), text());
            impedanceTracks.push_back(tracks(count, rows));
        }
        std::vector<PathDataHeader> asyncPaths;
        EisColumnTracks asyncTracks;
        for (std::size_t n = below(2); n > 0; --n) {
            const std::string u = uri();
            const std::size_t count = below(3);
            asyncPaths.emplace_back(u, text(), columns(count, u), polynomial());
            asyncTracks.push_back(tracks(count, rows));
        }
        std::vector<PotentiostatDataHeader> potentiostats;
        EisColumnTracks potentiostatTracks;
        for (std::size_t n = below(2); n > 0; --n) {
            const std::string u = uri();
            const std::size_t count = below(3);
            potentiostats.push_back(PotentiostatDataHeader{u, columns(count, u), polynomial()});
            potentiostatTracks.push_back(tracks(count, rows));
        }
        return EisDataset(LiveDataHeaderEis(text(), text(), std::move(meta), std::move(impedances), std::move(paths),
                                            std::move(asyncPaths), std::move(potentiostats)),
                          std::move(impedanceTracks), std::move(pathTracks), std::move(pathWaves),
                          std::move(asyncTracks), std::move(potentiostatTracks), std::move(metaTracks), jobInfo());
    }

private:
    using EisColumnTracks = std::vector<std::vector<std::vector<double>>>;

    std::mt19937_64 engine;
};

// The dataset element as the writer produces it in memory, where no text has
// passed through the printer or a parser. Every number is written with 17
// digits, so equal elements mean equal datasets up to NaN payloads.
std::string element(const DataSet& dataset)
{
    tinyxml2::XMLDocument document;
    MXml::XmlSerializer serializer{&document, nullptr};
    dataset.acceptSerializer(serializer);
    document.InsertEndChild(serializer.element);
    return print(*serializer.element);
}

void expectSameDataset(const DataSet& original, const std::shared_ptr<MXml::XmlSerializable>& read)
{
    ASSERT_NE(read, nullptr);
    const auto* dataset = dynamic_cast<const DataSet*>(read.get());
    ASSERT_NE(dataset, nullptr);
    EXPECT_EQ(dynamic_cast<const EisDataset*>(dataset) != nullptr, dynamic_cast<const EisDataset*>(&original) != nullptr);
    EXPECT_EQ(element(*dataset), element(original));
}

std::string jsonText(const JobInfo& info)
{
    return boost::json::serialize(jobInfoToJson(info));
}

std::string snapshot(std::string_view subType, const boost::json::value& header, std::uint64_t rows,
                     const JobInfo& info, const std::string& payload)
{
    const boost::json::object metadata{
        {"sub_type", subType},
        {"size", payload.size()},
        {"workstation_info", {{"protocol_version", ProtocolVersion::library()}}},
        {"header", {{"job_data_header", header}, {"job_info", jobInfoToJson(info)}, {"number_of_rows", rows}}}};
    return boost::json::serialize(metadata) + std::string(1, '\0') + payload;
}

void expectXmlRoundTrips(const DataSet& dataset, const std::string& comment)
{
    const MXml::MXmlExporter exporter("round trip", comment, false);
    const auto bare = exporter.serialize(dataset);
    ASSERT_TRUE(bare.has_value());
    const auto fromBare = MXml::MXmlImporter().deserialize(*bare);
    ASSERT_TRUE(fromBare.has_value()) << textOf(fromBare.error()) << "\n" << *bare;
    expectSameDataset(dataset, *fromBare);

    const auto standalone = exporter.serializeAsFileStandalone(dataset, comment);
    ASSERT_TRUE(standalone.has_value());
    const auto fromFile = MXml::MXmlImporter().importFromMemory(*standalone);
    ASSERT_TRUE(fromFile.has_value()) << textOf(fromFile.error()) << "\n" << *standalone;
    expectSameDataset(dataset, fromFile->object);
    EXPECT_EQ(fromFile->file_info.comment, comment);
    EXPECT_EQ(fromFile->file_info.generator_version, comment);
}

void expectDcTableRoundTrips(const DcDataset& dataset)
{
    const auto table = dcDatasetToBinary(dataset);
    ASSERT_TRUE(table.has_value());
    LiveDataHeader header = dataset.getHeader();
    const DcDataset fromTable = dcDatasetFromBinary(*table, std::move(header), JobInfo(dataset.getJobInfo()));
    EXPECT_EQ(dcDatasetToBinary(fromTable), table);

    const auto imported = MrbImporter().importFromMemory(
        snapshot("DATASET_DC", boost::json::value_from(dataset.getHeader()), 0, dataset.getJobInfo(), *table));
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    const auto* fromSnapshot = dynamic_cast<const DcDataset*>(imported->get());
    ASSERT_NE(fromSnapshot, nullptr);
    EXPECT_EQ(dcDatasetToBinary(*fromSnapshot), table);
    EXPECT_EQ(boost::json::serialize(boost::json::value_from(fromSnapshot->getHeader())),
              boost::json::serialize(boost::json::value_from(dataset.getHeader())));
    EXPECT_EQ(jsonText(fromSnapshot->getJobInfo()), jsonText(dataset.getJobInfo()));
}

void expectEisTableRoundTrips(const EisDataset& dataset)
{
    const auto table = eisDatasetToBinary(dataset);
    ASSERT_TRUE(table.has_value());
    const std::string header = boost::json::serialize(boost::json::value_from(table->header));
    const auto imported = MrbImporter().importFromMemory(snapshot("DATASET_AC", boost::json::value_from(table->header),
                                                                  table->number_of_rows, dataset.getJobInfo(),
                                                                  table->data));
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    const auto* fromSnapshot = dynamic_cast<const EisDataset*>(imported->get());
    ASSERT_NE(fromSnapshot, nullptr);
    const auto again = eisDatasetToBinary(*fromSnapshot);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->data, table->data);
    EXPECT_EQ(again->number_of_rows, table->number_of_rows);
    EXPECT_EQ(boost::json::serialize(boost::json::value_from(again->header)), header);
    EXPECT_EQ(jsonText(fromSnapshot->getJobInfo()), jsonText(dataset.getJobInfo()));
}

TEST(DatasetRoundTrip, EveryWrittenDatasetReadsBackEqual)
{
    RandomDatasets random(20261211);
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE("dataset pair " + std::to_string(i));
        const DcDataset dc = random.dc();
        expectXmlRoundTrips(dc, random.text());
        expectDcTableRoundTrips(dc);
        const EisDataset eis = random.eis();
        expectXmlRoundTrips(eis, random.text());
        expectEisTableRoundTrips(eis);
        if (testing::Test::HasFailure()) {
            return;
        }
    }
}

TEST(DatasetRoundTrip, MeasurementsWithEmptyDatasetsSaveAndImport)
{
    RandomDatasets random(7);
    TemporaryFolder folder;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE("measurement " + std::to_string(i));
        MXml::Measurement measurement;
        for (std::size_t n = random.below(4); n > 0; --n) {
            measurement.appendDataset(std::make_shared<DcDataset>(random.dc()));
        }
        measurement.appendDataset(std::make_shared<EisDataset>());
        measurement.appendDataset(std::make_shared<EisDataset>(random.eis()));
        const auto path = folder / ("measurement" + std::to_string(i) + ".xml");
        const ErrorObject saved = MXml::MXmlExporter().saveAsFileStandalone(measurement, path, random.text());
        ASSERT_EQ(saved.getErrorCodeEnum(), ErrorCodeEnum::NONE) << textOf(saved);

        const auto imported = MXml::MXmlImporter().importFromFile(path);
        ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
        const auto* read = dynamic_cast<const MXml::Measurement*>(imported->object.get());
        ASSERT_NE(read, nullptr);
        ASSERT_EQ(read->getDatasets().size(), measurement.getDatasets().size());
        for (std::size_t d = 0; d < read->getDatasets().size(); ++d) {
            expectSameDataset(*measurement.getDatasets()[d], read->getDatasets()[d]);
        }
    }
}

// Impedance datasets of two rows whose element the reader would refuse or
// read as another dataset.
EisDataset unreadable(std::vector<ColumnHeader> meta, std::vector<PathDataHeader> paths,
                      std::vector<std::vector<std::vector<double>>> waves)
{
    std::vector<std::vector<std::vector<double>>> pathTracks;
    for (const PathDataHeader& path : paths) {
        pathTracks.emplace_back(path.getColumns().size(), std::vector<double>{1.0, 2.0});
    }
    std::vector<std::vector<double>> metaTracks(meta.size(), std::vector<double>{1.0, 2.0});
    return EisDataset(LiveDataHeaderEis("EIS", "EIS", std::move(meta), {}, std::move(paths), {}, {}), {},
                      std::move(pathTracks), std::move(waves), {}, {}, std::move(metaTracks), jobWithId("job"));
}

TEST(DatasetRoundTrip, WhatWouldNotReadBackIsNotSaved)
{
    const std::vector<ColumnHeader> meta = {ColumnHeader("frequency", "Hz", ""), ColumnHeader("periods", "", ""),
                                            ColumnHeader("time", "s", "")};
    auto path = [](const std::string& uri, std::size_t columns) {
        return PathDataHeader(uri, "p", std::vector<ColumnHeader>(columns, ColumnHeader("dc", "V", uri)),
                              UserPolynomial());
    };
    struct Case {
        const char* name;
        EisDataset dataset;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"TwoMetaColumns", unreadable({meta[0], meta[1]}, {}, {}),
         "an impedance dataset with rows needs the meta columns frequency, periods and time"},
        {"EmptyPathUri", unreadable(meta, {path("", 1)}, {{}}),
         "a column class has the empty group key of the meta columns"},
        {"SharedUri", unreadable(meta, {path("U", 1), path("U", 1)}, {{}, {}}),
         "two column classes share the group key 'U'"},
        {"SharedUriFirstWithoutColumns", unreadable(meta, {path("U", 0), path("U", 1)}, {{}, {}}),
         "two column classes share the group key 'U'"},
        {"MoreWavesThanRows", unreadable(meta, {path("U", 1)}, {{{1.0}, {2.0}, {3.0}}}),
         "sync path 0 has more waves than the dataset has rows"},
    };
    TemporaryFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected = "resource content invalid: the object would not read back from its XML: ";
        const MXml::MXmlExporter exporter;
        const auto bare = exporter.serialize(c.dataset);
        ASSERT_FALSE(bare.has_value());
        EXPECT_EQ(bare.error().getErrorCodeEnum(), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
        EXPECT_EQ(textOf(bare.error()), expected + c.problem);
        const auto standalone = exporter.serializeAsFileStandalone(c.dataset, "");
        ASSERT_FALSE(standalone.has_value());
        EXPECT_EQ(textOf(standalone.error()), expected + c.problem);

        MXml::Measurement measurement;
        measurement.appendDataset(std::make_shared<EisDataset>());
        measurement.appendDataset(std::make_shared<EisDataset>(c.dataset));
        const auto file = folder / (std::string(c.name) + ".xml");
        EXPECT_EQ(textOf(exporter.saveAsFileStandalone(measurement, file, "")), expected + "dataset #1: " + c.problem);
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    // A later class without columns under a used key takes nothing away.
    EXPECT_TRUE(MXml::MXmlExporter().serialize(unreadable(meta, {path("U", 1), path("U", 0)}, {{}, {}})).has_value());
}

} // namespace
