#include "tevrin/ui/handle_queries.h"

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

}  // namespace tevrin
