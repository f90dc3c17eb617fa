#pragma once

#include "support/error_parts.hpp"
#include "support/short_heartbeat.hpp"

#include "fake_workstation/table_values.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_json_common/json_common/resources/resourceinfo.hpp"
#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"
#include "marlek_link_json/link_ll_session_timing.hpp"

#include <gtest/gtest.h>

#include <boost/json.hpp>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using fake_workstation::littleEndian;

using namespace std::chrono_literals;

using CvJob = DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;

inline constexpr auto kRequestTimeout = 300ms;

inline const ErrorObject kNotConnected(ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED,
                                       "no network connection has been established yet");

inline JobInfo finishedJobInfo(const std::string& jobId)
{
    JobInfo info;
    info.jobId = jobId;
    info.status = JobStatusEnum::FINISHED;
    info.statusDetail = JobStatusDetailEnum::RUN_TO_COMPLETION;
    info.type = "cv";
    return info;
}

// A job that has run on the workstation under this id.
inline CvJob jobThatRan(const std::string& jobId)
{
    CvJob job(CvParameters{});
    JobInfo info;
    info.jobId = jobId;
    info.status = JobStatusEnum::RUNNING;
    job.setLastJobInfo(info);
    return job;
}

// The header of a JOB_RESULT resource.
inline boost::json::object resultHeader(const JobInfo& info, boost::json::value dataHeader,
                                        std::optional<std::uint64_t> rows = std::nullopt)
{
    boost::json::object header{{"job_info", jobInfoToJson(info)}, {"job_data_header", std::move(dataHeader)}};
    if (rows) {
        header["number_of_rows"] = *rows;
    }
    return header;
}

inline ResourceInfo resultDescription(const std::string& jobId, ResourceSubType subType,
                                      std::optional<boost::json::value> header)
{
    ResourceInfo description;
    description.type = ResourceTypeEnum::JOB_RESULT;
    description.sub_type = subType;
    description.created_by = ResourceCreator::JOB;
    description.job_id = jobId;
    description.name = "result of " + jobId;
    if (header) {
        description.header = std::make_shared<boost::json::value>(std::move(*header));
    }
    return description;
}

// True once the workstation has received a request with this "do", within
// a few seconds.
inline bool askedFor(const FakeWorkstation& workstation, std::string_view command)
{
    return workstation.waitUntil(
        [command](const std::vector<FakeConnectionRecord>& connections) {
            for (const auto& connection : connections) {
                for (const auto& message : connection.messages) {
                    boost::system::error_code error;
                    const auto parsed = boost::json::parse(message.bytes, error);
                    const auto* done = error || !parsed.is_object() ? nullptr : parsed.as_object().if_contains("do");
                    if (done && done->is_string() && done->get_string() == command) {
                        return true;
                    }
                }
            }
            return false;
        },
        std::chrono::seconds(5));
}

// A link connected to its own fake workstation, with a short request
// time-out so that nothing waits long.
template <typename Link = MarlekLink>
class ConnectedLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        link = std::make_unique<Link>("127.0.0.1", workstation.port());
        link->setRequestTimeout(kRequestTimeout);
        ASSERT_EQ(codeOf(link->connect()), ErrorCodeEnum::NONE);
    }

    void TearDown() override { link.reset(); }

    FakeRequestRouter& router() { return workstation.router(); }

    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    std::unique_ptr<Link> link;
};
