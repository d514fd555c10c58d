// The main loop's timers, driven by the clock values of a test instead of the program's.
#include "tevrin/ui/timer_system.h"

#include <gtest/gtest.h>

TEST(Timers, FireOnceTheirPeriodHasPassedSinceTheyLastFiredAndLeaveWhenTheirOwnerLetsGo)
{
    tevrin::TimerSystem timers;
    int fired = 0;
    std::shared_ptr<tevrin::Timer> timer = timers.AddTimer(0.5f, true, [&fired] { ++fired; });
    const auto waiting = timers.AddTimer(0.1f, false, [] { ADD_FAILURE() << "a disabled timer fired"; });
    // A late pass moves the next firing on: it is due a period after the pass that fired.
    const struct { double now; int fired; } passes[] = {{0.4, 0}, {0.5, 1}, {0.9, 1}, {1.0, 2}, {1.7, 3}, {2.1, 3}, {2.2, 4}};
    for (const auto& pass : passes) {
        timers.UpdateAt(pass.now);
        EXPECT_EQ(fired, pass.fired) << "after the pass at " << pass.now << " s";
    }
    timer.reset();
    timers.UpdateAt(10.0);
    EXPECT_EQ(fired, 4);
    EXPECT_EQ(timers.Size(), 1u) << "the released timer leaves the list, the disabled one stays";
}
