#pragma once

// Base of callable handler objects that serve as a job's live-data callback
// (wrapped in the job's std::function by reference or by copy of a derived
// object).
template <typename Message>
class AbstractLiveDataHandler {
public:
    virtual ~AbstractLiveDataHandler() = default;

    virtual void operator()(const Message& message) = 0;

protected:
    AbstractLiveDataHandler() = default;
    AbstractLiveDataHandler(const AbstractLiveDataHandler&) = default;
    AbstractLiveDataHandler& operator=(const AbstractLiveDataHandler&) = default;
};
