#include "tevrin/ui/handle_queries.h"

#include "tevrin/core/windows_handles.h"

#include <cwchar>

namespace tevrin {

std::wstring ClassNameOf(HWND handle)
{
    // 256 characters is the longest class name the system registers.
    wchar_t name[257] = {};
    GetClassNameW(handle, name, 257);
    return name;
}

bool ClassIs(HWND handle, const wchar_t* className)
{
    return _wcsicmp(ClassNameOf(handle).c_str(), className) == 0;
}

RECT RectangleInParent(HWND handle)
{
    RECT rectangle = {};
    GetWindowRect(handle, &rectangle);
    MapWindowPoints(HWND_DESKTOP, GetParent(handle), reinterpret_cast<POINT*>(&rectangle), 2);
    return rectangle;
}

// GetDpiForWindow exists from Windows 10 on; older systems have one DPI for all.
int WindowDpi(HWND handle)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow)
        return static_cast<int>(getDpiForWindow(handle));
    return GetDeviceCaps(acquire_window_dc(nullptr).get(), LOGPIXELSY);
}

}  // namespace tevrin
