#include "support/returns_within.hpp"

#include <future>
#include <memory>
#include <thread>
#include <utility>

bool returnsWithin(std::chrono::milliseconds bound, std::function<void()> body)
{
    auto returned = std::make_shared<std::promise<void>>();
    auto future = returned->get_future();
    std::thread([returned, body = std::move(body)] {
        body();
        returned->set_value();
    }).detach();
    return future.wait_for(bound) == std::future_status::ready;
}
