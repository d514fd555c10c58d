// Process entry: start-up, the main loop, teardown, and the last line of error
// handling. Returns 0 on every path.
#include "app/app_window.h"
#include "app/nibscope_app.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/message_box.h"
#include "tevrin/core/program_clock.h"
#include "tevrin/core/system_report.h"
#include "tevrin/ui/timer_system.h"
#include "tevrin/ui/window_list.h"

#include <windows.h>
#include <commctrl.h>

namespace {

// The trackbar and the other common control classes must be registered before the
// first window that uses them is made.
void InitialiseCommonControls()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

bool OfferToAccelerators(NibscopeApp& application, MSG& message)
{
    AppWindow* mainWindow = application.GetMainWindow();
    return mainWindow && tevrin::Window::TranslateKeyboardAccelerator(mainWindow, &message);
}

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
        timers.Update();
    }
}

void Run()
{
    tevrin::TimerSystem timers;
    NibscopeApp application;
    application.Initialise();
    tevrin::log_line("%s", application.GetAboutText().c_str());
    tevrin::write_system_report();
    RunMainLoop(application, timers);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    tevrin::RecordProgramStart();
    InitialiseCommonControls();
    try {
        Run();
    } catch (...) {
        tevrin::ReportCaughtException();
    }
    return 0;
}
