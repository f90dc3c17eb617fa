#include "marlek_link_json/jobs/common/live_data/dclivedatahandler.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

class RowRecorder : public DcLiveDataHandler {
public:
    explicit RowRecorder(Rows& received) : received(received) {}
    void processDataRow(const std::vector<double>& row) override { received.push_back(row); }

private:
    Rows& received;
};

class StepRecorder : public DcLiveDataHandler {
public:
    explicit StepRecorder(std::vector<std::string>& steps) : steps(steps) {}
    void processHeader(const LiveDataHeader& header) override
    {
        steps.push_back("header " + header.getShortMeasurementType());
    }
    void processDataRows(const Rows& rows) override { steps.push_back("rows " + std::to_string(rows.size())); }
    void processEnd() override { steps.push_back("end"); }

private:
    std::vector<std::string>& steps;
};

const LiveDataHeader header("Cyclic Voltammetry", "CV", {{"time", "s"}, {"voltage", "V"}});
const Rows threeRows{{0.0, 0.1}, {0.5, 0.2}, {1.0, 0.3}};
const Rows noRows;

} // namespace

TEST(DcLiveDataHandler, RowOverrideGetsEveryRowInOrderAndNothingElse)
{
    Rows received;
    std::function<void(const DcLiveDataMessage&)> callback = RowRecorder(received);
    callback(DcLiveDataMessage{DcLiveDataMessageKind::HEADER, &header, &noRows});
    callback(DcLiveDataMessage{DcLiveDataMessageKind::ROWS, &header, &threeRows});
    callback(DcLiveDataMessage{DcLiveDataMessageKind::FINISHED, &header, &noRows});
    EXPECT_EQ(received, threeRows);
}

TEST(DcLiveDataHandler, DispatchesByKindAndIgnoresUnknownKinds)
{
    std::vector<std::string> steps;
    StepRecorder handler(steps);
    handler(DcLiveDataMessage{DcLiveDataMessageKind::HEADER, &header, &noRows});
    handler(DcLiveDataMessage{DcLiveDataMessageKind::ROWS, &header, &threeRows});
    handler(DcLiveDataMessage{static_cast<DcLiveDataMessageKind>(7), &header, &threeRows});
    handler(DcLiveDataMessage{DcLiveDataMessageKind::FINISHED, &header, &noRows});
    EXPECT_EQ(steps, (std::vector<std::string>{"header CV", "rows 3", "end"}));
}
