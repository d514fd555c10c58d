#pragma once
// ScreenCapture: copies a square of the screen into a bitmap of its own and tells
// whether it shows one uniform grey, which is how another process's window is seen to
// have painted. Reading the screen sees what the user sees, not what the program
// believes it drew.
#include "tevrin/core/windows_handles.h"

#include <windows.h>

#include <cstdint>

namespace nibscope_benchmark {

class ScreenCapture {
public:
    // Throws std::runtime_error when the bitmap or its device context cannot be made.
    ScreenCapture(int width, int height);
    ~ScreenCapture();
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;

    // Copies the screen area whose top-left corner is at origin; false when the
    // screen could not be read.
    bool Capture(POINT origin);
    // Every pixel of the last capture, from firstRow down, is red = green = blue = grey.
    bool IsUniformGrey(std::uint8_t grey, int firstRow) const;

private:
    int width_;
    int height_;
    tevrin::unique_bitmap bitmap_;  // declared first: deleted after memoryDc_
    tevrin::unique_created_dc memoryDc_;
    HGDIOBJ previousBitmap_ = nullptr;
    const std::uint8_t* pixels_ = nullptr;  // 32-bit BGRX rows, top-down
};

}  // namespace nibscope_benchmark
