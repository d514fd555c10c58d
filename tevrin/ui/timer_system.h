#pragma once
// Periodic callbacks on the user-interface thread, driven by the main loop rather
// than Win32 timers. Callers own their timers; the system only observes them.
#include "tevrin/core/delegate.h"
#include "tevrin/core/types.h"

#include <memory>
#include <vector>

namespace tevrin {

struct Timer {
    delegate<void()> action;
    f64 lastFired = 0.0;  // seconds since the program's start
    f32 period = 0.0f;    // seconds
    u64 index = 0;        // timers in the list when this one was added
    bool enabled = false;
};

class ITimerSystem {
public:
    virtual ~ITimerSystem() = default;
    virtual std::shared_ptr<Timer> AddTimer(float periodSeconds, bool enabled, const delegate<void()>& action) = 0;
};

class TimerSystem : public ITimerSystem {
public:
    std::shared_ptr<Timer> AddTimer(float periodSeconds, bool enabled, const delegate<void()>& action) override;

    // One pass at the current time.
    void Update();
    // One pass at the given time, in seconds since the program's start.
    void UpdateAt(double now);

    size_t Size() const { return timers_.size(); }

private:
    template <typename Clock>
    void RunPass(const Clock& clock);

    std::vector<std::weak_ptr<Timer>> timers_;
};

}  // namespace tevrin
