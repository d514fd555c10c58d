#include "tevrin/ui/slider.h"

#include <commctrl.h>

namespace tevrin {
namespace {

// The system's own trackbar procedure, recorded from the first slider subclassed.
WNDPROC sliderClassProcedure = nullptr;

LRESULT CALLBACK SliderTabKeyProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Slider* slider = dynamic_cast<Slider*>(Control::FromHandle(hwnd));
    if (slider && Control::MoveFocusOnTab(slider, message, wParam))
        return 0;
    return CallWindowProcW(sliderClassProcedure, hwnd, message, wParam, lParam);
}

void SetUpRange(HWND trackbar)
{
    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageW(trackbar, TBM_SETPAGESIZE, 0, 10);
    SendMessageW(trackbar, TBM_SETSEL, FALSE, MAKELPARAM(0, 100));
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 50);
    SendMessageW(trackbar, TBM_SETTHUMBLENGTH, 20, 0);
}

}  // namespace

void Slider::Create(int id, int width, int height, Window* parent)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_FIXEDLENGTH | TBS_NOTICKS | TBS_HORZ;
    if (AdoptOrCreate(id, width, height, parent, TRACKBAR_CLASSW, style, L""))
        SetUpRange(handle);
    if (!handle)
        return;
    const WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SliderTabKeyProcedure)));
    if (!sliderClassProcedure && previous != &SliderTabKeyProcedure)
        sliderClassProcedure = previous;
}

void Slider::SetValue(float value)
{
    const int position = static_cast<int>(value * 100.0f + 0.5f);
    SendMessageW(handle, TBM_SETPOS, TRUE, position);
}

float Slider::GetValue() const
{
    return static_cast<float>(SendMessageW(handle, TBM_GETPOS, 0, 0)) / 100.0f;
}

}  // namespace tevrin
