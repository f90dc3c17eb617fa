// Files written and read while the process runs under a locale with a
// decimal comma, as a Python host switches to with one locale.setlocale.

#include "file_test_support.hpp"
#include "support/decimal_comma_locale.hpp"
#include "xml_fixtures.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/mxml_importer.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace file_test;

namespace {

using Values = std::vector<double>;

HardwareInfo fractionalHardware()
{
    return boost::json::value_to<HardwareInfo>(boost::json::parse(R"({
      "workstation": {"protocol_version": 12, "serial_number": "1", "model_name": "TQ5", "firmware_version": "3",
                      "firmware_build_id": "b", "cpu_card_uuid": "c", "system_mac": "m", "system_name": "n",
                      "mode": "NORMAL"},
      "paths": [{"url": "MAIN:1:POT:U", "urn": "1:POT:U", "sampling": "simultan", "source": "voltage",
                 "relevance": 1, "gain_ranges": [{"index": 1, "enabled": true, "nominal_gain": 10.5}],
                 "filter_ranges": []}],
      "potentiostats": [{"url": "MAIN:1:POT", "urn": "1:POT", "identifier": "MAIN", "serialnumber": "1",
                         "software": "2.0", "has_calibration_data": true, "dac_resolution": 16,
                         "current_ranges": [{"index": 0, "enabled": true, "current": 2.5e-9, "resistance": 0.4e9}],
                         "voltage_ranges": [], "bandwidth_ranges": [], "compliance_ranges": []}],
      "cards": []
    })"));
}

// Times from 0.5 in steps of 0.25; the job failed with a fractional
// parameter in its error.
std::shared_ptr<DcDataset> dcDataset(Values voltages)
{
    JobInfo info;
    info.jobId = "cv-1";
    info.error = ErrorObject(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH, "{0} is too high", 0.75);
    Values times(voltages.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        times[i] = 0.5 + 0.25 * static_cast<double>(i);
    }
    return std::make_shared<DcDataset>(
        LiveDataHeader("Cyclic Voltammetry", "CV",
                       {ColumnHeader("time", "s", "MAIN:1:TIME"), ColumnHeader("voltage", "V", "MAIN:1:POT")}),
        std::move(info), std::vector<Values>{times, std::move(voltages)});
}

// The hand-made impedance dataset with a potentiostat polynomial of 0.25
// and 1.5.
std::string fractionalEisFile()
{
    std::string element = legacyEisDatasetElement();
    const std::string integral = "<coefficient>1</coefficient><coefficient>3</coefficient>";
    element.replace(element.find(integral), integral.size(),
                    "<coefficient>0.25</coefficient><coefficient>1.5</coefficient>");
    return standaloneFile("dataset", "2", element);
}

std::shared_ptr<MXml::Measurement> sampleMeasurement()
{
    auto measurement = std::make_shared<MXml::Measurement>();
    measurement->setHardwareInfo(fractionalHardware());
    // Two runs in one dataset, so that it carries two sections.
    auto dc = dcDataset({0.5, -0.25});
    EXPECT_TRUE(dc->append(*dcDataset({1e-300, 0.1}), 0.0));
    measurement->appendDataset(dc);
    const auto eis = MXml::MXmlImporter().importFromMemory(fractionalEisFile());
    EXPECT_TRUE(eis.has_value());
    if (eis) {
        measurement->appendDataset(std::dynamic_pointer_cast<EisDataset>(eis->object));
    }
    return measurement;
}

} // namespace

TEST(DecimalCommaLocale, ReadsFilesWrittenWithDecimalPoints)
{
    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    const MXml::MXmlImporter importer;
    const auto dc = importer.importFromMemory(standaloneFile("dataset", "3.6", dcDatasetElement()));
    ASSERT_TRUE(dc.has_value()) << textOf(dc.error());
    EXPECT_EQ(dc->file_info.file_version, 4u);
    EXPECT_EQ(std::dynamic_pointer_cast<DcDataset>(dc->object)->getTracks(), (std::vector<Values>{{0, 1}, {0.5, -0.25}}));

    const auto eis = importer.importFromMemory(fractionalEisFile());
    ASSERT_TRUE(eis.has_value()) << textOf(eis.error());
    const auto dataset = std::dynamic_pointer_cast<EisDataset>(eis->object);
    ASSERT_NE(dataset, nullptr);
    EXPECT_EQ(dataset->getPotentiostatsDataHeaders()[0].polynomial.coefficients, (Values{0.25, 1.5}));
    EXPECT_EQ(dataset->getPathMetaData(0, 0), Values{0.1});
}

TEST(DecimalCommaLocale, SavesTheSameTextAndReadsItBack)
{
    const auto measurement = sampleMeasurement();
    const MXml::MXmlExporter exporter("suite", "1.0", false);
    const auto inTheCLocale = exporter.serialize(measurement);
    ASSERT_TRUE(inTheCLocale.has_value());

    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    const auto underTheLocale = exporter.serialize(measurement);
    ASSERT_TRUE(underTheLocale.has_value());
    EXPECT_EQ(*underTheLocale, *inTheCLocale);

    TempFolder folder;
    const auto path = folder / "run.xml";
    ASSERT_EQ(exporter.saveAsFileStandalone(measurement, path, "comma"), ErrorObject());
    EXPECT_NE(readFile(path).find("0.5;0.5\n0.75;-0.25\n"), std::string::npos) << readFile(path);

    const auto imported = MXml::MXmlImporter().importFromFile(path);
    ASSERT_TRUE(imported.has_value()) << textOf(imported.error());
    const auto back = std::dynamic_pointer_cast<MXml::Measurement>(imported->object);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getHardwareInfo(), fractionalHardware());
    ASSERT_EQ(back->getDatasets().size(), 2u);

    const auto written = std::dynamic_pointer_cast<DcDataset>(measurement->getDatasets()[0]);
    const auto dc = std::dynamic_pointer_cast<DcDataset>(back->getDatasets()[0]);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->getTracks(), written->getTracks());
    ASSERT_EQ(dc->getIncludedDatasets().size(), 2u);
    EXPECT_EQ(dc->getIncludedDatasets()[0].first_time_value, 0.5);
    EXPECT_EQ(dc->getIncludedDatasets()[1].first_time_value, written->getIncludedDatasets()[1].first_time_value);
    EXPECT_EQ(dc->getJobInfo().error.getMessageParameters(), std::vector<ErrorParameter>{ErrorParameter(0.75)});

    const auto eis = std::dynamic_pointer_cast<EisDataset>(back->getDatasets()[1]);
    ASSERT_NE(eis, nullptr);
    EXPECT_EQ(eis->getPotentiostatsDataHeaders()[0].polynomial.coefficients, (Values{0.25, 1.5}));
    EXPECT_EQ(eis->getPathMetaData(0, 0), Values{0.1});
}
