#include "tevrin/ui/timer_system.h"

#include <gtest/gtest.h>

#include <string>

using namespace tevrin;

TEST(TimerSystem, DueAtTheFirstPassThenAtMostOncePerPeriod)
{
    TimerSystem timers;
    int runs = 0;
    auto timer = timers.AddTimer(0.5f, true, [&runs] { ++runs; });
    timers.UpdateAt(10.0);
    EXPECT_EQ(runs, 1);
    timers.UpdateAt(10.3);
    EXPECT_EQ(runs, 1);
    timers.UpdateAt(10.6);
    EXPECT_EQ(runs, 2);
    EXPECT_DOUBLE_EQ(timer->lastFired, 10.6);
}

TEST(TimerSystem, ALatePassRunsOnceWithoutCatchingUp)
{
    TimerSystem timers;
    int runs = 0;
    auto timer = timers.AddTimer(0.1f, true, [&runs] { ++runs; });
    timers.UpdateAt(1.0);
    timers.UpdateAt(2.0);  // ten periods late
    EXPECT_EQ(runs, 2);
    timers.UpdateAt(2.05);
    EXPECT_EQ(runs, 2);
    timers.UpdateAt(2.11);
    EXPECT_EQ(runs, 3);
}

TEST(TimerSystem, LaterAdditionsRunFirst)
{
    TimerSystem timers;
    std::string order;
    auto first = timers.AddTimer(0.0f, true, [&order] { order += "first "; });
    auto second = timers.AddTimer(0.0f, true, [&order] { order += "second "; });
    EXPECT_EQ(first->index, 0u);
    EXPECT_EQ(second->index, 1u);
    timers.UpdateAt(1.0);
    EXPECT_EQ(order, "second first ");
}

TEST(TimerSystem, DroppedTimersLeaveAtTheNextPassAndOthersKeepTheirOrder)
{
    TimerSystem timers;
    std::string order;
    auto a = timers.AddTimer(0.0f, true, [&order] { order += "a"; });
    auto b = timers.AddTimer(0.0f, true, [&order] { order += "b"; });
    auto c = timers.AddTimer(0.0f, true, [&order] { order += "c"; });
    b.reset();
    EXPECT_EQ(timers.Size(), 3u);
    timers.UpdateAt(1.0);
    EXPECT_EQ(order, "ca");
    EXPECT_EQ(timers.Size(), 2u);
    order.clear();
    timers.UpdateAt(2.0);
    EXPECT_EQ(order, "ca");
}

TEST(TimerSystem, DisabledTimersStayButNeverRun)
{
    TimerSystem timers;
    int runs = 0;
    auto timer = timers.AddTimer(0.0f, false, [&runs] { ++runs; });
    timers.UpdateAt(1.0);
    timers.UpdateAt(5.0);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(timers.Size(), 1u);
    timer->enabled = true;
    timers.UpdateAt(6.0);
    EXPECT_EQ(runs, 1);
}

TEST(TimerSystem, EmptyActionOnlyRecordsTheTime)
{
    TimerSystem timers;
    auto timer = timers.AddTimer(0.25f, true, delegate<void()>());
    EXPECT_NO_THROW(timers.UpdateAt(3.0));
    EXPECT_DOUBLE_EQ(timer->lastFired, 3.0);
}

TEST(TimerSystem, ATimerAddedDuringAPassFirstRunsInTheNext)
{
    TimerSystem timers;
    std::shared_ptr<Timer> added;
    int addedRuns = 0;
    auto adder = timers.AddTimer(0.0f, true, [&] {
        if (!added)
            added = timers.AddTimer(0.0f, true, [&addedRuns] { ++addedRuns; });
    });
    timers.UpdateAt(1.0);
    EXPECT_EQ(addedRuns, 0);
    timers.UpdateAt(2.0);
    EXPECT_EQ(addedRuns, 1);
}

TEST(TimerSystem, AnActionThatDropsItsOwnTimerFinishesAndTheEntryGoes)
{
    TimerSystem timers;
    int runs = 0;
    std::shared_ptr<Timer> self;
    self = timers.AddTimer(0.0f, true, [&] {
        ++runs;
        self.reset();
    });
    timers.UpdateAt(1.0);
    timers.UpdateAt(2.0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(timers.Size(), 0u);
}

TEST(TimerSystem, AnExceptionFromAnActionLeavesThePass)
{
    TimerSystem timers;
    int laterRuns = 0;
    auto quiet = timers.AddTimer(0.0f, true, [&laterRuns] { ++laterRuns; });
    auto failing = timers.AddTimer(0.0f, true, [] { throw "timer failed"; });
    EXPECT_THROW(timers.UpdateAt(1.0), const char*);
    EXPECT_EQ(laterRuns, 0);
}
