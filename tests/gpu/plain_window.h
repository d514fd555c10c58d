#pragma once
// A plain Win32 window for the OpenGL tests: the context needs only an HWND.
#include <windows.h>

namespace gpu_test {

class PlainWindow {
public:
    PlainWindow(int width = 64, int height = 48)
    {
        static const bool registered = RegisterPlainClass();
        (void)registered;
        handle = CreateWindowExW(0, L"gpu_test_plain", L"gpu test", WS_OVERLAPPEDWINDOW, 0, 0, width, height,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~PlainWindow()
    {
        if (handle)
            DestroyWindow(handle);
    }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    HWND handle;

private:
    static bool RegisterPlainClass()
    {
        WNDCLASSW windowClass = {};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"gpu_test_plain";
        return RegisterClassW(&windowClass) != 0;
    }
};

}  // namespace gpu_test
