// The one window procedure of all framework window classes: turns each message into
// a call of the paired object's event handlers.
#include "tevrin/core/diagnostics.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/drop_files_handle.h"
#include "tevrin/ui/window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

namespace tevrin {
namespace {

u16 KeyCodeOf(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_DELETE: return keyDelete;
    case VK_LEFT: return keyLeft;
    case VK_RIGHT: return keyRight;
    case VK_UP: return keyUp;
    case VK_DOWN: return keyDown;
    case VK_PRIOR: return keyPageUp;
    case VK_NEXT: return keyPageDown;
    case VK_END: return keyEnd;
    case VK_HOME: return keyHome;
    case VK_ESCAPE: return keyEscape;
    default: return 0;
    }
}

int ButtonOfMessage(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return 1;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return 2;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return 3;
    default: return 0;
    }
}

bool IsListView(HWND handle)
{
    wchar_t name[64] = {};
    GetClassNameW(handle, name, 64);
    return _wcsicmp(name, L"SysListView32") == 0;
}

}  // namespace

LRESULT CALLBACK Window::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    window->PointerTracker::Update(hwnd, message, lParam);
    return window->Dispatch(message, wParam, lParam);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Window::ResultOf(bool handled, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return handled ? 0 : Default(message, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: {
        HWND handle = hwnd;
        HandleDestroyEvent();
        hwnd = nullptr;
        // The messages after WM_DESTROY (WM_NCDESTROY at least) must not find the
        // deleted object.
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        delete this;
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    case WM_CLOSE:
        if (onClose)
            onClose(this);
        return ResultOf(HandleCloseEvent(), message, wParam, lParam);
    case WM_ERASEBKGND:
        return noEraseBackground ? 1 : Default(message, wParam, lParam);
    case WM_PAINT: return OnPaint(message, wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(message, wParam, lParam);
    case WM_DRAWITEM: return OnDrawItem(message, wParam, lParam);
    case WM_NOTIFY: return OnNotify(message, wParam, lParam);
    case WM_COMMAND: return OnCommand(message, wParam, lParam);
    case WM_DROPFILES: return OnDropFiles(message, wParam, lParam);
    case WM_CONTEXTMENU: {
        POINT at{static_cast<i16>(LOWORD(lParam)), static_cast<i16>(HIWORD(lParam))};
        const bool fromPointer = !(at.x == -1 && at.y == -1);
        return ResultOf(HandleContextMenuEvent(at, fromPointer), message, wParam, lParam);
    }
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return DispatchFocusMessage(message, wParam, lParam);
    case WM_SIZE:
    case WM_SIZING:
    case WM_GETMINMAXINFO:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE: return DispatchSizeMessage(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_CHAR: return DispatchKeyMessage(message, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL: return DispatchControlMessage(message, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_CAPTURECHANGED: return DispatchPointerMessage(message, wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}

LRESULT Window::DispatchFocusMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE: return ResultOf(HandleActivateEvent(wParam != 0), message, wParam, lParam);
    case WM_ACTIVATEAPP: return ResultOf(HandleAppActivateEvent(wParam == 1), message, wParam, lParam);
    case WM_SETFOCUS: {
        HWND previousFocus = reinterpret_cast<HWND>(wParam);
        int from = 0;
        if (previousFocus && previousFocus == GetWindow(hwnd, GW_HWNDPREV))
            from = 1;
        else if (previousFocus && previousFocus == GetWindow(hwnd, GW_HWNDNEXT))
            from = -1;
        return ResultOf(HandleGetFocusEvent(from), message, wParam, lParam);
    }
    default: {
        HWND handle = hwnd;
        const bool handled = HandleLoseFocusEvent();
        for (HWND ancestor = GetParent(handle); ancestor && ancestor != GetDesktopWindow();
             ancestor = GetParent(ancestor))
            if (Window* window = FromHandle(ancestor))
                window->HandleDescendantFocusLost();
        return handled ? 0 : DefWindowProcW(handle, message, wParam, lParam);
    }
    }
}

LRESULT Window::DispatchSizeMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            return Default(message, wParam, lParam);
        return ResultOf(HandleSizeEvent(LOWORD(lParam), HIWORD(lParam)), message, wParam, lParam);
    case WM_SIZING:
        HandleSizingEvent();
        return Default(message, wParam, lParam);
    case WM_GETMINMAXINFO: {
        int minWidth, minHeight, maxWidth, maxHeight;
        GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
        MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        if (minWidth >= 0)
            limits->ptMinTrackSize.x = minWidth;
        if (minHeight >= 0)
            limits->ptMinTrackSize.y = minHeight;
        if (maxWidth >= 0)
            limits->ptMaxTrackSize.x = maxWidth;
        if (maxHeight >= 0)
            limits->ptMaxTrackSize.y = maxHeight;
        return 0;
    }
    case WM_ENTERSIZEMOVE:
        sizeAtMoveStart[0] = GetWidth();
        sizeAtMoveStart[1] = GetHeight();
        HandleBeginSizeMoveEvent();
        return Default(message, wParam, lParam);
    default:  // WM_EXITSIZEMOVE
        HandleEndSizeMoveEvent();
        if (GetWidth() == sizeAtMoveStart[0] && GetHeight() == sizeAtMoveStart[1])
            return Default(message, wParam, lParam);
        return ResultOf(HandleSizeEvent(GetClientWidth(), GetClientHeight()), message, wParam, lParam);
    }
}

LRESULT Window::DispatchKeyMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const u16 key = message == WM_CHAR ? static_cast<u16>(wParam) : KeyCodeOf(wParam);
    const int repeatCount = LOWORD(lParam);
    const bool unmappedKey = message == WM_KEYDOWN && key == 0;
    if (unmappedKey || repeatCount == 0)
        return Default(message, wParam, lParam);
    bool handled = false;
    for (int i = 0; i < repeatCount; ++i)
        handled = HandleKeyEvent(key);
    return ResultOf(handled, message, wParam, lParam);
}

LRESULT Window::DispatchControlMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        ScrollInfo info;
        return ResultOf(HandleScrollEvent(GetScrollInfo(info, message == WM_VSCROLL), LOWORD(wParam)), message,
                        wParam, lParam);
    }
    Control* control = reinterpret_cast<Control*>(GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_USERDATA));
    if (!control)
        return Default(message, wParam, lParam);
    return ResultOf(HandleControlScrollEvent(control), message, wParam, lParam);
}

LRESULT Window::DispatchPointerMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (current[0] == lastPointerMove)
            return Default(message, wParam, lParam);
        lastPointerMove = current[0];
        return ResultOf(HandlePointerMoveEvent(), message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: return ResultOf(HandlePointerDownEvent(ButtonOfMessage(message)), message, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: return ResultOf(HandlePointerUpEvent(ButtonOfMessage(message)), message, wParam, lParam);
    case WM_LBUTTONDBLCLK: return ResultOf(HandleDoubleClickEvent(1), message, wParam, lParam);
    case WM_MOUSEWHEEL: {
        // A wheel turned during a drag would disturb the stroke; it is swallowed.
        if (pressed[1] || pressed[3])
            return 0;
        const int notches = static_cast<i16>(HIWORD(wParam)) / WHEEL_DELTA;
        if (notches == 0)
            return Default(message, wParam, lParam);
        return ResultOf(HandleWheelEvent(notches), message, wParam, lParam);
    }
    default: {  // WM_CAPTURECHANGED: buttons still down will never see their release
        bool handled = false;
        for (int button = 1; button <= 3; ++button) {
            if (pressed[button]) {
                pressed[button] = false;
                handled = HandlePointerUpEvent(button) || handled;
            }
        }
        return ResultOf(handled, message, wParam, lParam);
    }
    }
}

LRESULT Window::OnPaint(UINT message, WPARAM wParam, LPARAM lParam)
{
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    bool handled;
    {
        GraphicsContext context(hwnd, ::GetDC(hwnd));
        handled = HandlePaintEvent(context, paint.rcPaint);
    }
    EndPaint(hwnd, &paint);
    return ResultOf(handled, message, wParam, lParam);
}

LRESULT Window::OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) != hwnd)
        return Default(message, wParam, lParam);
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    if (cursor.x < 0 || cursor.y < 0 || cursor.x >= GetClientWidth() || cursor.y >= GetClientHeight())
        return Default(message, wParam, lParam);
    return ResultOf(HandleSetCursorEvent(), message, wParam, lParam);
}

LRESULT Window::OnDrawItem(UINT message, WPARAM wParam, LPARAM lParam)
{
    Control* control = GetControl(static_cast<int>(wParam), true);
    if (!control)
        return Default(message, wParam, lParam);
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    bool handled;
    {
        GraphicsContext context(nullptr, item->hDC);
        handled = control->DrawItem(context, item->rcItem, (item->itemState & ODS_SELECTED) != 0,
                                    (item->itemState & ODS_FOCUS) != 0, item->itemID);
    }
    return handled ? TRUE : Default(message, wParam, lParam);
}

LRESULT Window::OnNotify(UINT message, WPARAM wParam, LPARAM lParam)
{
    NMHDR* info = reinterpret_cast<NMHDR*>(lParam);
    if (IsListView(info->hwndFrom)) {
        if (static_cast<int>(info->code) != static_cast<int>(LVN_ITEMCHANGED))
            return Default(message, wParam, lParam);
        return ResultOf(HandleSelectionEvent(GetDlgCtrlID(info->hwndFrom)), message, wParam, lParam);
    }
    return ResultOf(HandleNotifyEvent(info->hwndFrom, info), message, wParam, lParam);
}

LRESULT Window::OnDropFiles(UINT message, WPARAM wParam, LPARAM lParam)
{
    DropFilesHandle drop(reinterpret_cast<HDROP>(wParam));
    std::vector<filesystem_entity_id> files;
    const UINT count = DragQueryFileW(drop.Get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[261] = {};
        DragQueryFileW(drop.Get(), i, path, 261);
        files.emplace_back(path);
    }
    return ResultOf(HandleDropFilesEvent(files), message, wParam, lParam);
}

}  // namespace tevrin
