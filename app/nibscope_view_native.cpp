#include "app/nibscope_view_native.h"

#include "app/brush_stamp.h"

namespace {

// There is one GDI surface; this is its record of the canvas size it last made.
struct CanvasSize {
    int width = 0;
    int height = 0;
} lastCanvasSize;

}  // namespace

NibscopeViewNative::~NibscopeViewNative()
{
    canvas_.destroy();
}

void NibscopeViewNative::HandleCreateEvent()
{
    NibscopeView::HandleCreateEvent();
    CreateCanvas(GetClientWidth(), GetClientHeight());
}

void NibscopeViewNative::CreateCanvas(int width, int height)
{
    lastCanvasSize = CanvasSize{width, height};
    canvas_.create(nullptr, width, height, 8, "dib_native", true);
    Clear();
}

bool NibscopeViewNative::HandleSizeEvent(int clientWidth, int clientHeight)
{
    if (clientWidth != lastCanvasSize.width || clientHeight != lastCanvasSize.height)
        CreateCanvas(clientWidth, clientHeight);
    return true;
}

void NibscopeViewNative::Clear()
{
    canvas_.fill_color(background);
    Invalidate();
}

bool NibscopeViewNative::HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty)
{
    const HDC dc = gc.DeviceContext();
    BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, canvas_.memory_dc(),
           dirty.left, dirty.top, SRCCOPY);
    if (HasFocus())
        BitBlt(dc, 10, 10, GetClientWidth() - 20, 2, nullptr, 0, 0, BLACKNESS);
    return true;
}

void NibscopeViewNative::Stamp(tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter, tevrin::f32 mappedPressure)
{
    if (!canvas_.bits())
        return;
    // GDI may still be drawing into the section; pixels are written directly.
    GdiFlush();
    const GreyCanvas canvas{canvas_.bits(), canvas_.width(), canvas_.height(), canvas_.row_bytes()};
    StampRoundBrush(canvas, x, y, diameter, mappedPressure);
    MarkChanged(StampChangedSquare(x, y, diameter), canvas_.width(), canvas_.height());
}

void NibscopeViewNative::ShowChangedArea(const StampSquare& area)
{
    // The paint copies the invalidated area from the canvas, so it needs no erasing.
    const RECT invalid = {area.left, area.top, area.right + 1, area.bottom + 1};
    InvalidateRect(hwnd, &invalid, FALSE);
}
