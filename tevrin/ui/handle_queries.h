#pragma once
// Questions asked of any window handle, shared by the window core and the controls.
#include <windows.h>

#include <string>

namespace tevrin {

// The window class name of handle.
std::wstring ClassNameOf(HWND handle);

// Whether handle's class is className; class names compare without regard to case.
bool ClassIs(HWND handle, const wchar_t* className);

// The window's outer rectangle in its parent's client coordinates.
RECT RectangleInParent(HWND handle);

// The DPI the window is shown at: its monitor's under per-monitor awareness.
int WindowDpi(HWND handle);

}  // namespace tevrin
