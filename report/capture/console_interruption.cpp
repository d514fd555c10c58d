#include "report/capture/console_interruption.h"

#include <atomic>

namespace nibscope_report {
namespace {

std::atomic<bool> capturing{false};
std::atomic<const char*> requested{nullptr};
std::atomic<HWND> capture_window{nullptr};

// Signalled once the program has done its work. It lives as long as the process: the
// system's thread may wait on it at any moment, so it is never closed.
HANDLE finished()
{
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

const char* request_of(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT: return "Ctrl+C was pressed";
    case CTRL_BREAK_EVENT: return "Ctrl+Break was pressed";
    case CTRL_CLOSE_EVENT: return "the console was closed";
    case CTRL_LOGOFF_EVENT: return "the user logged off";
    default: return "the system shut down";
    }
}

}  // namespace

console_interruption::console_interruption()
{
    ResetEvent(finished());
    SetConsoleCtrlHandler(&handle, TRUE);
}

console_interruption::~console_interruption()
{
    SetEvent(finished());
    SetConsoleCtrlHandler(&handle, FALSE);
}

console_interruption::during_capture::during_capture(HWND window)
{
    requested = nullptr;
    capture_window = window;
    capturing = true;
}

console_interruption::during_capture::~during_capture()
{
    capturing = false;
    capture_window = nullptr;
}

const char* console_interruption::request()
{
    return requested;
}

BOOL WINAPI console_interruption::handle(DWORD event)
{
    if (!capturing)
        return FALSE;
    requested = request_of(event);
    // The system's move, size and menu loops end when the window loses the mouse.
    if (const HWND window = capture_window)
        PostMessageW(window, WM_CANCELMODE, 0, 0);
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE;
    WaitForSingleObject(finished(), 4500);
    return TRUE;
}

}  // namespace nibscope_report
