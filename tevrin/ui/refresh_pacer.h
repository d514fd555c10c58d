#pragma once
// RefreshPacer: when a view that receives a stream of changes repaints. While every
// pass brings changes, at most once a frame, counted from the end of the previous
// refresh, so that a refresh slower than a frame still leaves the thread most of its
// time; as soon as a pass brings nothing new, at once, so the final state shows.
#include <chrono>

namespace tevrin {

class RefreshPacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration frame = std::chrono::microseconds(16667);

    // Something new waits to be shown.
    void Changed()
    {
        pending_ = true;
        changedSinceLastPass_ = true;
    }
    // Asked once a pass: whether to refresh now.
    bool Due(Clock::time_point now)
    {
        const bool moreMayFollow = changedSinceLastPass_ && now - lastRefreshEnd_ < frame;
        changedSinceLastPass_ = false;
        return pending_ && !moreMayFollow;
    }
    // The refresh that Due asked for has ended.
    void Refreshed(Clock::time_point end)
    {
        pending_ = false;
        lastRefreshEnd_ = end;
    }

private:
    bool pending_ = false;
    bool changedSinceLastPass_ = false;
    Clock::time_point lastRefreshEnd_ = Clock::time_point{} - frame;  // the first change is due at once
};

}  // namespace tevrin
