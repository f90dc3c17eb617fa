#include "cv_demo_run.hpp"

#include "fake_workstation/fake_job_script.hpp"
#include "fake_workstation/fake_request_router.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/resources/resourceinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"

#include <boost/json.hpp>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

static_assert(std::endian::native == std::endian::little, "the result table holds little-endian doubles");

namespace cv_demo {

namespace {

using namespace std::chrono_literals;

constexpr double kVertex = 0.5;
constexpr double kScanRate = 0.1;      // V/s
constexpr double kSampleInterval = 0.5; // s
constexpr std::size_t kRowsPerEvent = 10;

LiveDataHeader header()
{
    return LiveDataHeader("Cyclic Voltammetry", "CV",
                          {ColumnHeader("time", "s", "MAIN:1:T"), ColumnHeader("voltage", "V", "MAIN:1:POT:U"),
                           ColumnHeader("current", "A", "MAIN:1:POT:I")});
}

// 0 V up to the first vertex, down to minus it, back to 0 V.
double potentialAt(double time)
{
    const double travelled = kScanRate * time;
    if (travelled <= kVertex) {
        return travelled;
    }
    if (travelled <= 3 * kVertex) {
        return 2 * kVertex - travelled;
    }
    return travelled - 4 * kVertex;
}

// A capacitive current plus one redox couple, oxidised on the way up and
// reduced on the way down.
double currentAt(double time, double potential)
{
    const double travelled = kScanRate * time;
    const bool rising = travelled <= kVertex || travelled > 3 * kVertex;
    const double capacitive = rising ? 2e-7 : -2e-7;
    const double peak = rising ? 3e-6 * std::exp(-std::pow((potential - 0.2) / 0.06, 2))
                               : -2.5e-6 * std::exp(-std::pow((potential - 0.14) / 0.06, 2));
    return capacitive + 1e-6 * potential + peak;
}

boost::json::object jobInfo(const char* status)
{
    return boost::json::object{{"job_id", kJobId}, {"status", status}};
}

std::string columnTable(const std::vector<std::vector<double>>& table)
{
    std::string bytes;
    for (std::size_t column = 0; column < 3; ++column) {
        for (const auto& row : table) {
            char value[sizeof(double)];
            std::memcpy(value, &row[column], sizeof value);
            bytes.append(value, sizeof value);
        }
    }
    return bytes;
}

ResourceInfo resultDescription(const std::vector<std::vector<double>>& table)
{
    JobInfo info;
    info.jobId = kJobId;
    info.status = JobStatusEnum::FINISHED;
    info.statusDetail = JobStatusDetailEnum::RUN_TO_COMPLETION;
    info.type = "cv";
    ResourceInfo description;
    description.type = ResourceTypeEnum::JOB_RESULT;
    description.sub_type = ResourceSubType::DATASET_DC;
    description.created_by = ResourceCreator::JOB;
    description.job_id = kJobId;
    description.name = "cv result";
    description.header = std::make_shared<boost::json::value>(boost::json::object{
        {"job_info", jobInfoToJson(info)},
        {"job_data_header", boost::json::value_from(header())},
        {"number_of_rows", table.size()},
    });
    return description;
}

} // namespace

std::vector<std::vector<double>> rows()
{
    const double duration = 4 * kVertex / kScanRate;
    std::vector<std::vector<double>> table;
    for (double time = 0.0; time <= duration + 1e-9; time += kSampleInterval) {
        const double potential = potentialAt(time);
        table.push_back({time, potential, currentAt(time, potential)});
    }
    return table;
}

void install(FakeRequestRouter& router)
{
    const auto table = rows();
    FakeJobScript script;
    script.event({{"type", "JOB_STATUS_UPDATE"}, {"new_status", "RUNNING"}, {"job_info", jobInfo("RUNNING")}});
    script.event({{"type", "LIVE_DATA_HEADER"},
                  {"header", boost::json::value_from(header())},
                  {"job_info", jobInfo("RUNNING")}});
    for (std::size_t first = 0; first < table.size(); first += kRowsPerEvent) {
        boost::json::array batch;
        for (std::size_t row = first; row < std::min(table.size(), first + kRowsPerEvent); ++row) {
            batch.push_back(boost::json::value_from(table[row]));
        }
        script.sleep(100ms).event({{"type", "LIVE_DATA_ROWS"}, {"data", std::move(batch)}});
    }
    script.event({{"type", "LIVE_DATA_FINISHED"}, {"job_info", jobInfo("RUNNING")}});
    script.jobDone("FINISHED", "RUN_TO_COMPLETION", ErrorObject());
    router.setJobScript(script);
    router.addResource(resultDescription(table), columnTable(table));
}

} // namespace cv_demo
