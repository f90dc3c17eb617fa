#include "eis_demo_run.hpp"

#include "fake_workstation/fake_job_script.hpp"
#include "fake_workstation/fake_request_router.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_json_common/json_common/resources/resourceinfo.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_writer.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"

#include <boost/json.hpp>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <numbers>
#include <vector>

namespace eis_demo {

namespace {

using namespace std::chrono_literals;
using Table = std::vector<std::vector<double>>;

constexpr const char* kJobId = "job-0001";

LiveDataHeaderEis header()
{
    const std::vector<ColumnHeader> meta{{"frequency", "Hz", "MAIN:1:F"},  {"periods", "", "MAIN:1:P"},
                                         {"time", "s", "MAIN:1:T"},        {"wave_id", "", "MAIN:1:W"},
                                         {"wave_size", "", "MAIN:1:WS"}};
    const std::vector<ImpedanceDataHeader> impedances{ImpedanceDataHeader(
        "MAIN:1:POT:U", "MAIN:1:POT:I", {{"|impedance|", "Ohm", "MAIN:1:Z"}, {"phase", "rad", "MAIN:1:PH"}}, "Z")};
    const std::vector<PathDataHeader> paths{
        PathDataHeader("MAIN:1:POT:U", "voltage", {{"dc", "V", "MAIN:1:POT:U:DC"}}, UserPolynomial({0.0, 2.0})),
        PathDataHeader("MAIN:1:POT:I", "current", {{"dc", "A", "MAIN:1:POT:I:DC"}}, UserPolynomial())};
    const std::vector<PathDataHeader> asyncPaths{
        PathDataHeader("MAIN:1:TEMP", "temperature", {{"dc", "C", "MAIN:1:TEMP:DC"}}, UserPolynomial())};
    const std::vector<PotentiostatDataHeader> potentiostats{
        PotentiostatDataHeader{"MAIN:1:POT", {{"bandwidth", "Hz", "MAIN:1:POT:BW"}}, UserPolynomial({1.0, 3.0})}};
    return LiveDataHeaderEis("Impedance Spectroscopy", "EIS", meta, impedances, paths, asyncPaths, potentiostats);
}

EisDataset dataset()
{
    constexpr double kQuarter = std::numbers::pi / 2;
    return EisDataset(header(), {{{2.0, 3.0, 4.0}, {0.0, kQuarter, 0.0}}}, {{{0.5, 0.6, 0.7}}, {{1e-3, 2e-3, 3e-3}}},
                      {{{1.0, 2.0, 3.0, 4.0}, {5.0, 6.0}}, {{0.1, 0.2, 0.3, 0.4}, {0.5, 0.6}}},
                      {{{20.0, 21.0, 22.0}}}, {{{1e6, 1e6, 1e5}}},
                      {{1000.0, 100.0, 100.0}, {1.0, 2.0, 2.0}, {0.0, 1.0, 2.5}, {0.0, 1.0, 1.0}, {4.0, 2.0, 2.0}},
                      JobInfo());
}

boost::json::object jobInfo(const char* status)
{
    return boost::json::object{{"job_id", kJobId}, {"status", status}};
}

ResourceInfo resultDescription(const LiveDataHeaderEis& eisHeader, std::size_t rows)
{
    JobInfo info;
    info.jobId = kJobId;
    info.status = JobStatusEnum::FINISHED;
    info.statusDetail = JobStatusDetailEnum::RUN_TO_COMPLETION;
    info.type = "eis";
    ResourceInfo description;
    description.type = ResourceTypeEnum::JOB_RESULT;
    description.sub_type = ResourceSubType::DATASET_AC;
    description.created_by = ResourceCreator::JOB;
    description.job_id = kJobId;
    description.name = "eis result";
    description.header = std::make_shared<boost::json::value>(boost::json::object{
        {"job_info", jobInfoToJson(info)},
        {"job_data_header", boost::json::value_from(eisHeader)},
        {"number_of_rows", rows},
    });
    return description;
}

} // namespace

void install(FakeRequestRouter& router)
{
    const auto table = eisDatasetToBinary(dataset());
    if (!table) {
        std::cerr << "eis demo: the result table cannot be written" << std::endl;
        std::abort();
    }
    FakeJobScript script;
    script.event({{"type", "JOB_STATUS_UPDATE"}, {"new_status", "RUNNING"}, {"job_info", jobInfo("RUNNING")}});
    script.event(
        {{"type", "LIVE_DATA_HEADER_EIS"}, {"header", boost::json::value_from(header())}, {"job_info", jobInfo("RUNNING")}});
    script.event({{"type", "LIVE_DATA_WAVES"},
                  {"paths_waves", boost::json::array{boost::json::array{1.0, 2.0}, boost::json::array{0.1, 0.2}}}});
    script.event({{"type", "LIVE_DATA_ROW_EIS"},
                  {"impedances", boost::json::array{boost::json::array{2.0, 0.0}}},
                  {"paths", boost::json::array{boost::json::array{0.5}, boost::json::array{1e-3}}},
                  {"paths_waves", boost::json::array{boost::json::array{1.0, 2.0, 3.0, 4.0},
                                                     boost::json::array{0.1, 0.2, 0.3, 0.4}}},
                  {"async_paths", boost::json::array{boost::json::array{20.0}}},
                  {"potentiostats", boost::json::array{boost::json::array{1e6}}},
                  {"meta", boost::json::array{1000.0, 1.0, 0.0, 0.0, 4.0}}});
    script.event({{"type", "LIVE_DATA_ROW_EIS"},
                  {"impedances", boost::json::array{boost::json::array{3.0, 1.0}}},
                  {"paths", boost::json::array{boost::json::array{0.6}, boost::json::array{2e-3}}},
                  {"paths_waves", boost::json::array{boost::json::array{}, boost::json::array{}}},
                  {"async_paths", boost::json::array{boost::json::array{21.0}}},
                  {"potentiostats", boost::json::array{boost::json::array{1e6}}},
                  {"meta", boost::json::array{100.0, 2.0, 1.0, 0.0, 4.0}}});
    script.sleep(50ms).event({{"type", "LIVE_DATA_FINISHED"}, {"job_info", jobInfo("RUNNING")}});
    script.jobDone("FINISHED", "RUN_TO_COMPLETION", ErrorObject());
    router.setJobScript(script);
    router.addResource(resultDescription(table->header, table->number_of_rows), table->data);
}

} // namespace eis_demo
