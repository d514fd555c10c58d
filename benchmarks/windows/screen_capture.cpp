#include "screen_capture.h"

#include <stdexcept>

namespace nibscope_benchmark {

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
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    memoryDc_.reset(CreateCompatibleDC(nullptr));
    if (!bitmap_ || !memoryDc_)
        throw std::runtime_error("cannot make the screen capture bitmap");
    previousBitmap_ = SelectObject(memoryDc_.get(), bitmap_.get());
    pixels_ = static_cast<const std::uint8_t*>(bits);
}

ScreenCapture::~ScreenCapture()
{
    // The bitmap is deleted after this, once the device context no longer holds it.
    SelectObject(memoryDc_.get(), previousBitmap_);
}

bool ScreenCapture::Capture(POINT origin)
{
    const tevrin::unique_window_dc screen = tevrin::acquire_window_dc(nullptr);
    if (!screen)
        return false;
    const bool copied =
        BitBlt(memoryDc_.get(), 0, 0, width_, height_, screen.get(), origin.x, origin.y, SRCCOPY) != FALSE;
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
