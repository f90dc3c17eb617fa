#pragma once

#include <chrono>
#include <functional>

// True when body returns within the bound. A body that does not (it
// deadlocked) is left to itself on a thread of its own, so that the test can
// report that instead of hanging.
bool returnsWithin(std::chrono::milliseconds bound, std::function<void()> body);
