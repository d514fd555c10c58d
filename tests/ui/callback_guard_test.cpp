// Each kind of function the system calls back, failing inside a real system call: the
// call returns as usual, the failure waits for the program's own loop, which throws it
// once, and until then no guarded callback runs again, even while a modal loop of the
// system's goes on to its end.
#include "tevrin/core/callback_exception.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

int bodies = 0;  // guarded bodies that ran
int failAt = 0;  // the body that fails; none while 0

template <typename Result>
Result guarded(Result result)
{
    return tevrin::guard_callback(Result(), [&] {
        if (++bodies == failAt)
            throw std::runtime_error("callback " + std::to_string(bodies) + " failed");
        return result;
    });
}

BOOL CALLBACK each_monitor(HMONITOR, HDC, LPRECT, LPARAM) { return guarded(TRUE); }
BOOL CALLBACK each_window(HWND, LPARAM) { return guarded(TRUE); }
void CALLBACK guarded_timer(HWND, UINT, UINT_PTR, DWORD) { guarded(0); }

// Half a second in a popup menu's loop, while a timer procedure fires every 10 ms.
int menu_loop_with_timer(HWND owner)
{
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"item");
    const UINT_PTR ticking = SetTimer(nullptr, 0, 10, &guarded_timer);
    const UINT_PTR closing = SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    SetForegroundWindow(owner);
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    KillTimer(nullptr, ticking);
    KillTimer(nullptr, closing);
    DestroyMenu(menu);
    return chosen;
}

}  // namespace

TEST(CallbackGuard, EachKindOfCallbackFailsIntoTheProgramsLoop)
{
    // The framework's own window procedures are tested with the framework (window_test.cpp).
    const HWND window = CreateWindowExW(0, L"STATIC", L"guard", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const struct {
        const char* name;
        std::function<long long()> call;  // the system call, and what it returned
        int failAt;
        long long returned;
    } rows[] = {
        // Stopped by the failure: EnumDisplayMonitors answers FALSE.
        {"EnumDisplayMonitors callback", [] { return EnumDisplayMonitors(nullptr, nullptr, each_monitor, 0); }, 1, FALSE},
        {"EnumWindows callback", [] { return EnumWindows(each_window, 0); }, 2, FALSE},
        // About 50 ticks in the menu's loop, of which the third fails and ends the ticking.
        {"timer procedure in a menu's modal loop", [&] { return menu_loop_with_timer(window); }, 3, 0},
    };
    for (const auto& row : rows) {
        bodies = 0, failAt = row.failAt;
        long long returned = -1;
        try {
            returned = row.call();
        } catch (...) {
            ADD_FAILURE() << row.name << ": the failure unwound through the system call";
        }
        EXPECT_EQ(returned, row.returned) << row.name;
        EXPECT_EQ(bodies, row.failAt) << row.name << ": no guarded body ran after the failure";
        EXPECT_TRUE(tevrin::callback_failure_kept()) << row.name;
        try {
            tevrin::rethrow_callback_exception();
            ADD_FAILURE() << row.name << ": no failure kept";
        } catch (const std::runtime_error& failure) {
            EXPECT_EQ(failure.what(), "callback " + std::to_string(row.failAt) + " failed") << row.name;
        }
        EXPECT_FALSE(tevrin::callback_failure_kept()) << row.name << ": thrown once";
    }
    DestroyWindow(window);
}
