// Size, position and placement of a framework window, and its scroll bar state.
#include "tevrin/ui/window.h"

#include "tevrin/core/callback_exception.h"
#include "tevrin/ui/handle_queries.h"

namespace tevrin {
namespace {

const UINT keepPlaceAndOrder = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

BOOL CALLBACK AddMonitorToBounds(HMONITOR, HDC, LPRECT monitor, LPARAM bounds)
{
    return guard_callback(FALSE, [&] {
        RECT* total = reinterpret_cast<RECT*>(bounds);
        UnionRect(total, total, monitor);
        return TRUE;
    });
}

RECT AllMonitorsBounds()
{
    RECT bounds = {0, 0, 0, 0};
    if (!EnumDisplayMonitors(nullptr, nullptr, &AddMonitorToBounds, reinterpret_cast<LPARAM>(&bounds)) ||
        IsRectEmpty(&bounds))
        GetWindowRect(GetDesktopWindow(), &bounds);
    rethrow_callback_exception();
    return bounds;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT ClientRectangle(HWND handle)
{
    RECT rectangle = {};
    GetClientRect(handle, &rectangle);
    return rectangle;
}

}  // namespace

void Window::SetSize(int width, int height)
{
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, keepPlaceAndOrder);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, keepPlaceAndOrder | SWP_NOSIZE | SWP_FRAMECHANGED);
}

void Window::SetClientSize(int width, int height)
{
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    SetSize(outer.right - outer.left, outer.bottom - outer.top);
}

void Window::GetSizeLimits(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) const
{
    minWidth = 100;
    minHeight = 100;
    maxWidth = -1;
    maxHeight = -1;
}

void Window::SetPosition(int x, int y, bool relative)
{
    if (relative) {
        const RECT now = RectangleInParent(hwnd);
        x += now.left;
        y += now.top;
    }
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetRectangle(const RECT& rectangle)
{
    if (!Contains(AllMonitorsBounds(), rectangle))
        return;
    SetWindowPos(hwnd, nullptr, rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                 rectangle.bottom - rectangle.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::BringToFront(bool activate)
{
    const UINT keepPlace = SWP_NOMOVE | SWP_NOSIZE;
    if (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) {
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, keepPlace | SWP_NOACTIVATE);
        return;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd, &placement) && placement.showCmd == SW_SHOWMINIMIZED)
        ShowWindow(hwnd, activate ? SW_RESTORE : SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, keepPlace | (activate ? 0 : SWP_NOACTIVATE));
}

int Window::GetWidth() const
{
    RECT outer;
    GetRectangle(outer);
    return outer.right - outer.left;
}

int Window::GetHeight() const
{
    RECT outer;
    GetRectangle(outer);
    return outer.bottom - outer.top;
}

int Window::GetClientWidth() const
{
    return ClientRectangle(hwnd).right;
}

int Window::GetClientHeight() const
{
    return ClientRectangle(hwnd).bottom;
}

int Window::GetFrameWidth() const
{
    return GetWidth() - GetClientWidth();
}

int Window::GetFrameHeight() const
{
    return GetHeight() - GetClientHeight();
}

// Where the top-level window's client area starts inside its outer rectangle.
static POINT ClientOffsetOfTopLevel(Window* top)
{
    if (!top)
        return POINT{0, 0};
    POINT origin = {0, 0};
    ClientToScreen(top->GetHandle(), &origin);
    RECT outer;
    top->GetRectangle(outer);
    return POINT{origin.x - outer.left, origin.y - outer.top};
}

int Window::GetClientOffsetX()
{
    return ClientOffsetOfTopLevel(GetTopLevelWindow()).x;
}

int Window::GetClientOffsetY()
{
    return ClientOffsetOfTopLevel(GetTopLevelWindow()).y;
}

int Window::GetMenuBarHeight() const
{
    // A fixed figure, not the real bar height: layouts computed with it stay the
    // same whatever the system's menu font.
    return HasMenu() ? 20 : 0;
}

void Window::GetRectangle(RECT& out) const
{
    out = RECT{0, 0, 0, 0};
    GetWindowRect(hwnd, &out);
}

RECT Window::GetChildrenBounds() const
{
    RECT bounds = {0, 0, 0, 0};
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT own = RectangleInParent(child);
        UnionRect(&bounds, &bounds, &own);
    }
    return bounds;
}

ScrollInfo& Window::GetScrollInfo(ScrollInfo& out, bool vertical) const
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    ::GetScrollInfo(hwnd, vertical ? SB_VERT : SB_HORZ, &info);
    out.min = info.nMin;
    out.max = info.nMax;
    out.page = info.nPage;
    out.position = info.nPos;
    out.trackPosition = info.nTrackPos;
    out.vertical = vertical;
    return out;
}

int Window::GetLeft() const
{
    return RectangleInParent(hwnd).left;
}

int Window::GetTop() const
{
    return RectangleInParent(hwnd).top;
}

int Window::GetBottom() const
{
    return RectangleInParent(hwnd).bottom;
}

}  // namespace tevrin
