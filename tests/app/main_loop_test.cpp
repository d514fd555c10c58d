// The program's application object and main loop, on real windows under Wine.
#include "app/app_window.h"
#include "app/main_loop.h"
#include "app/nibscope_app.h"
#include "app/nibscope_view_native.h"
#include "support/log_lines.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/ui/log_view.h"
#include "tevrin/ui/timer_system.h"

#include <gtest/gtest.h>

#include <thread>

TEST(NibscopeApp, IdleMovesQueuedLinesToTheLogOnlyOnceThereIsAMainWindow)
{
    tevrin_test::TakeLogLines();  // what earlier tests left queued
    tevrin::log_line("queued before the main window");
    NibscopeApp application;
    application.Idle();
    EXPECT_EQ(tevrin::pending_log_line_count(), 1u);
    application.Initialise();
    std::thread([] { tevrin::log_line("from another thread"); }).join();
    application.Idle();
    const tevrin::ILogItemTable& log = *application.GetMainWindow()->GetLogView()->GetTable();
    EXPECT_EQ(log.item(0)->text, "queued before the main window");
    EXPECT_EQ(log.item(log.count() - 1)->text, "from another thread");
    DestroyWindow(application.GetMainWindow()->GetHandle());
    EXPECT_EQ(application.GetMainWindow(), nullptr);
}

TEST(MainLoop, AKeyTakenByAnAcceleratorIsNotDispatchedButTheTimersStillRun)
{
    NibscopeApp application;
    application.Initialise();
    AppWindow& mainWindow = *application.GetMainWindow();
    ACCEL tab = {0, '\t', 77};
    const HACCEL table = CreateAcceleratorTableW(&tab, 1);
    // The program's main window has no accelerator table: the test lends it one for the
    // Tab character, which the surfaces take to move the focus on.
    mainWindow.SetAcceleratorTable(table);
    const HWND gdi = mainWindow.GetGdiView()->GetHandle();
    SetFocus(gdi);
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
    PostMessageW(gdi, WM_CHAR, '\t', 1);
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
    tevrin::TimerSystem timers;
    int passes = 0;
    const auto timer = timers.AddTimer(0.0f, true, [&passes] { ++passes; });
    RunMainLoop(application, timers);
    EXPECT_EQ(GetFocus(), gdi);
    EXPECT_EQ(passes, 1) << "one pass for the key; WM_QUIT ends the loop before the timers";
    mainWindow.SetAcceleratorTable(nullptr);
    DestroyAcceleratorTable(table);
    DestroyWindow(mainWindow.GetHandle());
}
