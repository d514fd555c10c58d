// Process entry: start-up, the main loop, teardown, and the last line of error
// handling. Returns 0 on every path.
#include "app/main_loop.h"
#include "app/nibscope_app.h"
#include "tevrin/core/callback_exception.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/dll_search.h"
#include "tevrin/core/message_box.h"
#include "tevrin/core/program_clock.h"
#include "tevrin/core/system_report.h"
#include "tevrin/ui/timer_system.h"

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

void Run()
{
    tevrin::TimerSystem timers;
    NibscopeApp application;
    application.Initialise();
    tevrin::rethrow_callback_exception();  // from the messages that creating and sizing the window sent
    tevrin::log_line("%s", application.GetAboutText().c_str());
    tevrin::write_system_report();
    RunMainLoop(application, timers);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    tevrin::restrict_library_search();
    tevrin::bind_delay_loaded_libraries();
    tevrin::RecordProgramStart();
    InitialiseCommonControls();
    try {
        Run();
        tevrin::rethrow_callback_exception();  // kept while the windows were torn down
    } catch (...) {
        tevrin::ReportCaughtException();
    }
    return 0;
}
