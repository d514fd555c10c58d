// The capture window under Wine: its trail stays where the pen went on the screen
// through minimising, restoring, resizing and moving; inside the modal loop the system
// runs for a move from the keyboard (as for a drag on the caption) its timer goes on
// reading, a failure in reading stops every further read and handling until the loop
// has returned, and the capture's loop then throws it.
#include "report/capture/capture_window.h"
#include "tevrin/core/callback_exception.h"

#include <gtest/gtest.h>

#include <functional>
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

// The window's pixel at a point of the screen, once it has painted.
COLORREF pixel_at(capture_window& window, POINT screen)
{
    Sleep(20);  // a paint at most every sixtieth of a second
    window.paint_if_due(60);
    ScreenToClient(window.handle(), &screen);
    const HDC dc = GetDC(window.handle());
    const COLORREF pixel = GetPixel(dc, screen.x, screen.y);
    ReleaseDC(window.handle(), dc);
    return pixel;
}

bool dark_at(capture_window& window, POINT screen)  // WinTab's trail in contact
{
    const COLORREF pixel = pixel_at(window, screen);
    return GetRValue(pixel) < 100 && GetGValue(pixel) < 100;
}

}  // namespace

TEST(CaptureWindow, TheTrailStaysWhereThePenWent)
{
    capture_window window(60);
    capture_setting setting;
    setting.pressure_maximum = 1000;
    setting.items.pressure = true;
    window.live().set_context({0, 0, 1280, -1024, 0, 0, 1280, 1024}, setting);  // the screen's own pixels
    RECT frame = {};
    GetWindowRect(window.handle(), &frame);
    const POINT middle = {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    std::vector<captured_packet> stroke(2);
    stroke[0].x = middle.x - 60, stroke[1].x = middle.x + 60, stroke[0].y = stroke[1].y = middle.y;
    stroke[0].pressure = stroke[1].pressure = 1000, stroke[1].serial = 1;
    window.add_packets(stroke, middle);
    std::vector<pointer_sample> ink(2);  // a pointer pen's stroke 20 pixels below, pressed hard
    for (size_t i = 0; i < ink.size(); ++i)
        ink[i].x = middle.x - 60 + 120 * static_cast<int>(i), ink[i].y = middle.y + 20, ink[i].pressure = 1024,
        ink[i].in_contact = ink[i].in_range = true;
    window.live().add_pointer(ink);
    const struct {
        const char* step;
        std::function<void()> act;
    } steps[] = {
        {"drawn", [] {}},
        {"minimised and restored", [&] { ShowWindow(window.handle(), SW_MINIMIZE), ShowWindow(window.handle(), SW_RESTORE); }},
        {"made larger", [&] { SetWindowPos(window.handle(), nullptr, 0, 0, 700, 560, SWP_NOMOVE | SWP_NOZORDER); }},
        {"moved", [&] { SetWindowPos(window.handle(), nullptr, frame.left + 40, frame.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_TRUE(dark_at(window, middle)) << step.step;
    }
    EXPECT_FALSE(dark_at(window, {middle.x + 40, middle.y + 30})) << "nothing where the trail lay in the window before it moved";
    EXPECT_EQ(pixel_at(window, {middle.x, middle.y + 20}), RGB(230, 0, 0)) << "the pointer pen's trail at full pressure";
}

TEST(CaptureWindow, ReadsThroughAMoveLoopAndStopsAtAFailure)
{
    capture_window window(60);
    EXPECT_GE(reads_in_move_loop(window, 0), 20) << "a read every 10 ms while the loop ran";
    EXPECT_FALSE(tevrin::callback_failure_kept());
    EXPECT_EQ(reads_in_move_loop(window, 3), 3) << "none after the failure";
    EXPECT_TRUE(IsWindow(window.handle())) << "the window was left to the system's handling";
    EXPECT_THROW(tevrin::rethrow_callback_exception(), std::runtime_error);
}
