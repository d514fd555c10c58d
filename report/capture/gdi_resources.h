#pragma once
// GDI objects the capture window draws with, released or put back when their owner goes.
#include "tevrin/core/windows_handles.h"

#include <windows.h>

namespace nibscope_report {

// An object selected into a device context until the owner goes.
class gdi_selection {
public:
    gdi_selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~gdi_selection() { SelectObject(dc_, previous_); }
    gdi_selection(const gdi_selection&) = delete;
    gdi_selection& operator=(const gdi_selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A bitmap selected into a memory device context of its own.
struct memory_bitmap {
    memory_bitmap(HDC compatible, SIZE size)
        : dc(CreateCompatibleDC(compatible)), bitmap(CreateCompatibleBitmap(compatible, size.cx, size.cy)),
          selection(dc.get(), bitmap.get())
    {
    }
    tevrin::unique_created_dc dc;
    tevrin::unique_bitmap bitmap;
    gdi_selection selection;
};

using unique_pen = tevrin::unique_handle<tevrin::gdi_object_traits<HPEN>>;
using unique_brush = tevrin::unique_handle<tevrin::gdi_object_traits<HBRUSH>>;

}  // namespace nibscope_report
