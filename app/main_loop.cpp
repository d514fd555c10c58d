#include "app/main_loop.h"

#include "app/app_window.h"
#include "app/nibscope_app.h"
#include "tevrin/ui/timer_system.h"
#include "tevrin/ui/window_list.h"

#include <windows.h>

namespace {

bool OfferToAccelerators(NibscopeApp& application, MSG& message)
{
    AppWindow* mainWindow = application.GetMainWindow();
    return mainWindow && tevrin::Window::TranslateKeyboardAccelerator(mainWindow, &message);
}

}  // namespace

void RunMainLoop(NibscopeApp& application, tevrin::TimerSystem& timers)
{
    MSG message;
    while (!tevrin::WindowList().empty()) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            application.Idle();
            // An idle program still polls about a hundred times a second, but input
            // that arrives meanwhile ends the wait: Wine merges the pointer moves that
            // wait in the queue, so a plain sleep would coarsen a fast stroke.
            MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        } else if (!OfferToAccelerators(application, message)) {
            TranslateMessage(&message);
            if (message.message == WM_QUIT)
                break;
            DispatchMessageW(&message);
        }
        timers.Update();
    }
}
