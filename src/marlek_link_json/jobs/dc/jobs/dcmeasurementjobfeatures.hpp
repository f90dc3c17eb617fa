#pragma once

#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_link_json/jobs/common/live_data/dclivedatamessage.hpp"
#include "marlek_link_json/jobs/common/live_data/livedata_target.hpp"

#include <boost/json/fwd.hpp>

#include <functional>
#include <memory>
#include <vector>

class LinkJsonSession;

// The live data of a DC job: registers one session handler per DC live-data
// event while the job runs and hands every header, batch of rows and end
// marker to the job's callbacks, in the order the callbacks were given.
//
// The handlers run on the connection's worker thread under the session's
// handler lock; callbacks must not register or remove handlers of that
// session. Callbacks are meant to be added before the job starts.
class DcMeasurementJobFeatures {
public:
    using Callback = std::function<void(const DcLiveDataMessage&)>;
    using EventHandler = std::function<void(const boost::json::object&)>;

    explicit DcMeasurementJobFeatures(const std::vector<Callback>& callbacks);
    explicit DcMeasurementJobFeatures(std::vector<Callback>&& callbacks);
    // A copy has the callbacks and the header of the original but is
    // registered nowhere: the original's handlers keep reaching the original.
    DcMeasurementJobFeatures(const DcMeasurementJobFeatures& other);
    DcMeasurementJobFeatures& operator=(const DcMeasurementJobFeatures& other);
    ~DcMeasurementJobFeatures();

    void addLivedataEventHandler(Callback&& callback);

    // Each call makes three new handlers and registers them; remove releases
    // only those of the latest call, so the two come in pairs.
    void setEventHandlers(LinkJsonSession& session);
    void removeEventHandlers(LinkJsonSession& session);

    // Raise boost::system::system_error on a missing "header" or "data" or
    // on content that does not convert; no callback is called then.
    void headerEventHandler(const boost::json::object& event);
    void rowEventHandler(const boost::json::object& event);
    void finishedEventHandler(const boost::json::object& event);

private:
    using Target = LiveDataTarget<DcMeasurementJobFeatures>;

    void dispatch(const DcLiveDataMessage& message) const;
    std::shared_ptr<EventHandler> makeHandler(void (DcMeasurementJobFeatures::*member)(const boost::json::object&));

    LiveDataHeader header;
    // The latest rows, whose storage the next rows event refills; neither
    // copied nor assigned with the job.
    std::vector<std::vector<double>> rows;
    std::vector<Callback> callbacks;
    std::shared_ptr<EventHandler> headerHandler;
    std::shared_ptr<EventHandler> rowsHandler;
    std::shared_ptr<EventHandler> finishedHandler;
    std::shared_ptr<Target> target = std::make_shared<Target>(*this);
};
