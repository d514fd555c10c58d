// A key handler resizes its window with SetWindowPos, whose WM_SIZE handler throws: the
// main loop and the entry's catch must show one error box, then exit 0 (startup_box_check).
#include "app/main_loop.h"
#include "app/nibscope_app.h"
#include "tevrin/core/message_box.h"
#include "tevrin/ui/timer_system.h"
#include "ui/test_window.h"

struct ResizedOnKey : ui_test::TestWindow {
    bool HandleSizeEvent(int, int) override { return resizing ? throw "resized inside SetWindowPos" : false; }
    bool HandleKeyEvent(tevrin::u16) override
    {
        resizing = true;
        return SetWindowPos(hwnd, nullptr, 0, 0, 150, 150, SWP_NOMOVE | SWP_NOZORDER);
    }
    bool resizing = false;
};

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        tevrin::TimerSystem timers;
        NibscopeApp application;  // not initialised: the box keeps the caption "Message"
        auto* window = new ResizedOnKey;  // deleted by the framework with its window
        window->Create(200, 200);
        PostMessageW(window->GetHandle(), WM_CHAR, 'x', 1);
        RunMainLoop(application, timers);
    } catch (...) {
        tevrin::ReportCaughtException();
    }
    return 0;
}
