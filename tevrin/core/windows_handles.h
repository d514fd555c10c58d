#pragma once
// Owned Windows handles: the traits of every handle kind the program holds, for
// tevrin::unique_handle.
#include "tevrin/core/unique_handle.h"

#include <windows.h>

namespace tevrin {

template <typename Handle>
struct null_handle_traits {
    using handle_type = Handle;
    static constexpr Handle invalid() noexcept { return nullptr; }
};

// GDI objects: fonts and bitmaps.
template <typename Object>
struct gdi_object_traits : null_handle_traits<Object> {
    static void close(Object object) noexcept { DeleteObject(object); }
};

// A device context made with CreateCompatibleDC or CreateDCW.
struct created_dc_traits : null_handle_traits<HDC> {
    static void close(HDC dc) noexcept { DeleteDC(dc); }
};

// A device context obtained with GetDC: released to the window it came from.
struct window_dc_traits : null_handle_traits<HDC> {
    HWND window = nullptr;
    void close(HDC dc) const noexcept { ReleaseDC(window, dc); }
};

struct menu_traits : null_handle_traits<HMENU> {
    static void close(HMENU menu) noexcept { DestroyMenu(menu); }
};

struct registry_key_traits : null_handle_traits<HKEY> {
    static void close(HKEY key) noexcept { RegCloseKey(key); }
};

using unique_bitmap = unique_handle<gdi_object_traits<HBITMAP>>;
using unique_font = unique_handle<gdi_object_traits<HFONT>>;
using unique_created_dc = unique_handle<created_dc_traits>;
using unique_window_dc = unique_handle<window_dc_traits>;
using unique_menu = unique_handle<menu_traits>;
using unique_registry_key = unique_handle<registry_key_traits>;

// The device context of window (null: the screen), released to it when the owner goes.
inline unique_window_dc acquire_window_dc(HWND window)
{
    window_dc_traits traits;
    traits.window = window;
    return unique_window_dc(::GetDC(window), traits);
}

}  // namespace tevrin
