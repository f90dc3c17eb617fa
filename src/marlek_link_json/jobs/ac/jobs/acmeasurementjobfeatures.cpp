#include "marlek_link_json/jobs/ac/jobs/acmeasurementjobfeatures.hpp"

#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/events/event_type.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedataroweis_json.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis_json.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <boost/json.hpp>

#include <utility>

const LiveDataRowEis DUMMY_ROW;
const LiveDataWavesEis DUMMY_WAVES;

AcMeasurementJobFeatures::AcMeasurementJobFeatures(const std::vector<Callback>& callbacks) : callbacks(callbacks) {}

AcMeasurementJobFeatures::AcMeasurementJobFeatures(std::vector<Callback>&& callbacks)
    : callbacks(std::move(callbacks))
{
}

AcMeasurementJobFeatures::AcMeasurementJobFeatures(const AcMeasurementJobFeatures& other)
    : header(other.header), callbacks(other.callbacks)
{
}

AcMeasurementJobFeatures& AcMeasurementJobFeatures::operator=(const AcMeasurementJobFeatures& other)
{
    header = other.header;
    callbacks = other.callbacks;
    return *this;
}

AcMeasurementJobFeatures::~AcMeasurementJobFeatures()
{
    target->detach();
}

void AcMeasurementJobFeatures::addLivedataEventHandler(Callback&& callback)
{
    callbacks.push_back(std::move(callback));
}

std::shared_ptr<AcMeasurementJobFeatures::EventHandler>
AcMeasurementJobFeatures::makeHandler(void (AcMeasurementJobFeatures::*member)(const boost::json::object&))
{
    return std::make_shared<EventHandler>([target = target, member](const boost::json::object& event) {
        target->ifAttached([&](AcMeasurementJobFeatures& features) { (features.*member)(event); });
    });
}

void AcMeasurementJobFeatures::setEventHandlers(LinkJsonSession& session)
{
    headerHandler = makeHandler(&AcMeasurementJobFeatures::headerEventHandler);
    rowHandler = makeHandler(&AcMeasurementJobFeatures::rowEisEventHandler);
    wavesHandler = makeHandler(&AcMeasurementJobFeatures::wavesEventHandler);
    finishedHandler = makeHandler(&AcMeasurementJobFeatures::finishedEventHandler);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_HEADER_EIS, headerHandler);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_ROW_EIS, rowHandler);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_WAVES, wavesHandler);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_FINISHED, finishedHandler);
}

void AcMeasurementJobFeatures::removeEventHandlers(LinkJsonSession& session)
{
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_HEADER_EIS, headerHandler);
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_ROW_EIS, rowHandler);
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_WAVES, wavesHandler);
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_FINISHED, finishedHandler);
}

void AcMeasurementJobFeatures::headerEventHandler(const boost::json::object& event)
{
    header = boost::json::value_to<LiveDataHeaderEis>(event.at("header"));
    dispatch({AcLiveDataMessageKind::HEADER, &header, &DUMMY_ROW, &DUMMY_WAVES});
}

void AcMeasurementJobFeatures::rowEisEventHandler(const boost::json::object& event)
{
    const auto row = liveDataRowEisFromEvent(event);
    dispatch({AcLiveDataMessageKind::ROW, &header, &row, &DUMMY_WAVES});
}

void AcMeasurementJobFeatures::wavesEventHandler(const boost::json::object& event)
{
    const auto waves = liveDataWavesEisFromEvent(event);
    dispatch({AcLiveDataMessageKind::WAVES, &header, &DUMMY_ROW, &waves});
}

void AcMeasurementJobFeatures::finishedEventHandler(const boost::json::object&)
{
    dispatch({AcLiveDataMessageKind::FINISHED, &header, &DUMMY_ROW, &DUMMY_WAVES});
}

void AcMeasurementJobFeatures::dispatch(const AcLiveDataMessage& message) const
{
    for (const auto& callback : callbacks) {
        // An empty entry would raise bad_function_call on the worker thread
        // and keep the message from the callbacks after it.
        if (callback) {
            callback(message);
        }
    }
}
