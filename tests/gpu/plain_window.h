#pragma once
// A plain Win32 window for the OpenGL tests: a context needs only an HWND.
#include <windows.h>

namespace gpu_test {

struct PlainWindow {
    PlainWindow()
    {
        static const ATOM windowClass = [] {
            WNDCLASSW plain = {};
            plain.style = CS_OWNDC, plain.lpfnWndProc = DefWindowProcW, plain.lpszClassName = L"gpu_test_plain";
            plain.hInstance = GetModuleHandleW(nullptr);
            return RegisterClassW(&plain);
        }();
        handle = CreateWindowExW(0, MAKEINTATOM(windowClass), L"gpu test", WS_OVERLAPPEDWINDOW, 0, 0, 64, 48, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~PlainWindow() { DestroyWindow(handle); }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    HWND handle;
};

}  // namespace gpu_test
