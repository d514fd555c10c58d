#include "tevrin/ui/timer_system.h"

#include "tevrin/core/program_clock.h"

namespace tevrin {

std::shared_ptr<Timer> TimerSystem::AddTimer(float periodSeconds, bool enabled, const delegate<void()>& action)
{
    auto timer = std::make_shared<Timer>();
    timer->period = periodSeconds;
    timer->enabled = enabled;
    timer->action = action;
    timer->index = timers_.size();
    timers_.push_back(timer);
    return timer;
}

void TimerSystem::Update()
{
    if (timers_.empty())
        return;
    RunPass([] { return SecondsSinceProgramStart(); });
}

void TimerSystem::UpdateAt(double now)
{
    RunPass([now] { return now; });
}

template <typename Clock>
void TimerSystem::RunPass(const Clock& clock)
{
    // Backwards, so later additions run first and erasing keeps the walk valid.
    for (size_t i = timers_.size(); i-- > 0;) {
        const std::shared_ptr<Timer> timer = timers_[i].lock();
        if (!timer) {
            timers_.erase(timers_.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (!timer->enabled)
            continue;
        const double now = clock();
        if (now - timer->lastFired < static_cast<double>(timer->period))
            continue;
        timer->lastFired = now;
        if (!timer->action.empty())
            timer->action();
    }
}

}  // namespace tevrin
