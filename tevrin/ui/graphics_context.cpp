#include "tevrin/ui/graphics_context.h"

namespace tevrin {

GraphicsContext::GraphicsContext(HWND owner, HDC context)
    : window(owner), dc(context), savedBackgroundMode(SetBkMode(context, TRANSPARENT)),
      savedTextColor(GetTextColor(context))
{
    SetTextColor(dc, RGB(0, 0, 0));
}

GraphicsContext::~GraphicsContext()
{
    SetBkMode(dc, savedBackgroundMode);
    SetTextColor(dc, savedTextColor);
    if (window)
        ::ReleaseDC(window, dc);
}

void FillRectangle(HDC dc, const RECT& area, COLORREF colour)
{
    const COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, L"", 0, nullptr);
    SetBkColor(dc, previous);
}

}  // namespace tevrin
