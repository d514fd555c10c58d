#pragma once
// tevrin::dib: a GDI DIB section selected into its own memory DC, so pixels can be
// written straight into memory and also drawn on with GDI.
#include "tevrin/core/delegate.h"
#include "tevrin/core/types.h"
#include "tevrin/core/windows_handles.h"

#include <windows.h>

#include <cstddef>

namespace tevrin {

class dib {
public:
    // Where the header block comes from; the owner sets both before creating.
    delegate<void*(size_t)> allocate;
    delegate<void(void*)> release;

    dib() = default;
    virtual ~dib();
    dib(const dib&) = delete;
    dib& operator=(const dib&) = delete;

    // A grey-scale (8-bit) or direct-colour section; a null dc means the screen.
    // Returns at once when a section of that width, height and depth exists.
    virtual void create_indexed(HDC dc, i32 width, i32 height, i32 bits, const u8* palette, const char* name,
                                bool topDown);
    virtual void create(HDC dc, i32 width, i32 height, i32 bits, const char* name, bool topDown);
    virtual void destroy();

    void fill_color(COLORREF color);

    HDC memory_dc() const { return memoryDc_.get(); }
    u8* bits() const { return bits_; }
    i32 row_bytes() const { return rowBytes_; }
    i32 width() const { return header_ ? header_->bmiHeader.biWidth : 0; }
    i32 height() const;
    const BITMAPINFO* header() const { return header_; }

private:
    bool Matches(i32 width, i32 height, i32 bits) const;
    void AllocateHeader(i32 width, i32 height, i32 bits, bool topDown);
    void MakeSection(HDC dc, bool indexed);
    void ReleaseHeader();

    BITMAPINFO* header_ = nullptr;
    i32 paletteSlots_ = 0;
    unique_created_dc memoryDc_;
    unique_bitmap bitmap_;
    HGDIOBJ previousObject_ = nullptr;
    u8* bits_ = nullptr;
    i32 rowBytes_ = 0;
};

}  // namespace tevrin
