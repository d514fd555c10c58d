#pragma once
// A plain Win32 window that a test owns: enough for a tablet or OpenGL context (its class
// keeps one device context) and as the owner of other windows. Destroyed when the test
// ends, however it ends.
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
    static const ATOM windowClass = [] {
        WNDCLASSW plain = {};
        plain.style = CS_OWNDC;
        plain.lpfnWndProc = DefWindowProcW;
        plain.hInstance = GetModuleHandleW(nullptr);
        plain.lpszClassName = L"tevrin_test_plain";
        return RegisterClassW(&plain);
    }();
    return PlainWindow(CreateWindowExW(0, MAKEINTATOM(windowClass), L"test", WS_POPUP, 0, 0, 200, 200, owner,
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
}

}  // namespace tevrin_test
