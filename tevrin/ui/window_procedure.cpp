// The one window procedure of all framework window classes: turns each message into
// a call of the paired object's event handlers.
#include "tevrin/core/callback_exception.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/drop_files_handle.h"
#include "tevrin/ui/handle_queries.h"
#include "tevrin/ui/window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#ifndef WM_GETDPISCALEDSIZE  // Windows 10 version 1703 on; the headers name it only for that target
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

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


}  // namespace

LRESULT CALLBACK Window::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // After a failure only the window's teardown is still handled, so the object goes with it.
    if (!window || (callback_failure_kept() && message != WM_DESTROY))
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const auto handle = [&] {
        window->PointerTracker::Update(hwnd, message, lParam);
        // The handle travels with the message: a handler may delete the object, after
        // which the default processing still needs it.
        return window->Dispatch(WindowMessage{hwnd, message, wParam, lParam});
    };
    // The caller may be a system function: nothing may unwind through it.
    return message == WM_DESTROY ? guard_teardown_callback(LRESULT(0), handle) : guard_callback(LRESULT(0), handle);
}

LRESULT Window::Default(const WindowMessage& m)
{
    return DefWindowProcW(m.handle, m.message, m.wParam, m.lParam);
}

LRESULT Window::ResultOf(bool handled, const WindowMessage& m)
{
    return handled ? 0 : Default(m);
}

LRESULT Window::Dispatch(const WindowMessage& m)
{
    switch (m.message) {
    case WM_DESTROY:
        HandleDestroyEvent();
        hwnd = nullptr;
        // The messages after WM_DESTROY (WM_NCDESTROY at least) must not find the
        // deleted object.
        SetWindowLongPtrW(m.handle, GWLP_USERDATA, 0);
        delete this;
        return Default(m);
    case WM_CLOSE:
        if (onClose)
            onClose(this);
        return ResultOf(HandleCloseEvent(), m);
    case WM_ERASEBKGND:
        return noEraseBackground ? 1 : Default(m);
    case WM_PAINT: return OnPaint(m);
    case WM_SETCURSOR: return OnSetCursor(m);
    case WM_DRAWITEM: return OnDrawItem(m);
    case WM_NOTIFY: return OnNotify(m);
    case WM_COMMAND: return OnCommand(m);
    case WM_DROPFILES: return OnDropFiles(m);
    case WM_CONTEXTMENU: {
        POINT at{static_cast<i16>(LOWORD(m.lParam)), static_cast<i16>(HIWORD(m.lParam))};
        const bool fromPointer = !(at.x == -1 && at.y == -1);
        return ResultOf(HandleContextMenuEvent(at, fromPointer), m);
    }
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return DispatchFocusMessage(m);
    case WM_SIZE:
    case WM_SIZING:
    case WM_GETMINMAXINFO:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE: return DispatchSizeMessage(m);
    case WM_KEYDOWN:
    case WM_CHAR: return DispatchKeyMessage(m);
    case WM_HSCROLL:
    case WM_VSCROLL: return DispatchControlMessage(m);
    case WM_DPICHANGED:
        return ResultOf(HandleDpiChangeEvent(LOWORD(m.wParam), *reinterpret_cast<const RECT*>(m.lParam)), m);
    case WM_GETDPISCALEDSIZE:
        return HandleDpiScaledSizeEvent(static_cast<int>(m.wParam), *reinterpret_cast<SIZE*>(m.lParam)) ? TRUE
                                                                                                          : Default(m);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_CAPTURECHANGED: return DispatchPointerMessage(m);
    default: return Default(m);
    }
}

LRESULT Window::DispatchFocusMessage(const WindowMessage& m)
{
    switch (m.message) {
    case WM_ACTIVATE: return ResultOf(HandleActivateEvent(m.wParam != 0), m);
    case WM_ACTIVATEAPP: return ResultOf(HandleAppActivateEvent(m.wParam == 1), m);
    case WM_SETFOCUS: {
        HWND previousFocus = reinterpret_cast<HWND>(m.wParam);
        int from = 0;
        if (previousFocus && previousFocus == GetWindow(hwnd, GW_HWNDPREV))
            from = 1;
        else if (previousFocus && previousFocus == GetWindow(hwnd, GW_HWNDNEXT))
            from = -1;
        return ResultOf(HandleGetFocusEvent(from), m);
    }
    default: {
        const bool handled = HandleLoseFocusEvent();
        for (HWND ancestor = GetParent(m.handle); ancestor && ancestor != GetDesktopWindow();
             ancestor = GetParent(ancestor))
            if (Window* window = FromHandle(ancestor))
                window->HandleDescendantFocusLost();
        return ResultOf(handled, m);
    }
    }
}

LRESULT Window::DispatchSizeMessage(const WindowMessage& m)
{
    switch (m.message) {
    case WM_SIZE:
        if (m.wParam == SIZE_MINIMIZED)
            return Default(m);
        return ResultOf(HandleSizeEvent(LOWORD(m.lParam), HIWORD(m.lParam)), m);
    case WM_SIZING:
        HandleSizingEvent();
        return Default(m);
    case WM_GETMINMAXINFO: {
        int minWidth, minHeight, maxWidth, maxHeight;
        GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
        MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(m.lParam);
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
        return Default(m);
    default:  // WM_EXITSIZEMOVE
        HandleEndSizeMoveEvent();
        if (GetWidth() == sizeAtMoveStart[0] && GetHeight() == sizeAtMoveStart[1])
            return Default(m);
        return ResultOf(HandleSizeEvent(GetClientWidth(), GetClientHeight()), m);
    }
}

LRESULT Window::DispatchKeyMessage(const WindowMessage& m)
{
    const u16 key = m.message == WM_CHAR ? static_cast<u16>(m.wParam) : KeyCodeOf(m.wParam);
    const int repeatCount = LOWORD(m.lParam);
    const bool unmappedKey = m.message == WM_KEYDOWN && key == 0;
    if (unmappedKey || repeatCount == 0)
        return Default(m);
    bool handled = false;
    for (int i = 0; i < repeatCount; ++i)
        handled = HandleKeyEvent(key);
    return ResultOf(handled, m);
}

LRESULT Window::DispatchControlMessage(const WindowMessage& m)
{
    if (m.lParam == 0) {
        ScrollInfo info;
        return ResultOf(HandleScrollEvent(GetScrollInfo(info, m.message == WM_VSCROLL), LOWORD(m.wParam)), m);
    }
    Control* control = reinterpret_cast<Control*>(GetWindowLongPtrW(reinterpret_cast<HWND>(m.lParam), GWLP_USERDATA));
    if (!control)
        return Default(m);
    return ResultOf(HandleControlScrollEvent(control), m);
}

LRESULT Window::DispatchPointerMessage(const WindowMessage& m)
{
    switch (m.message) {
    case WM_MOUSEMOVE:
        if (current[0] == lastPointerMove)
            return Default(m);
        lastPointerMove = current[0];
        return ResultOf(HandlePointerMoveEvent(), m);
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: return ResultOf(HandlePointerDownEvent(ButtonOfMessage(m.message)), m);
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: return ResultOf(HandlePointerUpEvent(ButtonOfMessage(m.message)), m);
    case WM_LBUTTONDBLCLK: return ResultOf(HandleDoubleClickEvent(1), m);
    case WM_MOUSEWHEEL: {
        // A wheel turned during a drag would disturb the stroke; it is swallowed.
        if (pressed[1] || pressed[3])
            return 0;
        const int notches = static_cast<i16>(HIWORD(m.wParam)) / WHEEL_DELTA;
        if (notches == 0)
            return Default(m);
        return ResultOf(HandleWheelEvent(notches), m);
    }
    default: {  // WM_CAPTURECHANGED: buttons still down will never see their release
        bool handled = false;
        for (int button = 1; button <= 3; ++button) {
            if (pressed[button]) {
                pressed[button] = false;
                handled = HandlePointerUpEvent(button) || handled;
            }
        }
        return ResultOf(handled, m);
    }
    }
}

LRESULT Window::OnPaint(const WindowMessage& m)
{
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    bool handled;
    {
        GraphicsContext context(hwnd, ::GetDC(hwnd));
        handled = HandlePaintEvent(context, paint.rcPaint);
    }
    EndPaint(hwnd, &paint);
    return ResultOf(handled, m);
}

LRESULT Window::OnSetCursor(const WindowMessage& m)
{
    if (reinterpret_cast<HWND>(m.wParam) != hwnd)
        return Default(m);
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    if (cursor.x < 0 || cursor.y < 0 || cursor.x >= GetClientWidth() || cursor.y >= GetClientHeight())
        return Default(m);
    return ResultOf(HandleSetCursorEvent(), m);
}

LRESULT Window::OnDrawItem(const WindowMessage& m)
{
    Control* control = GetControl(static_cast<int>(m.wParam), true);
    if (!control)
        return Default(m);
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
    bool handled;
    {
        GraphicsContext context(nullptr, item->hDC);
        handled = control->DrawItem(context, item->rcItem, (item->itemState & ODS_SELECTED) != 0,
                                    (item->itemState & ODS_FOCUS) != 0, item->itemID);
    }
    return handled ? TRUE : Default(m);
}

LRESULT Window::OnNotify(const WindowMessage& m)
{
    NMHDR* info = reinterpret_cast<NMHDR*>(m.lParam);
    if (ClassIs(info->hwndFrom, L"SysListView32")) {
        if (static_cast<int>(info->code) != static_cast<int>(LVN_ITEMCHANGED))
            return Default(m);
        return ResultOf(HandleSelectionEvent(GetDlgCtrlID(info->hwndFrom)), m);
    }
    return ResultOf(HandleNotifyEvent(info->hwndFrom, info), m);
}

LRESULT Window::OnDropFiles(const WindowMessage& m)
{
    DropFilesHandle drop(reinterpret_cast<HDROP>(m.wParam));
    std::vector<filesystem_entity_id> files;
    const UINT count = DragQueryFileW(drop.Get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[261] = {};
        DragQueryFileW(drop.Get(), i, path, 261);
        files.emplace_back(path);
    }
    return ResultOf(HandleDropFilesEvent(files), m);
}

}  // namespace tevrin
