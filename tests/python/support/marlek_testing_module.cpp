// _marlek_testing: makes core objects that Python code cannot make itself
// (error objects, job information as the workstation reports it, jobs,
// datasets read from binary tables or built from given tracks, a device tree
// and adopted hardware settings read from the JSON of their query results, a
// discovered device, a discovery that probes loopback only), so
// that the tests can check how _marlek_link presents them. It shares the
// binding library's registry with _marlek_link, which must be imported first.

#include "marlek_json_common/json_common/json/precise_parse.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/auto_discovery.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"
#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_json.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <boost/json/parse.hpp>
#include <boost/json/value_to.hpp>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;

using CvJob = DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;
using EisJob = AcMeasurementJob<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>;

namespace {

template <typename Job>
std::unique_ptr<AbstractMeasurementJob> defaultJob()
{
    return std::make_unique<Job>(typename Job::ParameterStruct{});
}

// A job of every kind that a dataset can re-create, with its record's
// initial values.
const std::map<std::string, std::unique_ptr<AbstractMeasurementJob> (*)()>& defaultJobs()
{
    static const std::map<std::string, std::unique_ptr<AbstractMeasurementJob> (*)()> jobs{
        {"cv", &defaultJob<CvJob>},
        {"ocv", &defaultJob<DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>>},
        {"dpv", &defaultJob<DcMeasurementJob<DpvParameters, &JobNames::DPV_JOB_NAME>>},
        {"npv", &defaultJob<DcMeasurementJob<NpvParameters, &JobNames::NPV_JOB_NAME>>},
        {"swv", &defaultJob<DcMeasurementJob<SwvParameters, &JobNames::SWV_JOB_NAME>>},
        {"poga", &defaultJob<DcMeasurementJob<PogaParameters, &JobNames::POGA_JOB_NAME>>},
        {"ramp", &defaultJob<DcMeasurementJob<RampParameters, &JobNames::RAMP_JOB_NAME>>},
        {"wave", &defaultJob<DcMeasurementJob<WaveParameters, &JobNames::WAVE_JOB_NAME>>},
        {"wave_file", &defaultJob<DcMeasurementJob<WaveFileParameters, &JobNames::WAVE_FILE_JOB_NAME>>},
        {"fast_cycling", &defaultJob<DcMeasurementJob<FastCyclingParameters, &JobNames::FAST_CYCLING_JOB_NAME>>},
        {"steady_stairs", &defaultJob<DcMeasurementJob<SteadyStairsParameters, &JobNames::STEADYSTAIRS_JOB_NAME>>},
        {"eis", &defaultJob<EisJob>},
        {"eis_table", &defaultJob<AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>>},
        {"eis_multisine_table",
         &defaultJob<AcMeasurementJob<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>>},
        {"eis_multisine",
         &defaultJob<AcMeasurementJob<EisMultisineParametersGenerate, &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>>},
        {"geis_va", &defaultJob<AcMeasurementJob<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>>},
        {"geis_va_table",
         &defaultJob<AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>>},
    };
    return jobs;
}

JobInfo jobInfoFromText(const std::string& text)
{
    return text.empty() ? JobInfo() : jobInfoFromJson(PreciseJson::parse(text));
}

} // namespace

PYBIND11_MODULE(_marlek_testing, m)
{
    m.def("error_object", [](std::uint64_t code, std::string message, std::vector<ErrorParameter> parameters) {
        return ErrorObject(static_cast<ErrorCodeEnum>(code), std::move(message), std::move(parameters));
    });
    m.def("job_info_from_json", [](const std::string& text) { return jobInfoFromJson(PreciseJson::parse(text)); });
    m.def("hardware_info_from_json",
          [](const std::string& text) { return boost::json::value_to<HardwareInfo>(PreciseJson::parse(text)); });
    m.def("hardware_settings_from_json",
          [](const std::string& text) { return boost::json::value_to<HardwareSettings>(PreciseJson::parse(text)); });
    m.def("cv_job", []() -> std::unique_ptr<AbstractMeasurementJob> {
        CvParameters cv;
        cv.first_vertex = 0.5;
        cv.second_vertex = -0.5;
        cv.scan_rate = 0.1;
        cv.output_data_rate = 10.0;
        cv.num_cycles = 1.0;
        return std::make_unique<CvJob>(cv);
    });
    m.def("default_job", [](const std::string& name) { return defaultJobs().at(name)(); });
    m.def("eis_job", []() -> std::unique_ptr<AbstractMeasurementJob> {
        return std::make_unique<EisJob>(EisParametersGenerate{});
    });
    // Headers and job information as JSON texts (an empty text is a default
    // job information); tables as the workstation stores them.
    m.def("dc_dataset", [](const std::string& header, std::vector<std::vector<double>> tracks,
                           const std::string& jobInfo) {
        return std::make_shared<DcDataset>(boost::json::value_to<LiveDataHeader>(PreciseJson::parse(header)),
                                           jobInfoFromText(jobInfo), std::move(tracks));
    });
    m.def("dc_dataset_from_binary", [](const py::bytes& table, const std::string& header, const std::string& jobInfo) {
        return std::make_shared<DcDataset>(dcDatasetFromBinary(
            std::string(table), boost::json::value_to<LiveDataHeader>(PreciseJson::parse(header)),
            jobInfoFromText(jobInfo)));
    });
    m.def("eis_dataset_from_binary", [](const py::bytes& table, const std::string& header, std::size_t rows,
                                        const std::string& jobInfo) {
        return std::make_shared<EisDataset>(eisDatasetFromBinary(
            std::string(table), boost::json::value_to<LiveDataHeaderEis>(PreciseJson::parse(header)), rows,
            jobInfoFromText(jobInfo), 12));
    });
    m.def("discovered_device", [](std::string address, std::string port, bool recoveryMode) {
        return DiscoveredDevice{std::move(address), std::move(port), recoveryMode};
    });
    // Probes from 127.0.0.1 to a responder on 127.0.0.1:port instead of the
    // local network's broadcast address.
    m.def("loopback_discovery", [](std::int64_t timeoutMilliseconds, std::uint16_t port) {
        return std::make_unique<AutoDiscovery>(std::chrono::milliseconds(timeoutMilliseconds),
                                               DiscoveryScope{{{"127.0.0.1"}}, "127.0.0.1", port});
    });
}
