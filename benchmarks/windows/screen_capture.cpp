#include "screen_capture.h"

#include <stdexcept>

namespace nibscope_benchmark {
namespace {

// The screen's device context, given back when the copy is done.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (dc_)
            ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace

ScreenCapture::ScreenCapture(int width, int height) : width_(width), height_(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    memoryDc_ = CreateCompatibleDC(nullptr);
    if (!bitmap_ || !memoryDc_) {
        if (bitmap_)
            DeleteObject(bitmap_);
        if (memoryDc_)
            DeleteDC(memoryDc_);
        throw std::runtime_error("cannot make the screen capture bitmap");
    }
    previousBitmap_ = SelectObject(memoryDc_, bitmap_);
    pixels_ = static_cast<const std::uint8_t*>(bits);
}

ScreenCapture::~ScreenCapture()
{
    SelectObject(memoryDc_, previousBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(memoryDc_);
}

bool ScreenCapture::Capture(POINT origin)
{
    const ScreenDc screen;
    if (!screen.Get())
        return false;
    const bool copied = BitBlt(memoryDc_, 0, 0, width_, height_, screen.Get(), origin.x, origin.y, SRCCOPY) != FALSE;
    GdiFlush();
    return copied;
}

bool ScreenCapture::IsUniformGrey(std::uint8_t grey, int firstRow) const
{
    for (int row = firstRow; row < height_; ++row) {
        const std::uint8_t* pixel = pixels_ + static_cast<size_t>(row) * width_ * 4;
        for (int column = 0; column < width_; ++column, pixel += 4)
            if (pixel[0] != grey || pixel[1] != grey || pixel[2] != grey)
                return false;
    }
    return true;
}

}  // namespace nibscope_benchmark
