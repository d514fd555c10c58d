#pragma once
// RefreshPacer: when a view that receives a stream of changes repaints. While every
// pass brings changes, at most once a frame, and never sooner after the previous
// refresh ended than three times as long as it took: a refresh slower than a frame
// (the log pane's scroll bar under Wine) then takes at most a quarter of the thread's
// time, and pointer input keeps the rest. As soon as a pass brings nothing new, at
// once, so the final state shows.
#include <algorithm>
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
        const bool moreMayFollow = changedSinceLastPass_ && now - lastRefreshEnd_ < pause_;
        changedSinceLastPass_ = false;
        return pending_ && !moreMayFollow;
    }
    // The refresh that Due asked for ran from start to end.
    void Refreshed(Clock::time_point start, Clock::time_point end)
    {
        pending_ = false;
        lastRefreshEnd_ = end;
        pause_ = std::max<Clock::duration>(frame, 3 * (end - start));
    }

private:
    bool pending_ = false;
    bool changedSinceLastPass_ = false;
    Clock::time_point lastRefreshEnd_ = Clock::time_point{} - frame;  // the first change is due at once
    Clock::duration pause_ = frame;
};

}  // namespace tevrin
