#pragma once

#include "support/connected_session.hpp"
#include "support/error_parts.hpp"

#include "fake_workstation/inbox.hpp"
#include "fake_workstation/fake_job_script.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"
#include "marlek_link_json/link_ll_session_timing.hpp"

#include <gtest/gtest.h>

#include <boost/json.hpp>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
namespace json = boost::json;

using CvJob = DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;
using OcvJob = DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>;
using EisTableJob = AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>;

inline constexpr auto kWait = 5s;

// What a DC callback saw of one message; the message's own data live only
// during the call.
struct DcSeen {
    DcLiveDataMessageKind kind;
    LiveDataHeader header;
    std::vector<std::vector<double>> rows;
};

struct AcSeen {
    AcLiveDataMessageKind kind;
    LiveDataHeaderEis header;
    LiveDataRowEis row;
    LiveDataWavesEis waves;
    bool dummyRow;
    bool dummyWaves;
};

using fake_workstation::Inbox;

inline DcMeasurementJobFeatures::Callback recordInto(Inbox<DcSeen>& inbox)
{
    return [&inbox](const DcLiveDataMessage& message) {
        inbox.push({message.kind, *message.header, *message.rows});
    };
}

inline AcMeasurementJobFeatures::Callback recordInto(Inbox<AcSeen>& inbox)
{
    return [&inbox](const AcLiveDataMessage& message) {
        inbox.push({message.kind, *message.header, *message.row, *message.waves, message.row == &DUMMY_ROW,
                    message.waves == &DUMMY_WAVES});
    };
}

// Event payloads as the workstation sends them.
inline json::object cvHeaderEvent()
{
    return json::parse(R"({"type":"LIVE_DATA_HEADER","header":{"measurement_type":"Cyclic Voltammetry",)"
                       R"("measurement_type_short":"CV","columns":{"dimensions":["time","voltage","current"],)"
                       R"("units":["s","V","A"],"urns":["MAIN:1:T","MAIN:1:POT:U","MAIN:1:POT:I"]}},)"
                       R"("job_info":{"status":"RUNNING"}})")
        .as_object();
}

inline json::object rowsEvent(json::array rows)
{
    return json::object{{"type", "LIVE_DATA_ROWS"}, {"data", std::move(rows)}};
}

inline json::object finishedEvent()
{
    return json::parse(R"({"type":"LIVE_DATA_FINISHED","job_info":{"status":"RUNNING"}})").as_object();
}

inline json::object statusEvent(std::string_view status)
{
    return json::object{{"type", "JOB_STATUS_UPDATE"},
                        {"new_status", status},
                        {"job_info", json::object{{"status", status}}}};
}

inline json::object eisHeaderEvent()
{
    return json::parse(
               R"({"type":"LIVE_DATA_HEADER_EIS","header":{"measurement_type":"Electrochemical Impedance Spectroscopy",)"
               R"("measurement_type_short":"EIS",)"
               R"("impedances":[{"paths":{"numerator":"MAIN:1:POT:U","denominator":"MAIN:1:POT:I"},)"
               R"("impedance_name":"cell","dimensions":["real","imaginary"],"units":["Ohm","Ohm"]}],)"
               R"("paths":[{"name":"voltage","dimensions":["real","imaginary"],"polynomial":[0,1],"units":["V","V"],)"
               R"("uri":"MAIN:1:POT:U"},{"name":"current","dimensions":["real","imaginary"],"polynomial":[0,1],)"
               R"("units":["A","A"],"uri":"MAIN:1:POT:I"}],)"
               R"("async_paths":[],"potentiostats":[{"dimensions":["bias"],"polynomial":[1],"units":["V"],)"
               R"("uri":"MAIN:1:POT"}],"meta":{"dimensions":["frequency","periods","time"],"units":["Hz","","s"]}},)"
               R"("job_info":{"status":"RUNNING"}})")
        .as_object();
}

// Lets the features of a job reach a session without a connection: tests
// feed the session's dispatch directly.
inline std::string eventText(const json::object& event)
{
    return json::serialize(json::object{{"type", "EVENT"}, {"event", event}});
}

// A session connected to its own fake workstation, with a short request
// time-out and a short heartbeat, so that a drop is noticed at once.
class JobRunTest : public ConnectedSession {
protected:
    // The one "/job/start" request the fake has seen.
    json::object onlyStartRequest()
    {
        const auto starts = router().requests("/job/start");
        EXPECT_EQ(starts.size(), 1u);
        return starts.empty() ? json::object() : starts.front();
    }

    // Waits until the fake has routed count requests of this command.
    bool waitForRequests(std::string_view command, std::size_t count)
    {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (router().requests(command).size() < count) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }

    // Returns once everything the fake was told to send so far has been
    // dispatched: a round trip queues behind it on the same connection.
    // Tests end with it when a frame may still be on its way, so that none
    // crosses the closing handshake of the teardown.
    void flushIncoming()
    {
        const json::object reply = session->sendRequest(json::object{{"do", "/status"}}, -1);
        EXPECT_TRUE(LinkJsonSession::wasSuccessful(reply));
    }
};
