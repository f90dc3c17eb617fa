// DC live-data events (10 rows of 3 values each) fed to the session's
// dispatch as the receive loop does and delivered to a C++ rows callback,
// against a bare Boost.JSON parse of the same messages.

#include "side_by_side.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"
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
    LinkJsonSession session("127.0.0.1", "1", 0, "", "");
    std::size_t rowsSeen = 0;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&rowsSeen](const std::vector<std::vector<double>>& rows) { rowsSeen += rows.size(); }));

    double checksum = 0;
    bench::compare(
        "DC live-data events, 10 rows x 3 (" + std::to_string(eventsPerBatch) + " per batch, events per second)",
        {"library dispatch to a C++ callback",
         [&] {
             for (int i = 0; i < eventsPerBatch; ++i) {
                 session.dispatchIncommingJson(messages[i % messages.size()]);
             }
         }},
        {"bare Boost.JSON parse",
         [&] {
             for (int i = 0; i < eventsPerBatch; ++i) {
                 const boost::json::value message = boost::json::parse(messages[i % messages.size()]);
                 checksum += message.at("event").at("data").at(0).at(0).to_number<double>();
             }
         }},
        rounds, [](double seconds) { return eventsPerBatch / seconds; }, "events/s");
    if (rowsSeen == 0 || checksum < 0) {
        std::fprintf(stderr, "no rows reached the callback\n");
        return 1;
    }
    return 0;
}
