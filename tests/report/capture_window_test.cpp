// The capture window under Wine, inside the modal loop the system runs for a move from
// the keyboard (as for a drag on the caption): its timer goes on reading there, a
// failure in reading stops every further read and handling until the loop has
// returned, and the capture's loop then throws it.
#include "report/capture/capture_window.h"
#include "tevrin/core/callback_exception.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace nibscope_report;

namespace {

void CALLBACK end_move(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    PostMessageW(FindWindowW(nullptr, capture_window_title), WM_KEYDOWN, VK_ESCAPE, 0);
}

// Reads until the failing one, in a move loop of half a second; the reads done.
int reads_in_move_loop(capture_window& window, int failing)
{
    int reads = 0;
    const capture_window::reading_through_modal_loops reading(window, [&] {
        if (++reads == failing)
            throw std::runtime_error("read failed");
    });
    SetTimer(nullptr, 0, 500, &end_move);
    SendMessageW(window.handle(), WM_SYSCOMMAND, SC_MOVE, 0);  // returns when the loop ends
    return reads;
}

}  // namespace

TEST(CaptureWindow, ReadsThroughAMoveLoopAndStopsAtAFailure)
{
    capture_window window(60);
    EXPECT_GE(reads_in_move_loop(window, 0), 20) << "a read every 10 ms while the loop ran";
    EXPECT_FALSE(tevrin::callback_failure_kept());
    EXPECT_EQ(reads_in_move_loop(window, 3), 3) << "none after the failure";
    EXPECT_TRUE(IsWindow(window.handle())) << "the window was left to the system's handling";
    EXPECT_THROW(tevrin::rethrow_callback_exception(), std::runtime_error);
}
