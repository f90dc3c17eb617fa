// DC live-data events (10 rows of 3 values each) fed to the session's
// dispatch as the receive loop does and delivered to a C++ rows callback,
// and to a DC job's live-data callback, each against a bare Boost.JSON parse
// of the same messages.

#include "side_by_side.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobfeatures.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <boost/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int eventsPerBatch = 20000;
constexpr int rounds = 15;

// Distinct messages, with values of the precision a workstation sends.
std::vector<std::string> makeMessages()
{
    std::vector<std::string> messages;
    for (int m = 0; m < 64; ++m) {
        std::string text = R"({"type":"EVENT","event":{"type":"LIVE_DATA_ROWS","data":[)";
        for (int row = 0; row < 10; ++row) {
            const int n = m * 10 + row;
            char values[160];
            std::snprintf(values, sizeof values, "%s[%.17g,%.17g,%.17g]", row == 0 ? "" : ",", n * 0.001,
                          0.25 + n * 1.3e-4, -1.5e-6 * n);
            text += values;
        }
        text += "]}}";
        messages.push_back(std::move(text));
    }
    return messages;
}

} // namespace

int main()
{
    const std::vector<std::string> messages = makeMessages();
    const std::string title =
        "DC live-data events, 10 rows x 3 (" + std::to_string(eventsPerBatch) + " per batch, events per second)";
    double checksum = 0;
    const bench::Case bareParse{"bare Boost.JSON parse", [&] {
                                    for (int i = 0; i < eventsPerBatch; ++i) {
                                        const boost::json::value message =
                                            boost::json::parse(messages[i % messages.size()]);
                                        checksum += message.at("event").at("data").at(0).at(0).to_number<double>();
                                    }
                                }};
    auto dispatchAll = [&messages](LinkJsonSession& session) {
        for (int i = 0; i < eventsPerBatch; ++i) {
            session.dispatchIncommingJson(messages[i % messages.size()]);
        }
    };

    std::size_t rowsSeen = 0;
    LinkJsonSession session("127.0.0.1", "1", 0, "", "");
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&rowsSeen](const std::vector<std::vector<double>>& rows) { rowsSeen += rows.size(); }));
    bench::compare(title, {"library dispatch to a C++ callback", [&] { dispatchAll(session); }}, bareParse, rounds,
                   [](double seconds) { return eventsPerBatch / seconds; }, "events/s");

    std::size_t jobRowsSeen = 0;
    LinkJsonSession jobSession("127.0.0.1", "1", 0, "", "");
    DcMeasurementJobFeatures job(std::vector<DcMeasurementJobFeatures::Callback>{
        [&jobRowsSeen](const DcLiveDataMessage& message) { jobRowsSeen += message.rows->size(); }});
    job.setEventHandlers(jobSession);
    bench::compare(title, {"library dispatch to a DC job callback", [&] { dispatchAll(jobSession); }}, bareParse,
                   rounds, [](double seconds) { return eventsPerBatch / seconds; }, "events/s");
    job.removeEventHandlers(jobSession);

    if (rowsSeen == 0 || jobRowsSeen == 0 || checksum < 0) {
        std::fprintf(stderr, "no rows reached the callback\n");
        return 1;
    }
    return 0;
}
