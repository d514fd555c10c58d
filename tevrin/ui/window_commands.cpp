// How commands travel between windows, edit forwarding, the Tab-key focus walk,
// accelerators, the activation trace and popup menus.
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/text.h"
#include "tevrin/core/windows_handles.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/edit_command_ids.h"
#include "tevrin/ui/handle_queries.h"
#include "tevrin/ui/window.h"

#include <cwchar>

namespace tevrin {
namespace {


bool IsSelectionControl(HWND handle)
{
    return ClassIs(handle, L"SysListView32") || ClassIs(handle, L"COMBOBOX");
}

bool CanTakeTabFocus(HWND candidate)
{
    if (ClassIs(candidate, L"EDIT") || ClassIs(candidate, L"BUTTON") || ClassIs(candidate, L"COMBOBOX") ||
        ClassIs(candidate, L"msctls_trackbar32"))
        return true;
    if ((GetWindowLongPtrW(candidate, GWL_STYLE) & WS_TABSTOP) == 0)
        return false;
    debug_trace("tevrin::Window::ChangeControlFocus: found a window that can be focused: HWND: %p\n",
                static_cast<void*>(candidate));
    return true;
}

HWND NextSibling(HWND from, bool backwards)
{
    HWND next = GetWindow(from, backwards ? GW_HWNDPREV : GW_HWNDNEXT);
    if (!next)
        next = GetWindow(from, backwards ? GW_HWNDLAST : GW_HWNDFIRST);
    return next;
}

void GiveTabFocus(HWND target)
{
    char text[100] = {};
    GetWindowTextA(target, text, 100);
    debug_trace("Attempting to set focus on control %s\n", text);
    ::SetFocus(target);
    if (ClassIs(target, L"EDIT"))
        SendMessageW(target, EM_SETSEL, 0, -1);
    InvalidateRect(target, nullptr, FALSE);
}

}  // namespace

LRESULT Window::OnCommand(const WindowMessage& m)
{
    const int code = HIWORD(m.wParam);
    const int id = LOWORD(m.wParam);
    if (code >= 2 || id == 0)
        return Default(m);

    Control* control = GetControl(id, false);
    if (control && code == 1 && IsSelectionControl(control->GetHandle())) {
        if (control->HandleSelectionChange())
            return 0;
        return ResultOf(HandleSelectionEvent(id), m);
    }
    if (ForwardEditCommand(id))
        return 0;

    debug_trace("Command %d sent to %s\n", id, GetDescription().c_str());
    for (Window* target = FirstCommandTarget(id);;) {
        if (target->HandleCommand(id))
            return 0;
        Window* next = FindWindowObject(GetParent(target->hwnd));
        if (!next)
            return Default(m);
        debug_trace("  Child window didn't handle command %d, trying its parent/owner %s\n", id,
                    next->GetDescription().c_str());
        target = next;
    }
}

bool Window::ForwardEditCommand(int id)
{
    const EditCommandIds& ids = ProcessEditCommandIds();
    if (ids.cut <= 0)
        return false;
    HWND focus = GetFocus();
    if (!focus || !ClassIs(focus, L"EDIT") || !::IsChild(hwnd, focus))
        return false;
    UINT editMessage = 0;
    if (id == ids.cut)
        editMessage = WM_CUT;
    else if (id == ids.copy)
        editMessage = WM_COPY;
    else if (id == ids.paste)
        editMessage = WM_PASTE;
    else if (id == ids.undo)
        editMessage = WM_UNDO;
    if (editMessage == 0)
        return false;
    SendMessageW(focus, editMessage, 0, 0);
    return true;
}

Window* Window::FirstCommandTarget(int id)
{
    if (!IsTopLevel())
        return this;
    Window* focused = FindWindowObject(GetFocus());
    if (!focused)
        return this;
    debug_trace("  Command %d was originally sent to top-level window, redirecting to start with focused window %s\n",
                id, focused->GetDescription().c_str());
    return focused;
}

bool Window::ChangeControlFocus(Control* from, bool backwards)
{
    HWND start = from ? from->GetHandle() : GetFocus();
    if (!start)
        return false;
    HWND candidate = start;
    // Every sibling is looked at once at most, the start window last: a walk over
    // siblings of which none can take the focus gives up and leaves the focus alone.
    for (;;) {
        candidate = NextSibling(candidate, backwards);
        if (!candidate)
            return false;
        if (CanTakeTabFocus(candidate)) {
            GiveTabFocus(candidate);
            return true;
        }
        if (candidate == start)
            return false;
    }
}

bool Window::TranslateKeyboardAccelerator(Window* window, MSG* message)
{
    Window* current = window;
    while (current && !current->accelerators)
        current = current->GetParentWindow();
    if (!current)
        return false;
    if (!TranslateAcceleratorW(current->hwnd, current->accelerators, message))
        return false;
    debug_trace("tevrin::Window::TranslateKeyboardAccelerator: %s\n", current->GetDescription().c_str());
    return true;
}

bool Window::HandleActivateEvent(bool active)
{
    if (active && accelerators) {
        debug_trace("tevrin::Window::SetActiveMenuWindow: %s\n", GetDescription().c_str());
        debug_trace("Active menu window set to %s\n", GetTitle().c_str());
    }
    return true;
}

void Window::ShowPopupMenu(const std::vector<MenuItem>& items, const POINT& at)
{
    const unique_menu menu(CreatePopupMenu());
    for (const MenuItem& item : items) {
        if (item.commandId == 0)
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu.get(), MF_STRING, item.commandId, ToUtf16(item.label).c_str());
    }
    POINT screen = at;
    ClientToScreen(hwnd, &screen);
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd, nullptr);
}

}  // namespace tevrin
