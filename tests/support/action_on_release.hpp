#pragma once

#include <functional>
#include <memory>
#include <utility>

// A part to capture in a callable: when the last copy of the callable goes,
// the action runs, as the destructor of a Python closure does when it holds
// the last reference to an object (which then goes too, or calls into the
// library). Copies share one action, which runs once.
class ActionOnRelease {
public:
    explicit ActionOnRelease(std::function<void()> action) : state(std::make_shared<State>(std::move(action))) {}

private:
    struct State {
        explicit State(std::function<void()> action) : action(std::move(action)) {}
        ~State()
        {
            if (action) {
                action();
            }
        }
        State(const State&) = delete;
        State& operator=(const State&) = delete;
        std::function<void()> action;
    };
    std::shared_ptr<State> state;
};
