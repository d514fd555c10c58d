// A window's operations on its child controls by control id, and the building of
// controls from dialog templates.
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/text.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/handle_queries.h"
#include "tevrin/ui/window.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace tevrin {
namespace {

HMENU IdAsMenu(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// A hidden, parentless instance of a dialog resource; destroyed with this object.
class TemplateDialog {
public:
    explicit TemplateDialog(u16 dialogId)
        : handle(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialogId), nullptr, nullptr, 0))
    {
    }
    ~TemplateDialog()
    {
        if (handle)
            DestroyWindow(handle);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    std::vector<HWND> Children() const
    {
        std::vector<HWND> children;
        if (!handle)
            return children;
        for (HWND child = GetWindow(handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        return children;
    }

private:
    HWND handle;
};


}  // namespace

void Window::SetComboItems(int id, const std::vector<std::wstring>& items)
{
    HWND combo = GetDlgItem(hwnd, id);
    for (size_t i = 0; i < items.size(); ++i) {
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
        SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
    }
}

void Window::SetComboItems(int id, const std::vector<std::string>& utf8Items)
{
    std::vector<std::wstring> items;
    for (const std::string& item : utf8Items)
        items.push_back(ToUtf16(item));
    SetComboItems(id, items);
}

void Window::SetComboItems(int id, const wchar_t* items, const wchar_t* values)
{
    HWND combo = GetDlgItem(hwnd, id);
    const std::vector<std::wstring> labels = SplitAtBar(items ? items : L"");
    const std::vector<std::wstring> data = values ? SplitAtBar(values) : std::vector<std::wstring>();
    for (size_t i = 0; i < labels.size(); ++i) {
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(labels[i].c_str()));
        if (i < data.size())
            SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index),
                         static_cast<LPARAM>(std::wcstol(data[i].c_str(), nullptr, 10)));
    }
}

Control* Window::GetControl(int id, bool complain)
{
    HWND child = GetDlgItem(hwnd, id);
    if (!child) {
        if (complain)
            debug_trace("No HWND found for control ID %d\n", id);
        return nullptr;
    }
    Control* control = Control::FromHandle(child);
    if (!control && complain) {
        debug_trace("HWND %p found for control ID %d, but can't obtain tevrin::Control from it\n",
                    static_cast<void*>(child), id);
        throw "can't obtain control from HWND";
    }
    return control;
}

void Window::CreateStaticText(int id, const wchar_t* text, int x, int y, int width, int height)
{
    CreateWindowExW(0, L"Static", text, WS_CHILD | WS_VISIBLE, x, y, width, height, hwnd, IdAsMenu(id),
                    GetModuleHandleW(nullptr), nullptr);
}

void Window::CreateStaticText(int id, const char* utf8Text, int x, int y, int width, int height)
{
    CreateStaticText(id, ToUtf16(utf8Text).c_str(), x, y, width, height);
}

void Window::CreateComboBox(int id, bool dropDownList, int x, int y, int width, int height)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
                        (dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    CreateWindowExW(0, L"ComboBox", L"", style, x, y, width, height, hwnd, IdAsMenu(id), GetModuleHandleW(nullptr),
                    nullptr);
}

void Window::SelectComboValue(int id, int value)
{
    HWND combo = GetDlgItem(hwnd, id);
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<int>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == value) {
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
}

int Window::GetComboValue(int id)
{
    HWND combo = GetDlgItem(hwnd, id);
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return -1;
    return static_cast<int>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
}

std::string Window::GetComboText(int id)
{
    return ToUtf8(GetComboTextW(id));
}

std::wstring Window::GetComboTextW(int id)
{
    HWND combo = GetDlgItem(hwnd, id);
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return std::wstring();
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == CB_ERR)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

void Window::SetCheck(int id, bool on)
{
    SendMessageW(GetDlgItem(hwnd, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Window::GetCheck(int id)
{
    return SendMessageW(GetDlgItem(hwnd, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::SetControlText(int id, const std::wstring& text)
{
    SetWindowTextW(GetDlgItem(hwnd, id), text.c_str());
}

std::wstring Window::GetControlText(int id)
{
    wchar_t text[500] = {};
    GetWindowTextW(GetDlgItem(hwnd, id), text, 500);
    return text;
}

void Window::CloneDialogControls(u16 dialogId)
{
    TemplateDialog dialog(dialogId);
    for (HWND child : dialog.Children()) {
        wchar_t className[100] = {};
        if (RealGetWindowClassW(child, className, 100) == 0)
            throw "error";
        wchar_t text[200] = {};
        GetWindowTextW(child, text, 200);
        const RECT place = RectangleInParent(child);
        CreateWindowExW(static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE)), className, text,
                        static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)), place.left, place.top,
                        place.right - place.left, place.bottom - place.top, hwnd, IdAsMenu(GetDlgCtrlID(child)),
                        GetModuleHandleW(nullptr), nullptr);
    }
}

void Window::AdoptDialogControls(u16 dialogId)
{
    TemplateDialog dialog(dialogId);
    std::vector<HWND> children = dialog.Children();
    std::reverse(children.begin(), children.end());
    for (HWND child : children) {
        const int id = GetDlgCtrlID(child);
        const RECT place = RectangleInParent(child);
        const int width = place.right - place.left;
        const int height = place.bottom - place.top;
        const std::wstring className = ClassNameOf(child);
        if (_wcsicmp(className.c_str(), L"COMBOBOX") == 0) {
            const bool dropDownList = (GetWindowLongPtrW(child, GWL_STYLE) & 3) == 3;
            CreateComboBox(id, dropDownList, place.left, place.top, width, height);
        } else if (_wcsicmp(className.c_str(), L"SysListView32") == 0) {
            CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT,
                            place.left, place.top, width, height, hwnd, IdAsMenu(id), GetModuleHandleW(nullptr),
                            nullptr);
        } else {
            SetParent(child, hwnd);
        }
    }
}

}  // namespace tevrin
