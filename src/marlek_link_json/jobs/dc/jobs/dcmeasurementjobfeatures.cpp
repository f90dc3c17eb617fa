#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobfeatures.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_link_json/events/event_type.hpp"
#include "marlek_link_json/jobs/common/live_data/liverows_json.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <boost/json.hpp>

#include <utility>

namespace {

// What the rows of a header or end message point to.
const std::vector<std::vector<double>> EMPTY_ROWS;

} // namespace

DcMeasurementJobFeatures::DcMeasurementJobFeatures(const std::vector<Callback>& callbacks) : callbacks(callbacks) {}

DcMeasurementJobFeatures::DcMeasurementJobFeatures(std::vector<Callback>&& callbacks)
    : callbacks(std::move(callbacks))
{
}

DcMeasurementJobFeatures::DcMeasurementJobFeatures(const DcMeasurementJobFeatures& other)
    : header(other.header), callbacks(other.callbacks)
{
}

DcMeasurementJobFeatures& DcMeasurementJobFeatures::operator=(const DcMeasurementJobFeatures& other)
{
    header = other.header;
    callbacks = other.callbacks;
    return *this;
}

DcMeasurementJobFeatures::~DcMeasurementJobFeatures()
{
    target->detach();
}

void DcMeasurementJobFeatures::addLivedataEventHandler(Callback&& callback)
{
    callbacks.push_back(std::move(callback));
}

std::shared_ptr<DcMeasurementJobFeatures::EventHandler>
DcMeasurementJobFeatures::makeHandler(void (DcMeasurementJobFeatures::*member)(const boost::json::object&))
{
    return std::make_shared<EventHandler>([target = target, member](const boost::json::object& event) {
        target->ifAttached([&](DcMeasurementJobFeatures& features) { (features.*member)(event); });
    });
}

void DcMeasurementJobFeatures::setEventHandlers(LinkJsonSession& session)
{
    headerHandler = makeHandler(&DcMeasurementJobFeatures::headerEventHandler);
    rowsHandler = makeHandler(&DcMeasurementJobFeatures::rowEventHandler);
    finishedHandler = makeHandler(&DcMeasurementJobFeatures::finishedEventHandler);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_HEADER, headerHandler);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_ROWS, rowsHandler);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_FINISHED, finishedHandler);
}

void DcMeasurementJobFeatures::removeEventHandlers(LinkJsonSession& session)
{
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_HEADER, headerHandler);
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_ROWS, rowsHandler);
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_FINISHED, finishedHandler);
}

void DcMeasurementJobFeatures::headerEventHandler(const boost::json::object& event)
{
    header = boost::json::value_to<LiveDataHeader>(event.at("header"));
    dispatch({DcLiveDataMessageKind::HEADER, &header, &EMPTY_ROWS});
}

void DcMeasurementJobFeatures::rowEventHandler(const boost::json::object& event)
{
    readLiveRows(event.at("data"), rows);
    dispatch({DcLiveDataMessageKind::ROWS, &header, &rows});
}

void DcMeasurementJobFeatures::finishedEventHandler(const boost::json::object&)
{
    dispatch({DcLiveDataMessageKind::FINISHED, &header, &EMPTY_ROWS});
}

void DcMeasurementJobFeatures::dispatch(const DcLiveDataMessage& message) const
{
    for (const auto& callback : callbacks) {
        // An empty entry would raise bad_function_call on the worker thread
        // and keep the message from the callbacks after it.
        if (callback) {
            callback(message);
        }
    }
}
