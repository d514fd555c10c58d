#include "tevrin/ui/slider.h"

#include "tevrin/ui/tab_key_subclass.h"

#include <commctrl.h>

namespace tevrin {
namespace {

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
    TabKeySubclass<Slider>::Install(handle);
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
