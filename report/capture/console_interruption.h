#pragma once
// Ctrl+C, Ctrl+Break and closing the console while a capture runs end the capture
// early rather than the process: the report of what was captured is still written,
// says why the capture ended early, and the console gets its code page back. Outside
// a capture the system's default handling ends the process, as before.
#include <windows.h>

namespace nibscope_report {

// Handles the console's events while it lives. A close, logoff or shutdown event ends
// the process as soon as its handler returns, so the handler waits (up to 4.5 s of the
// 5 s Windows allows) until this object goes: make it before anything that must be
// undone before the program ends, such as the console's code page.
class console_interruption {
public:
    console_interruption();
    ~console_interruption();
    console_interruption(const console_interruption&) = delete;
    console_interruption& operator=(const console_interruption&) = delete;

    // While one lives, the events end the capture instead of the process, and end any
    // modal loop (a move, a menu) that holds the capture's window meanwhile.
    class during_capture {
    public:
        explicit during_capture(HWND window);
        ~during_capture();
        during_capture(const during_capture&) = delete;
        during_capture& operator=(const during_capture&) = delete;
    };

    // What asked the running capture to end ("Ctrl+C was pressed", ...); null if nothing did.
    static const char* request();

    // The handler the system calls on a thread of its own.
    static BOOL WINAPI handle(DWORD event);
};

}  // namespace nibscope_report
