#pragma once
// The device context a paint handler draws into. Sets a transparent background and
// black text for the handler and puts the previous state back afterwards.
#include <windows.h>

namespace tevrin {

class GraphicsContext {
public:
    // window null: the context is lent (an owner-draw item's) and is not released.
    GraphicsContext(HWND window, HDC dc);
    virtual ~GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    HDC DeviceContext() const { return dc; }
    HWND OwnerWindow() const { return window; }

private:
    HWND window;
    HDC dc;
    int savedBackgroundMode;
    COLORREF savedTextColor;
};

// Fills area with colour as an empty opaque text run, then restores the context's
// background colour.
void FillRectangle(HDC dc, const RECT& area, COLORREF colour);

}  // namespace tevrin
