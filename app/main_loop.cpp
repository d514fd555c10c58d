#include "app/main_loop.h"

#include "app/app_window.h"
#include "app/nibscope_app.h"
#include "tevrin/core/callback_exception.h"
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
            Sleep(10);
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
