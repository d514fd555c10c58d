#pragma once
// Something that hands out an image row by row in 32-bit blue, green, red, alpha pixels.
// CreateTextureFromImage calls Begin, the size, every row, the format tag, then End.
#include "tevrin/core/types.h"

namespace tevrin {

class IImageSource {
public:
    virtual ~IImageSource() = default;
    virtual void Begin() = 0;
    virtual i32 GetWidth() const = 0;
    virtual i32 GetHeight() const = 0;
    // Writes width * 4 bytes of row y into row.
    virtual void ReadRow(i32 y, u8* row) = 0;
    virtual i32 GetFormatTag() const = 0;
    virtual void End() = 0;
};

}  // namespace tevrin
