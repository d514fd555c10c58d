#include "tevrin/ui/control.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/text.h"
#include "tevrin/ui/handle_queries.h"
#include "tevrin/ui/window.h"

#include <cwchar>
#include <vector>

namespace tevrin {

Control::~Control()
{
    debug_trace_w(L"Deleting control %ls\n", GetDescription().c_str());
    if (!handle)
        return;
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    if (ownsHandle) {
        debug_trace_w(L"\tDestroying associated HWND %p\n", static_cast<void*>(handle));
        DestroyWindow(handle);
    }
}

Control* Control::FromHandle(HWND handle)
{
    return handle ? reinterpret_cast<Control*>(GetWindowLongPtrW(handle, GWLP_USERDATA)) : nullptr;
}

bool Control::AdoptOrCreate(int id, int width, int height, Window* parent, const wchar_t* className, DWORD style,
                            const wchar_t* text)
{
    owner = parent;
    HWND parentHandle = parent ? parent->GetHandle() : nullptr;
    if (HWND existing = parentHandle ? GetDlgItem(parentHandle, id) : nullptr) {
        handle = existing;
        ownsHandle = false;
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    if (HasHandle())
        return false;
    handle = CreateWindowExW(0, className, text ? text : L"", style, 0, 0, width, height, parentHandle,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    ownsHandle = true;
    if (handle)
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return handle != nullptr;
}

bool Control::MoveFocusOnTab(Control* control, UINT message, WPARAM wParam)
{
    if (message != WM_CHAR || wParam != 9)
        return false;
    const bool shiftDown = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    debug_trace("%sTab key pressed\n", shiftDown ? "Shift-" : "");
    Window* parent = Window::FromHandle(GetParent(control->handle));
    return parent && parent->ChangeControlFocus(control, shiftDown);
}

std::wstring Control::GetDescription() const
{
    wchar_t description[300];
    std::swprintf(description, 300, L"%p (HWND %p)", static_cast<const void*>(this), static_cast<void*>(handle));
    std::wstring result = description;
    if (handle) {
        result += L" \"";
        result += ClassNameOf(handle);
        result += L"\"";
    }
    return result;
}

void Control::SetFont(HFONT font)
{
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Control::SetText(const char* utf8Text)
{
    SetText(ToUtf16(utf8Text).c_str());
}

void Control::SetText(const wchar_t* text)
{
    SetWindowTextW(handle, text);
}

void Control::GetText(std::wstring& out) const
{
    const int length = GetWindowTextLengthW(handle);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(handle, buffer.data(), length + 1);
    out = buffer.data();
}

void Control::GetText(std::string& out) const
{
    std::wstring text;
    GetText(text);
    out = ToUtf8(text);
}

void Control::GetTrimmedText(std::string& out) const
{
    std::wstring text;
    GetTrimmedText(text);
    out = ToUtf8(text);
}

void Control::GetTrimmedText(std::wstring& out) const
{
    std::wstring text;
    GetText(text);
    out = Trim(text);
}

void Control::SetFocus()
{
    ::SetFocus(handle);
}

void Control::SetSize(int width, int height)
{
    SetWindowPos(handle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetPosition(int x, int y)
{
    SetWindowPos(handle, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::MoveBy(int dx, int dy)
{
    SetPosition(GetLeft() + dx, GetTop() + dy);
}

bool Control::DrawItem(GraphicsContext& /*gc*/, const RECT& /*item*/, bool /*selected*/, bool /*focused*/,
                       u32 /*itemId*/)
{
    return false;
}

RECT Control::RectangleInParent() const
{
    return tevrin::RectangleInParent(handle);
}

int Control::GetLeft() const
{
    return RectangleInParent().left;
}

int Control::GetRight() const
{
    return RectangleInParent().right;
}

int Control::GetTop() const
{
    return RectangleInParent().top;
}

int Control::GetBottom() const
{
    return RectangleInParent().bottom;
}

int Control::GetWidth() const
{
    const RECT rectangle = RectangleInParent();
    return rectangle.right - rectangle.left;
}

int Control::GetHeight() const
{
    const RECT rectangle = RectangleInParent();
    return rectangle.bottom - rectangle.top;
}

bool Control::IsVisible() const
{
    return handle && IsWindowVisible(handle) == 1;
}

void Control::Redraw(bool now)
{
    InvalidateRect(handle, nullptr, TRUE);
    if (now)
        UpdateWindow(handle);
}

void Control::Show(bool visible)
{
    if (handle)
        ShowWindow(handle, visible ? SW_SHOW : SW_HIDE);
}

}  // namespace tevrin
