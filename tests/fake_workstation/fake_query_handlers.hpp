#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>

#include <map>
#include <mutex>
#include <string>

// How the fake answers one name of a "/settings/set".
struct FakeSettingOutcome {
    enum class Kind {
        Success,            // {"status":"SUCCESS"}, and the stored value changes
        Failed,             // {"status":"FAILED","error":error}
        FailedWithoutError, // {"status":"FAILED"}
        Omitted,            // the name is left out of the reply
    };
    Kind kind = Kind::Success;
    ErrorObject error{ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured"};
};

// The fake's settings, job table and connection table, with the replies of
// "/settings/get|set", "/job/list|info|check_parameters" and
// "/connection/id|list|drop". Thread-safe: tests configure it while the
// server thread answers.
class FakeQueryHandlers {
public:
    FakeQueryHandlers();

    // Fills the reply's result keys, or makes it a failed reply, when the
    // command is one of these; false for any other command.
    bool handle(const std::string& command, const boost::json::object& request, boost::json::object& reply);

    void setSettings(boost::json::object settings);
    boost::json::object settings() const;
    void setSettingOutcome(const std::string& name, FakeSettingOutcome outcome);

    // "/job/list" and "/job/info" answer from these job_info objects;
    // "exclude_finished" leaves out those whose "status" is "FINISHED".
    void setJobs(boost::json::array jobs);

    // "/connection/id" answers the first, "/connection/list" all; a drop
    // removes the one named. Starts with one plain connection.
    void setConnections(boost::json::array connections);
    boost::json::array connections() const;

    static boost::json::object defaultConnection();

private:
    void settingsSet(const boost::json::object& request, boost::json::object& reply);
    void jobInfo(const boost::json::object& request, boost::json::object& reply) const;
    void jobList(const boost::json::object& request, boost::json::object& reply) const;
    void connectionDrop(const boost::json::object& request, boost::json::object& reply);

    mutable std::mutex mutex;
    boost::json::object storedSettings;
    std::map<std::string, FakeSettingOutcome> settingOutcomes;
    boost::json::array jobs;
    boost::json::array connectionTable;
};
