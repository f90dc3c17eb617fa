#include "file_test_support.hpp"
#include "xml_fixtures.hpp"

#include "support/xml_children.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/mxml_importer.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

using namespace file_test;

namespace {

using Values = std::vector<double>;

HardwareInfo benchHardware()
{
    return boost::json::value_to<HardwareInfo>(boost::json::parse(R"({
      "workstation": {"protocol_version": 12, "serial_number": "354531", "model_name": "TQ5",
                      "firmware_version": "3.2.1", "firmware_build_id": "b77", "cpu_card_uuid": "c-1",
                      "system_mac": "00:11:22:33:44:55", "system_name": "bench <2> & 3", "mode": "NORMAL"},
      "paths": [{"url": "MAIN:1:POT:U~ZMU:1:ZMU_U", "urn": "354531:POT:U~ZMU:1:ZMU_U", "sampling": "simultan",
                 "source": "voltage", "relevance": 1,
                 "gain_ranges": [{"index": 1, "enabled": false, "nominal_gain": 10.5}], "filter_ranges": []}],
      "potentiostats": [{"url": "MAIN:1:POT", "urn": "354531:POT", "identifier": "MAIN", "serialnumber": "354531",
                         "software": "2.0", "has_calibration_data": true, "dac_resolution": 16,
                         "current_ranges": [{"index": 0, "enabled": true, "current": 1e-9, "resistance": 1e9}],
                         "voltage_ranges": [], "bandwidth_ranges": [], "compliance_ranges": []}],
      "cards": [{"name": "ZMU", "symbol": "ZMU", "serialnumber": "354531", "firmware": "1.1", "hardware": "C"}]
    })"));
}

std::shared_ptr<DcDataset> dcDataset(std::string jobId, Values voltages)
{
    JobInfo info;
    info.jobId = std::move(jobId);
    Values times(voltages.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        times[i] = 0.1 * static_cast<double>(i);
    }
    return std::make_shared<DcDataset>(
        LiveDataHeader("Cyclic Voltammetry", "CV",
                       {ColumnHeader("time", "s", "MAIN:1:TIME"), ColumnHeader("voltage", "V", "MAIN:1:POT")}),
        std::move(info), std::vector<Values>{times, std::move(voltages)});
}

std::shared_ptr<EisDataset> eisDataset()
{
    const auto read = MXml::MXmlImporter().importFromMemory(standaloneFile("dataset", "2", legacyEisDatasetElement()));
    EXPECT_TRUE(read.has_value());
    return read ? std::dynamic_pointer_cast<EisDataset>(read->object) : nullptr;
}

} // namespace

TEST(Measurement, WritesHardwareFirstThenTheDatasetsInOrder)
{
    MXml::Measurement measurement;
    measurement.setHardwareInfo(benchHardware());
    measurement.appendDataset(dcDataset("first", {0.5}));
    measurement.appendDataset(dcDataset("second", {0.25}));

    tinyxml2::XMLDocument document;
    MXml::XmlSerializer serializer{&document, nullptr};
    measurement.acceptSerializer(serializer);
    ASSERT_NE(serializer.element, nullptr);
    EXPECT_EQ(document.FirstChild(), nullptr);
    EXPECT_STREQ(serializer.element->Name(), "marlek-measurement");
    EXPECT_EQ(childNames(serializer.element), (std::vector<std::string>{"hardware-info", "dataset", "dataset"}));
}

TEST(Measurement, SavedFileImportsBackEqual)
{
    TempFolder folder;
    const auto path = folder / "runs" / "bench.xml";
    auto measurement = std::make_shared<MXml::Measurement>();
    measurement->setHardwareInfo(benchHardware());
    measurement->appendDataset(dcDataset("cv-1", {0.5, -0.25, 1e-300, 0.1}));
    const auto eis = eisDataset();
    ASSERT_NE(eis, nullptr);
    measurement->appendDataset(eis);
    measurement->appendDataset(dcDataset("cv-2", {}));

    const MXml::MXmlExporter exporter("bench suite", "7.1", false);
    ASSERT_EQ(exporter.saveAsFileStandalone(measurement, path, "three runs"), ErrorObject());

    const auto imported = MXml::MXmlImporter().importFromFile(path);
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    EXPECT_EQ(imported->file_info.type, "marlek-measurement");
    EXPECT_EQ(imported->file_info.file_version, 4u);
    EXPECT_EQ(imported->file_info.generator, "bench suite");
    EXPECT_EQ(imported->file_info.generator_version, "7.1");
    EXPECT_EQ(imported->file_info.comment, "three runs");
    const auto info = MXml::MXmlImporter().readFileInfo(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(*info, imported->file_info);

    const auto back = std::dynamic_pointer_cast<MXml::Measurement>(imported->object);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getHardwareInfo(), benchHardware());
    ASSERT_EQ(back->getDatasets().size(), 3u);

    const auto first = std::dynamic_pointer_cast<DcDataset>(back->getDatasets()[0]);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getJobInfo().jobId, "cv-1");
    EXPECT_EQ(first->getTracks(), dcDataset("cv-1", {0.5, -0.25, 1e-300, 0.1})->getTracks());
    EXPECT_EQ(first->getHeader().getColumns(), dcDataset("", {})->getHeader().getColumns());

    const auto second = std::dynamic_pointer_cast<EisDataset>(back->getDatasets()[1]);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getFrequencies(), eis->getFrequencies());
    EXPECT_EQ(second->getPathWaves(0), eis->getPathWaves(0));
    EXPECT_EQ(second->getPotentiostatsDataHeaders()[0].polynomial.coefficients,
              eis->getPotentiostatsDataHeaders()[0].polynomial.coefficients);
    EXPECT_EQ(second->getJobInfo().jobId, "eis-1");

    const auto third = std::dynamic_pointer_cast<DcDataset>(back->getDatasets()[2]);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->getRowCount(), 0u);
}

TEST(Measurement, ExportedDatasetFileHasADatasetRoot)
{
    const auto text = MXml::MXmlExporter("g", "1", true).serializeAsFileStandalone(*dcDataset("cv", {1.0}), "");
    ASSERT_TRUE(text.has_value());
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(text->c_str()), tinyxml2::XML_SUCCESS);
    EXPECT_STREQ(document.RootElement()->Name(), "dataset");
    EXPECT_EQ(childNames(document.RootElement()), (std::vector<std::string>{"marlek-fileinfo", "dataset"}));
    EXPECT_STREQ(document.RootElement()->FirstChildElement("marlek-fileinfo")->FirstChildElement("type")->GetText(),
                 "dataset");

    const auto bare = MXml::MXmlExporter().serialize(*dcDataset("cv", {1.0}));
    ASSERT_TRUE(bare.has_value());
    EXPECT_TRUE(MXml::MXmlImporter().deserialize(*bare).has_value());
    EXPECT_FALSE(MXml::MXmlImporter().importFromMemory(*bare).has_value());
}
