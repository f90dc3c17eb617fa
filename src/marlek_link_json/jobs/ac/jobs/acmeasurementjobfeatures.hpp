#pragma once

#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/jobs/ac/live_data/aclivedatamessage.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedataroweis.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis.hpp"
#include "marlek_link_json/jobs/common/live_data/livedata_target.hpp"

#include <boost/json/fwd.hpp>

#include <functional>
#include <memory>
#include <vector>

class LinkJsonSession;

// What the row and the waves of an AcLiveDataMessage point to when the
// message carries no row or no fragment.
extern const LiveDataRowEis DUMMY_ROW;
extern const LiveDataWavesEis DUMMY_WAVES;

// The live data of an impedance job: registers one session handler per
// impedance live-data event while the job runs and hands every header, row,
// wave fragment and end marker to the job's callbacks, in the order the
// callbacks were given.
//
// The handlers run on the connection's worker thread under the session's
// handler lock; callbacks must not register or remove handlers of that
// session. Callbacks are meant to be added before the job starts.
class AcMeasurementJobFeatures {
public:
    using Callback = std::function<void(const AcLiveDataMessage&)>;
    using EventHandler = std::function<void(const boost::json::object&)>;

    explicit AcMeasurementJobFeatures(const std::vector<Callback>& callbacks);
    explicit AcMeasurementJobFeatures(std::vector<Callback>&& callbacks);
    // A copy has the callbacks and the header of the original but is
    // registered nowhere: the original's handlers keep reaching the original.
    AcMeasurementJobFeatures(const AcMeasurementJobFeatures& other);
    AcMeasurementJobFeatures& operator=(const AcMeasurementJobFeatures& other);
    ~AcMeasurementJobFeatures();

    void addLivedataEventHandler(Callback&& callback);

    // Each call makes four new handlers and registers them; remove releases
    // only those of the latest call, so the two come in pairs.
    void setEventHandlers(LinkJsonSession& session);
    void removeEventHandlers(LinkJsonSession& session);

    // Raise boost::system::system_error on a missing "header" or on content
    // that does not convert; no callback is called then.
    void headerEventHandler(const boost::json::object& event);
    void rowEisEventHandler(const boost::json::object& event);
    void wavesEventHandler(const boost::json::object& event);
    void finishedEventHandler(const boost::json::object& event);

private:
    using Target = LiveDataTarget<AcMeasurementJobFeatures>;

    void dispatch(const AcLiveDataMessage& message) const;
    std::shared_ptr<EventHandler> makeHandler(void (AcMeasurementJobFeatures::*member)(const boost::json::object&));

    LiveDataHeaderEis header;
    std::vector<Callback> callbacks;
    std::shared_ptr<EventHandler> headerHandler;
    std::shared_ptr<EventHandler> rowHandler;
    std::shared_ptr<EventHandler> wavesHandler;
    std::shared_ptr<EventHandler> finishedHandler;
    std::shared_ptr<Target> target = std::make_shared<Target>(*this);
};
