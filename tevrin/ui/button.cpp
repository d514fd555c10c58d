#include "tevrin/ui/button.h"

namespace tevrin {
namespace {

// The system's own button procedure, recorded from the first button subclassed.
WNDPROC buttonClassProcedure = nullptr;

LRESULT CALLBACK ButtonTabKeyProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Button* button = dynamic_cast<Button*>(Control::FromHandle(hwnd));
    if (button && Control::MoveFocusOnTab(button, message, wParam))
        return 0;
    return CallWindowProcW(buttonClassProcedure, hwnd, message, wParam, lParam);
}

}  // namespace

void Button::Create(int id, int width, int height, Window* parent)
{
    AdoptOrCreate(id, width, height, parent, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"");
    if (!handle)
        return;
    const WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonTabKeyProcedure)));
    if (!buttonClassProcedure && previous != &ButtonTabKeyProcedure)
        buttonClassProcedure = previous;
}

}  // namespace tevrin
