#include "tevrin/ui/pointer_tracker.h"

namespace tevrin {
namespace {

PointerPosition PositionFrom(LPARAM lParam)
{
    PointerPosition position;
    position.x = static_cast<i16>(LOWORD(lParam));
    position.y = static_cast<i16>(HIWORD(lParam));
    return position;
}

int ButtonOfPress(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: return 1;
    case WM_MBUTTONDOWN: return 2;
    case WM_RBUTTONDOWN: return 3;
    default: return 0;
    }
}

int ButtonOfRelease(UINT message)
{
    switch (message) {
    case WM_LBUTTONUP: return 1;
    case WM_MBUTTONUP: return 2;
    case WM_RBUTTONUP: return 3;
    default: return 0;
    }
}

}  // namespace

bool PointerTracker::AnyButtonPressed() const
{
    for (int button = 1; button < buttonCount; ++button)
        if (pressed[button])
            return true;
    return false;
}

void PointerTracker::Update(HWND window, UINT message, LPARAM lParam)
{
    if (const int button = ButtonOfPress(message)) {
        pressed[button] = true;
        press[button] = current[button] = PositionFrom(lParam);
        if (GetCapture() != window)
            SetCapture(window);
    } else if (const int released = ButtonOfRelease(message)) {
        pressed[released] = false;
        current[released] = PositionFrom(lParam);
        // Releasing the capture sends WM_CAPTURECHANGED at once; the flags are already
        // clear then, so no second pointer-up is reported for this release.
        if (GetCapture() == window && !AnyButtonPressed())
            ReleaseCapture();
    } else if (message == WM_MOUSEMOVE) {
        const PointerPosition position = PositionFrom(lParam);
        current[0] = position;
        for (int held = 1; held < buttonCount; ++held)
            if (pressed[held])
                current[held] = position;
    }
}

}  // namespace tevrin
