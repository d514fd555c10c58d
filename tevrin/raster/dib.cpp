#include "tevrin/raster/dib.h"

#include "tevrin/core/exception.h"

#include <cstdlib>
#include <cstring>

namespace tevrin {
namespace {

constexpr size_t indexedHeaderBytes = 1072;  // header and 256 colour entries, with room to spare
constexpr size_t directHeaderBytes = 56;     // header and two colour entries

bool IsDirectDepth(i32 bits)
{
    return bits == 1 || bits == 8 || bits == 16 || bits == 24;
}

}  // namespace

dib::~dib()
{
    if (header_)
        destroy();
}

i32 dib::height() const
{
    return header_ ? std::abs(header_->bmiHeader.biHeight) : 0;
}

bool dib::Matches(i32 width, i32 height, i32 bits) const
{
    return header_ && header_->bmiHeader.biWidth == width && std::abs(header_->bmiHeader.biHeight) == height &&
           header_->bmiHeader.biBitCount == bits;
}

void dib::create(HDC dc, i32 width, i32 height, i32 bits, const char* /*name*/, bool topDown)
{
    if (Matches(width, height, bits))
        return;
    if (header_)
        destroy();
    if (!IsDirectDepth(bits))
        throw general_error("limitcheck: only 1-bit, 8-bit, 16-bit or 24-bit DIBSections can be created.");
    AllocateHeader(width, height, bits, topDown);
    RGBQUAD* colours = header_->bmiColors;
    if (bits == 8) {
        for (int i = 0; i < 256; ++i)
            colours[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    } else {
        colours[0] = RGBQUAD{0, 0, 0, 0};
        colours[1] = RGBQUAD{255, 255, 255, 0};
    }
    MakeSection(dc, false);
}

void dib::create_indexed(HDC dc, i32 width, i32 height, i32 bits, const u8* palette, const char* /*name*/,
                         bool topDown)
{
    if (Matches(width, height, bits))
        return;
    if (header_)
        destroy();
    if (bits != 1 && bits != 8)
        throw general_error("limitcheck: only 1-bit, 8-bit DIBSections can be created as indexed-color.");
    AllocateHeader(width, height, bits, topDown);
    // The caller's entries are red, green, blue, unused; GDI wants blue first.
    for (i32 i = 0; i < paletteSlots_ - 1; ++i) {
        const u8* entry = palette + 4 * i;
        header_->bmiColors[i] = RGBQUAD{entry[2], entry[1], entry[0], 0};
    }
    MakeSection(dc, true);
}

void dib::AllocateHeader(i32 width, i32 height, i32 bits, bool topDown)
{
    paletteSlots_ = bits == 8 ? 257 : 3;
    void* block = allocate(bits == 8 ? indexedHeaderBytes : directHeaderBytes);
    if (!block)
        throw general_error("memfull: can't allocate bitmap");
    header_ = static_cast<BITMAPINFO*>(block);
    std::memset(&header_->bmiHeader, 0, sizeof(BITMAPINFOHEADER));
    header_->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header_->bmiHeader.biWidth = width;
    header_->bmiHeader.biHeight = topDown ? -height : height;
    header_->bmiHeader.biPlanes = 1;
    header_->bmiHeader.biBitCount = static_cast<WORD>(bits);
    header_->bmiHeader.biCompression = BI_RGB;
}

void dib::MakeSection(HDC dc, bool indexed)
{
    memoryDc_.reset(CreateCompatibleDC(dc));
    if (!memoryDc_) {
        ReleaseHeader();
        if (indexed)
            throw "internalerror: DIBSection DC not created.";
        throw general_error("internalerror: DIBSection DC not created.");
    }
    void* pixels = nullptr;
    bitmap_.reset(CreateDIBSection(memoryDc_.get(), header_, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap_) {
        memoryDc_.reset();
        ReleaseHeader();
        throw "internalerror: DIBSection not created.";
    }
    bits_ = static_cast<u8*>(pixels);
    previousObject_ = SelectObject(memoryDc_.get(), bitmap_.get());
    DIBSECTION section = {};
    GetObjectW(bitmap_.get(), sizeof section, &section);
    rowBytes_ = section.dsBm.bmWidthBytes;
}

void dib::ReleaseHeader()
{
    if (header_) {
        release(header_);
        header_ = nullptr;
    }
}

void dib::destroy()
{
    // The bitmap can only be deleted once it is no longer selected into the context.
    if (memoryDc_ && previousObject_)
        SelectObject(memoryDc_.get(), previousObject_);
    previousObject_ = nullptr;
    bitmap_.reset();
    bits_ = nullptr;
    memoryDc_.reset();
    ReleaseHeader();
}

void dib::fill_color(COLORREF color)
{
    if (!memoryDc_)
        return;
    const i32 w = width();
    const i32 h = height();
    const COLORREF rgb = color & 0x00FFFFFF;
    if (rgb == 0) {
        PatBlt(memoryDc_.get(), 0, 0, w, h, BLACKNESS);
    } else if (rgb == 0x00FFFFFF) {
        PatBlt(memoryDc_.get(), 0, 0, w, h, WHITENESS);
    } else {
        const RECT area = {0, 0, w, h};
        const COLORREF previous = SetBkColor(memoryDc_.get(), color);
        ExtTextOutA(memoryDc_.get(), 0, 0, ETO_OPAQUE, &area, "", 0, nullptr);
        SetBkColor(memoryDc_.get(), previous);
    }
}

}  // namespace tevrin
