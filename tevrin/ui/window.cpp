#include "tevrin/ui/window.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/text.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/edit_command_ids.h"
#include "tevrin/ui/font.h"
#include "tevrin/ui/handle_queries.h"
#include "tevrin/ui/window_list.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace tevrin {
namespace {

bool firstWindowPending = true;
Window* applicationWindow = nullptr;

BackgroundColor ButtonFaceColor()
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return BackgroundColor{GetRValue(face) / 255.0f, GetGValue(face) / 255.0f, GetBValue(face) / 255.0f};
}

u32 ChannelByte(f32 channel)
{
    return static_cast<u32>(channel * 255.0f + 0.5f) & 0xFFu;
}

COLORREF ToColorRef(const BackgroundColor& color)
{
    return ChannelByte(color.r) + 256u * ChannelByte(color.g) + 65536u * ChannelByte(color.b);
}

WindowStyles KindStyles(u32 kind, bool tabStop)
{
    const DWORD toolExtended = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW;
    switch (kind) {
    case Window::kindMainFrame: return {WS_OVERLAPPEDWINDOW, 0};
    case Window::kindChild: return {static_cast<DWORD>(WS_CHILD | (tabStop ? WS_TABSTOP : 0)), 0};
    case Window::kindToolWindow: return {WS_CAPTION | WS_SYSMENU, toolExtended};
    case Window::kindSizableToolWindow:
        return {WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, toolExtended};
    case Window::kindDialog: return {WS_CAPTION | WS_SYSMENU, 0};
    case Window::kindSizableDialog: return {WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0};
    case Window::kindPopup: return {WS_POPUP, 0};
    default: throw "window style undefined";
    }
}


HWND ParentOrOwner(HWND handle)
{
    HWND next = GetAncestor(handle, GA_PARENT);
    if (!next || next == GetDesktopWindow())
        next = GetWindow(handle, GW_OWNER);
    if (next == GetDesktopWindow())
        return nullptr;
    return next;
}

bool HasButtonChild(HWND parent)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassIs(child, L"BUTTON"))
            return true;
    return false;
}

[[noreturn]] void ThrowCreationFailure(const char* typeName)
{
    // Kept in a static buffer: the thrown message is a pointer that must outlive this frame.
    static char message[160];
    std::snprintf(message, sizeof message, "can't create window of type %s (error %lu)", typeName,
                  static_cast<unsigned long>(GetLastError()));
    throw static_cast<const char*>(message);
}

}  // namespace

EditCommandIds& ProcessEditCommandIds()
{
    static EditCommandIds ids;
    return ids;
}

Window::Window() : backgroundColor(ButtonFaceColor())
{
    lastPointerMove.x = 32000;
    lastPointerMove.y = 32000;
    WindowList().push_back(this);
}

Window::~Window()
{
    debug_trace("Window::dtor - \"%s\"\n", GetDescription().c_str());
    if (modal)
        ReenableAfterModal();
    if (hwnd) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        debug_trace("    Calling DestroyWindow on %s\n", GetDescription().c_str());
        DestroyWindow(hwnd);
        hwnd = nullptr;
    }
    std::vector<Window*>& windows = WindowList();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    if (applicationWindow == this)
        applicationWindow = nullptr;
}

Window* Window::GetApplicationWindow()
{
    return applicationWindow;
}

Window* Window::FromHandle(HWND handle)
{
    if (!handle)
        return nullptr;
    if (ClassNameOf(handle).compare(0, 6, L"tevrin") != 0)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

Window* Window::FindWindowObject(HWND handle)
{
    for (HWND current = handle; current; current = ParentOrOwner(current))
        if (Window* window = FromHandle(current))
            return window;
    return nullptr;
}

Window* Window::GetParentWindow() const
{
    if (!hwnd)
        return nullptr;
    return FromHandle(ParentOrOwner(hwnd));
}

std::wstring Window::ComposeClassName() const
{
    wchar_t name[96];
    std::swprintf(name, 96, L"tevrin_%d_%d_%d_%d", static_cast<int>(iconId), modal ? 1 : 0, ownDC ? 1 : 0,
                  static_cast<int>(ToColorRef(backgroundColor)));
    return name;
}

void Window::RegisterClassIfNeeded(const std::wstring& className)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className.c_str(), &existing))
        return;

    backgroundBrush = CreateSolidBrush(ToColorRef(backgroundColor));
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    description.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | (ownDC ? CS_OWNDC : 0);
    description.lpfnWndProc = &Window::WindowProcedure;
    description.hInstance = instance;
    description.hIcon = iconId ? LoadIconW(instance, MAKEINTRESOURCEW(iconId)) : nullptr;
    description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    description.hbrBackground = backgroundBrush;
    description.lpszClassName = className.c_str();
    if (!RegisterClassExW(&description))
        throw "can't register window class";
}

void Window::Create(int width, int height, Window* parent, int x, int y)
{
    if (firstWindowPending)
        applicationWindow = this;
    const WindowStyles styles = ComposeStyles();
    const std::wstring className = ComposeClassName();
    RegisterClassIfNeeded(className);
    HMENU menu = LoadMenuIfAny();
    HWND parentHandle = parent ? parent->hwnd : nullptr;
    if (!parent && styleKind == kindChild)
        parentHandle = HWND_MESSAGE;

    const bool wasFirstWindow = firstWindowPending;
    firstWindowPending = false;
    FillEditCommandIdsOnce();

    HWND created = CreateWindowExW(styles.extended, className.c_str(), L"", styles.style, x, y, width, height,
                                   parentHandle, menu, GetModuleHandleW(nullptr), this);
    if (!created)
        ThrowCreationFailure(GetTypeName());
    PairWithHandle(created);
    HandleCreateEvent();
    FinishCreation(wasFirstWindow);
}

WindowStyles Window::ComposeStyles() const
{
    WindowStyles styles = KindStyles(styleKind, tabStop);
    styles.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (verticalScrollBar ? WS_VSCROLL : 0) |
                    (horizontalScrollBar ? WS_HSCROLL : 0);
    styles.extended |= composited ? WS_EX_COMPOSITED : 0;
    return styles;
}

HMENU Window::LoadMenuIfAny() const
{
    if (menuId == 0)
        return nullptr;
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (!menu)
        throw "can't load menu resource";
    return menu;
}

void Window::FillEditCommandIdsOnce()
{
    EditCommandIds& ids = ProcessEditCommandIds();
    if (ids.cut == 0 && ids.copy == 0 && ids.paste == 0 && ids.undo == 0)
        GetEditCommandIds(ids.cut, ids.copy, ids.paste, ids.undo);
}

void Window::FinishCreation(bool wasFirstWindow)
{
    // Dialog-like windows start with focus rectangles hidden until a key is pressed;
    // buttons reached with Tab must show theirs at once.
    if (HasButtonChild(hwnd))
        PostMessageW(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (styleKind == kindMainFrame && !wasFirstWindow && applicationWindow)
        SetParent(hwnd, applicationWindow->hwnd);
    if (acceptsFiles)
        DragAcceptFiles(hwnd, TRUE);
    debug_trace("tevrin::Window::Create: window (HWND %p) created\n", static_cast<void*>(hwnd));
}

void Window::PairWithHandle(HWND handle)
{
    hwnd = handle;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Window::CreateModal(int width, int height, Window* owner, const WindowCallback& onEnd)
{
    modal = true;
    modalOwner = owner;
    for (Window* other : WindowList())
        if (other != this && other->IsTopLevel())
            other->Enable(false);
    onModalEnd = onEnd;
    Create(width, height, owner, 0, 0);
    if (owner) {
        RECT ownerRectangle;
        owner->GetRectangle(ownerRectangle);
        SetPosition((ownerRectangle.left + ownerRectangle.right) / 2 - width / 2,
                    (ownerRectangle.top + ownerRectangle.bottom) / 2 - height / 2, false);
    }
    Show(true);
}

void Window::EndModal()
{
    if (modal && onModalEnd)
        onModalEnd(this);
    delete this;
}

void Window::ReenableAfterModal()
{
    if (modalOwner && modalOwner->modal) {
        modalOwner->Enable(true);
    } else {
        for (Window* other : WindowList())
            if (other != this && other->IsTopLevel())
                other->Enable(true);
    }
    if (modalOwner)
        modalOwner->BringToFront(true);
}

bool Window::IsApplicationWindowChild() const
{
    const std::vector<Window*>& windows = WindowList();
    return !windows.empty() && GetParentWindow() == windows.front();
}

bool Window::IsValid(std::string& reason)
{
    const std::vector<Window*>& windows = WindowList();
    if (std::find(windows.begin(), windows.end(), this) == windows.end()) {
        reason = "tevrin::Window not in global window list";
        return false;
    }
    if (windows.front() != this && styleKind == kindMainFrame && !IsApplicationWindowChild()) {
        reason = "tevrin::Window is top-level child but does not have app window as owner";
        return false;
    }
    if (!hwnd) {
        debug_trace("tevrin::Window::IsValid: warning: tevrin::Window has no HWND (has not been created yet?)\n");
        return true;
    }
    if (reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) != this) {
        reason = "tevrin::Window has HWND, but HWND does not refer to window";
        return false;
    }
    return true;
}

void Window::GetEditCommandIds(int& cut, int& /*copy*/, int& /*paste*/, int& /*undo*/)
{
    cut = -1;
}

void Window::HandleDescendantFocusGained()
{
    if (Window* parent = GetParentWindow())
        parent->HandleDescendantFocusGained();
}

void* Window::RelayToParentA(u64 argument)
{
    Window* parent = GetParentWindow();
    return parent ? parent->RelayToParentA(argument) : nullptr;
}

void* Window::RelayToParentB(u64 argument)
{
    Window* parent = GetParentWindow();
    return parent ? parent->RelayToParentB(argument) : nullptr;
}

void* Window::RelayToParentC(u64 argument)
{
    Window* parent = GetParentWindow();
    return parent ? parent->RelayToParentC(argument) : nullptr;
}

void* Window::RelayToParentD(u64 first, u64 second)
{
    Window* parent = GetParentWindow();
    return parent ? parent->RelayToParentD(first, second) : nullptr;
}

void Window::Clear()
{
    while (HWND child = GetWindow(hwnd, GW_CHILD)) {
        const LONG_PTR paired = GetWindowLongPtrW(child, GWLP_USERDATA);
        if (Window* window = FromHandle(child))
            delete window;
        else if (paired)
            delete reinterpret_cast<Control*>(paired);
        // An adopted control leaves its handle alive when its object goes; without
        // this the loop would meet the same first child forever.
        if (IsWindow(child) && GetWindow(hwnd, GW_CHILD) == child)
            DestroyWindow(child);
    }
}

void Window::SetChildrenFont(const Font& font)
{
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetHandle()), TRUE);
}

void Window::SetFocus()
{
    if (hwnd)
        ::SetFocus(hwnd);
}

bool Window::HasFocus() const
{
    return hwnd && GetFocus() == hwnd;
}

void Window::Enable(bool enabled)
{
    EnableWindow(hwnd, enabled ? TRUE : FALSE);
}

bool Window::IsTopLevel() const
{
    return hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) == 0;
}

Window* Window::GetTopLevelWindow()
{
    Window* outermost = this;
    for (HWND ancestor = GetAncestor(hwnd, GA_PARENT); ancestor && ancestor != GetDesktopWindow();
         ancestor = GetAncestor(ancestor, GA_PARENT)) {
        outermost = FromHandle(ancestor);
        if (!outermost)
            return nullptr;
    }
    return outermost;
}

void Window::Show(bool visible)
{
    ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
    if (visible && firstShowPending) {
        firstShowPending = false;
        HandleFirstShowEvent();
    }
}

bool Window::IsVisible(bool styleOnly) const
{
    if (styleOnly)
        return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    return IsWindowVisible(hwnd) != FALSE;
}

std::string Window::GetTitle() const
{
    wchar_t title[200] = {};
    GetWindowTextW(hwnd, title, 200);
    return ToUtf8(title);
}

std::string Window::GetDescription() const
{
    std::string description;
    format_to_string(description, "%p (HWND %p)", static_cast<const void*>(this), static_cast<void*>(hwnd));
    if (!hwnd)
        return description;
    const std::string title = GetTitle();
    if (!title.empty())
        description += " \"" + title + "\"";
    const std::string className = ToUtf8(ClassNameOf(hwnd));
    if (!className.empty())
        description += " \"" + className + "\"";
    return description;
}

void Window::SetTitle(const std::wstring& title)
{
    SetTitle(title.c_str());
}

void Window::SetTitle(const wchar_t* title)
{
    SetWindowTextW(hwnd, title);
    debug_trace_w(L"Title of window %p (HWND %p) changed to '%ls'\n", static_cast<void*>(this),
                  static_cast<void*>(hwnd), title);
    debug_trace("tevrin::Window::SetTitle: %s\n", GetDescription().c_str());
}

void Window::SetTitle(const std::string& utf8Title)
{
    SetTitle(ToUtf16(utf8Title));
}

void Window::SetTitle(const char* utf8Title)
{
    SetTitle(ToUtf16(utf8Title));
}

void Window::Invalidate()
{
    InvalidateRect(hwnd, nullptr, TRUE);
}

void Window::Update()
{
    Invalidate();
    UpdateWindow(hwnd);
}

bool Window::GetChildWindows(std::vector<Window*>& out) const
{
    out.clear();
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (Window* window = FromHandle(child))
            out.push_back(window);
    return !out.empty();
}

bool Window::SendCommandToParent(int id)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return false;
    if (Window* window = FromHandle(parent))
        return window->SendCommandToParent(id);
    SendMessageW(parent, WM_COMMAND, static_cast<WPARAM>(LOWORD(id)), 0);
    return true;
}

bool Window::HandleGetFocusEvent(int /*from*/)
{
    if (!quietFocus)
        HandleDescendantFocusGained();
    return false;
}

}  // namespace tevrin
