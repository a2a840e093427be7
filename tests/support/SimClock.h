#pragma once
// A clock for the link layer that moves only when someone sleeps on it, so that time-outs and
// pauses are tested without waiting.
#include <atomic>
#include <cstdint>
#include <memory>

#include "instrument/ComDrv32.h"

namespace testsupport {

class SimClock {
public:
    explicit SimClock(uint32_t start = 100000) : state_(std::make_shared<State>()) { state_->now = start; }

    uint32_t now() const { return state_->now; }
    void advance(uint32_t ms) { state_->now += ms; }
    // Milliseconds slept in all, and the number of sleeps.
    uint64_t slept() const { return state_->slept; }
    int sleeps() const { return state_->sleeps; }

    LinkClock link() const {
        auto s = state_;
        return {[s] { return s->now.load(); },
                [s](int ms) {
                    s->now += static_cast<uint32_t>(ms);
                    s->slept += static_cast<uint64_t>(ms);
                    ++s->sleeps;
                }};
    }

private:
    struct State {
        std::atomic<uint32_t> now{0};
        std::atomic<uint64_t> slept{0};
        std::atomic<int> sleeps{0};
    };
    std::shared_ptr<State> state_;
};

}  // namespace testsupport
