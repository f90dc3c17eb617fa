#pragma once

#include "marlek_link_json/jobs/common/live_data/abstract_livedatahandler.hpp"
#include "marlek_link_json/jobs/common/live_data/dclivedatamessage.hpp"

#include <vector>

// Splits DC live-data messages into header, single rows and end; a derived
// class overrides the steps it needs, the others do nothing.
class DcLiveDataHandler : public AbstractLiveDataHandler<DcLiveDataMessage> {
public:
    ~DcLiveDataHandler() override = default;

    void operator()(const DcLiveDataMessage& message) override;
    virtual void processHeader(const LiveDataHeader& header);
    // Calls processDataRow once per row, in order.
    virtual void processDataRows(const std::vector<std::vector<double>>& rows);
    virtual void processDataRow(const std::vector<double>& row);
    virtual void processEnd();
};
