#pragma once
// A plain Win32 window that a test owns: enough for a tablet or OpenGL context and as the
// owner of other windows. Destroyed when the test ends, however it ends.
#include "tevrin/core/unique_handle.h"

#include <windows.h>

namespace tevrin_test {

struct window_traits {
    using handle_type = HWND;
    static constexpr HWND invalid() noexcept { return nullptr; }
    static void close(HWND window) noexcept { DestroyWindow(window); }
};
using PlainWindow = tevrin::unique_handle<window_traits>;

inline PlainWindow MakePlainWindow(HWND owner = nullptr)
{
    return PlainWindow(CreateWindowExW(0, L"STATIC", L"test", WS_POPUP, 0, 0, 200, 200, owner, nullptr, nullptr, nullptr));
}

}  // namespace tevrin_test
