#include "impedance_samples.hpp"
#include "xml_support.hpp"

#include "support/json_keys.hpp"

#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"
#include "marlek_link_json/jobs/common/jobrequest_json.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"

#include <boost/describe.hpp>
#include <boost/json.hpp>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace json = boost::json;

namespace {

template <class P, const std::string_view* Name>
struct JobKind {
    using Record = P;
    using Job = AcMeasurementJob<P, Name>;
    static std::string name() { return std::string(*Name); }
};

using ImpedanceJobKinds = ::testing::Types<JobKind<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>,
                                           JobKind<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>,
                                           JobKind<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>,
                                           JobKind<EisMultisineParametersGenerate,
                                                   &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>,
                                           JobKind<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>,
                                           JobKind<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>>;

template <class Kind>
class ImpedanceJob : public ::testing::Test {};

TYPED_TEST_SUITE(ImpedanceJob, ImpedanceJobKinds);

// Expected state of a job that has not run, seen through the job interface
// the session uses.
void expectFreshJob(const AbstractMeasurementJob& job)
{
    EXPECT_EQ(job.getType(), JobTypeEnum::AC);
    EXPECT_EQ(static_cast<int>(job.getType()), 0);
    EXPECT_TRUE(job.getStopConditionsArray().empty());
    EXPECT_EQ(job.getJobOptions(), JobOptions{});
    EXPECT_EQ(job.getLastJobStatus(), JobStatusEnum::UNKNOWN);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_EQ(job.getLastJobErrorMessage(), "no error occoured");
    EXPECT_FALSE(job.wasSuccessful());
}

} // namespace

TYPED_TEST(ImpedanceJob, BuiltFromTheRecordAlone)
{
    using Job = typename TypeParam::Job;
    const auto record = ImpedanceSample<typename TypeParam::Record>::full();
    Job job(record);
    expectFreshJob(job);
    EXPECT_EQ(job.getName(), TypeParam::name());
    EXPECT_EQ(&job.getName(), &Job::name);
    EXPECT_EQ(job.getParameters(), record);
    EXPECT_TRUE(job.getMetaData().empty());
    EXPECT_TRUE(job.getMetaDataObject().empty());
}

TYPED_TEST(ImpedanceJob, BuiltWithMetadataKeepsCopies)
{
    using Job = typename TypeParam::Job;
    auto record = ImpedanceSample<typename TypeParam::Record>::full();
    const auto original = record;
    std::map<std::string, std::string> metaData{{"sample", "A1"}, {"operator", "kb"}};
    Job job(record, metaData);
    record.bias += 1.0;
    metaData["sample"] = "changed";
    expectFreshJob(job);
    EXPECT_EQ(job.getParameters(), original);
    EXPECT_EQ(job.getMetaData(), (std::map<std::string, std::string>{{"sample", "A1"}, {"operator", "kb"}}));
    EXPECT_EQ(job.getMetaDataObject(), json::parse(R"({"operator": "kb", "sample": "A1"})").as_object());
}

TYPED_TEST(ImpedanceJob, ParameterObjectIsTheRecordsJsonWithOptionalsLast)
{
    using Sample = ImpedanceSample<typename TypeParam::Record>;
    const auto record = Sample::full();
    const typename TypeParam::Job job(record);
    const auto object = job.getParameterObject();
    EXPECT_EQ(json::value(object), json::value_from(record));
    auto expectedKeys = Sample::topLevel;
    expectedKeys.insert(expectedKeys.end(), Sample::optionals.begin(), Sample::optionals.end());
    EXPECT_EQ(keysOf(object), expectedKeys);
    EXPECT_EQ(keysOf(object.at("frequency_range").as_object()).front(), "type");
    EXPECT_EQ(object.at("frequency_range").at("type"), Sample::rangeType.c_str());

    auto bare = record;
    Sample::clearOptionals(bare);
    EXPECT_EQ(keysOf(typename TypeParam::Job(bare).getParameterObject()), Sample::topLevel);
}

TYPED_TEST(ImpedanceJob, ParameterObjectReadsBackStrictly)
{
    using Record = typename TypeParam::Record;
    const auto record = ImpedanceSample<Record>::full();
    const typename TypeParam::Job job(record);
    EXPECT_EQ(StrictJson::read<Record>(job.getParameterObject()), record);
    // The records' own readers are all or nothing.
    EXPECT_EQ(StrictJson::read<Record>(json::object{}), Record{});
    try {
        StrictJson::read<Record>(json::array{});
        ADD_FAILURE() << "a parameter array was read";
    } catch (const boost::system::system_error& error) {
        EXPECT_EQ(error.code(), boost::json::error::not_object);
    }
}

TYPED_TEST(ImpedanceJob, RequestCarriesNameParametersAndMetadata)
{
    const auto record = ImpedanceSample<typename TypeParam::Record>::full();
    const typename TypeParam::Job job(record, {{"cell", "3"}});
    const auto request = makeJobRequestObject("/job/start", job.getName(), job.getParameterObject(),
                                              job.getStopConditionsArray(), job.getMetaDataObject(),
                                              job.getJobOptions());
    EXPECT_EQ(keysOf(request), (std::vector<std::string>{"do", "job"}));
    const auto& inner = request.at("job").as_object();
    EXPECT_EQ(keysOf(inner), (std::vector<std::string>{"type", "parameters", "stop_conditions", "job_meta"}));
    EXPECT_EQ(inner.at("type"), TypeParam::name().c_str());
    EXPECT_EQ(inner.at("parameters"), json::value_from(record));
    EXPECT_EQ(inner.at("stop_conditions"), json::array{});
    EXPECT_EQ(inner.at("job_meta"), json::parse(R"({"cell": "3"})"));
}

TYPED_TEST(ImpedanceJob, ParametersGoIntoJobInformationXml)
{
    using Record = typename TypeParam::Record;
    const auto record = ImpedanceSample<Record>::full();
    JobInfo info;
    info.type = TypeParam::name();
    info.parameters = std::make_shared<SerializableParameterStruct<Record>>(record);
    tinyxml2::XMLDocument document;
    auto* root = document.NewElement("root");
    document.InsertEndChild(root);
    MXml::appendJobinfoElement(info, root);
    auto* parameters = root->FirstChildElement("job-info")->FirstChildElement("parameters");
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(readParameters<Record>(parameters), record);
}

TEST(ImpedanceJobs, EisTableParameterObject)
{
    EisParametersFrequencyTable record{.bias = 0.5, .spectrum = {spectrumPointA}};
    const AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME> job(record);
    EXPECT_EQ(job.getName(), "eis_table");
    const auto object = job.getParameterObject();
    EXPECT_EQ(json::value(object), json::parse(R"({"bias": 0.5, "frequency_range": {"type": "table", "spectrum": [
        {"frequency": 1000.0, "amplitude": 0.01, "pre_duration": 0.5, "pre_waves": 2, "meas_duration": 1.5,
         "meas_waves": 18446744073709551615}]}})"));
    const auto& entry = object.at("frequency_range").at("spectrum").at(0).as_object();
    EXPECT_EQ(keysOf(entry), (std::vector<std::string>{"frequency", "amplitude", "pre_duration", "pre_waves",
                                                       "meas_duration", "meas_waves"}));
    EXPECT_TRUE(entry.at("pre_waves").is_uint64());
    EXPECT_TRUE(entry.at("meas_waves").is_uint64());
}

TEST(ImpedanceJobs, WholeStartRequestOfAGeneratedSweep)
{
    const EisParametersGenerate record{.bias = 0.0,
                                       .min_frequency = 100.0,
                                       .max_frequency = 1e6,
                                       .start_frequency = 1e4,
                                       .points_per_decade_upper = 20,
                                       .points_per_decade_lower = 5,
                                       .pre_duration = 0.1,
                                       .pre_waves = 1,
                                       .meas_duration = 1.0,
                                       .meas_waves = 5,
                                       .amplitude = 0.01,
                                       .drift_correction = DriftCorrection::DC_ONLY};
    AcMeasurementJob<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME> job(record, {{"sample", "A1"}});
    job.jobOptions = JobOptions{true, false};
    const auto request = makeJobRequestObject("/job/start", job.getName(), job.getParameterObject(),
                                              job.getStopConditionsArray(), job.getMetaDataObject(),
                                              job.getJobOptions());
    EXPECT_EQ(json::value(request), json::parse(R"({"do": "/job/start", "job": {"type": "eis", "parameters": {
        "bias": 0.0, "frequency_range": {"type": "generate", "min_frequency": 100.0, "max_frequency": 1000000.0,
        "start_frequency": 10000.0, "points_per_decade_upper": 20, "points_per_decade_lower": 5,
        "pre_duration": 0.1, "pre_waves": 1, "meas_duration": 1.0, "meas_waves": 5, "amplitude": 0.01},
        "drift_correction": "DC_ONLY"}, "stop_conditions": [], "job_meta": {"sample": "A1"}},
        "bypass_queue": true})"));
    const auto& range = request.at("job").at("parameters").at("frequency_range").as_object();
    for (const char* count : {"points_per_decade_upper", "points_per_decade_lower", "pre_waves", "meas_waves"}) {
        EXPECT_TRUE(range.at(count).is_uint64()) << count;
    }
}

TEST(ImpedanceJobs, StopConditionsSetThroughTheBaseAreSent)
{
    AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME> job(
        ImpedanceSample<GeisVaParametersFrequencyTable>::full());
    job.setStopConditions({std::make_shared<MaxLimitStopCondition>(MaxLimitStopConditionParameters{"current", 2})});
    const auto conditions = job.getStopConditionsArray();
    ASSERT_EQ(conditions.size(), 1U);
    EXPECT_EQ(keysOf(conditions.at(0).as_object()), (std::vector<std::string>{"type", "parameters"}));
}

namespace {

// Shaped like the calibration jobs: a subclass over a record of another
// family that only inherits the template's constructors.
inline constexpr std::string_view TEST_CALIBRATION_JOB_NAME = "test_calibration";

struct TestCalibrationParameters {
    std::string calibration_type;
    std::string calibration_path;
    std::uint64_t index = 0;
    friend bool operator==(const TestCalibrationParameters&, const TestCalibrationParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(TestCalibrationParameters, (), (calibration_type, calibration_path, index))

class TestCalibrationJob : public AcMeasurementJob<TestCalibrationParameters, &TEST_CALIBRATION_JOB_NAME> {
public:
    using AcMeasurementJob::AcMeasurementJob;
};

} // namespace

TEST(ImpedanceJobs, CalibrationShapedSubclassKeepsTheAcBehaviour)
{
    const TestCalibrationParameters record{"dc", "MAIN:1:POT", 3};
    const std::unique_ptr<AbstractMeasurementJob> job = std::make_unique<TestCalibrationJob>(record);
    expectFreshJob(*job);
    EXPECT_EQ(job->getName(), "test_calibration");
    EXPECT_EQ(json::value(job->getParameterObject()), json::parse(R"({"calibration_type": "dc", "calibration_path": "MAIN:1:POT", "index": 3})"));

    const TestCalibrationJob withMeta(record, {{"k", "v"}});
    EXPECT_EQ(withMeta.getParameters(), record);
    EXPECT_EQ(withMeta.getMetaDataObject(), json::parse(R"({"k": "v"})").as_object());
    EXPECT_EQ(roundTrip(record), record);
}
