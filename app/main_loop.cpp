#include "app/main_loop.h"

#include "app/app_window.h"
#include "app/nibscope_app.h"
#include "tevrin/core/callback_exception.h"
#include "tevrin/ui/timer_system.h"
#include "tevrin/ui/window_list.h"

#include <windows.h>

namespace {

constexpr DWORD idleWaitMilliseconds = 10;

bool OfferToAccelerators(NibscopeApp& application, MSG& message)
{
    AppWindow* mainWindow = application.GetMainWindow();
    return mainWindow && tevrin::Window::TranslateKeyboardAccelerator(mainWindow, &message);
}

// Waits up to 10 ms for input or a message and returns as soon as one arrives. A plain
// 10 ms sleep (15.6 ms on Windows at the default timer resolution) left the pointer
// moves of a fast stroke waiting, and the window system merges moves that wait: the
// stroke was drawn through fewer positions. An idle program still wakes at most about
// every 10 ms, so the timers keep their resolution.
void WaitForInput()
{
    MsgWaitForMultipleObjectsEx(0, nullptr, idleWaitMilliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace

void RunMainLoop(NibscopeApp& application, tevrin::TimerSystem& timers)
{
    MSG message;
    while (!tevrin::WindowList().empty()) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            application.Idle();
            WaitForInput();
        } else if (!OfferToAccelerators(application, message)) {
            TranslateMessage(&message);
            if (message.message == WM_QUIT)
                break;
            DispatchMessageW(&message);
        }
        tevrin::rethrow_callback_exception();
        timers.Update();
    }
}
