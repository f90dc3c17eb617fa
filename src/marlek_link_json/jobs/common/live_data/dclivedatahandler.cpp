#include "marlek_link_json/jobs/common/live_data/dclivedatahandler.hpp"

void DcLiveDataHandler::operator()(const DcLiveDataMessage& message)
{
    switch (message.kind) {
    case DcLiveDataMessageKind::HEADER:
        processHeader(*message.header);
        break;
    case DcLiveDataMessageKind::ROWS:
        processDataRows(*message.rows);
        break;
    case DcLiveDataMessageKind::FINISHED:
        processEnd();
        break;
    }
}

void DcLiveDataHandler::processHeader(const LiveDataHeader&) {}

void DcLiveDataHandler::processDataRows(const std::vector<std::vector<double>>& rows)
{
    for (const auto& row : rows) {
        processDataRow(row);
    }
}

void DcLiveDataHandler::processDataRow(const std::vector<double>&) {}

void DcLiveDataHandler::processEnd() {}
