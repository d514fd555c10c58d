#pragma once
// Dispatching what is queued for this thread, as one pass of the program's main loop
// does before it reaches an idle pass.
#include <windows.h>

namespace nibscope_benchmark {

// Dispatches every queued message (paints included) and returns how many there were.
inline int PumpPendingMessages()
{
    int dispatched = 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        ++dispatched;
    }
    return dispatched;
}

}  // namespace nibscope_benchmark
