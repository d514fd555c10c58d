#include "app/brush_stamp.h"

#include "app/pressure_mapping.h"
#include "app/round_brushes.h"
#include "tevrin/core/exception.h"
#include "tevrin/raster/brush_mask.h"

#include <algorithm>
#include <array>
#include <cstddef>

using namespace tevrin;

namespace {

// mask byte / 255 in single precision, looked up instead of divided per pixel; the
// values are the very quotients the division gives. Built at compile time so that it
// is ready even for stamps made during static initialisation.
constexpr std::array<f32, 256> MakeMaskUnitTable()
{
    std::array<f32, 256> unit{};
    for (std::size_t value = 0; value < unit.size(); ++value)
        unit[value] = static_cast<f32>(value) / 255.0f;
    return unit;
}

constexpr std::array<f32, 256> kMaskUnit = MakeMaskUnitTable();

// c + weight * (0 - c) in single precision, rounded half up in double: ink is black.
inline u8 DarkenTowardBlack(u8 canvasByte, f32 weight)
{
    const f32 c = canvasByte;
    const f32 blended = weight * (0.0f - c) + c;
    return static_cast<u8>(static_cast<i32>(static_cast<f64>(blended) + 0.5));
}

u8* CanvasRow(const GreyCanvas& canvas, i64 y)
{
    return canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride;
}

i32 StampSinglePixel(const GreyCanvas& canvas, i32 x, i32 y, f32 strength)
{
    if (x < 0 || x >= canvas.width || y < 0 || y >= canvas.height)
        return 0;
    u8& pixel = CanvasRow(canvas, y)[x];
    const f32 c = pixel;
    const f32 blended = (0.0f - c) * strength + c;
    pixel = static_cast<u8>(static_cast<i32>(static_cast<f64>(blended) + 0.5));
    return 1;
}

// One mask row's run, cut to the canvas columns; never reaches past the run.
i32 BlendRowRun(u8* canvasRow, const u8* maskRow, i64 maskLeft, i32 runStart, i32 runLength, i32 canvasWidth,
                f32 strength)
{
    const i64 runLeft = maskLeft + runStart;
    const i64 from = std::max<i64>(runLeft, 0);
    const i64 to = std::min<i64>(runLeft + runLength, canvasWidth);
    if (from >= to)
        return 0;
    u8* target = canvasRow + from;
    const u8* source = maskRow + (from - maskLeft);
    const i64 count = to - from;
    for (i64 n = 0; n < count; ++n)
        target[n] = DarkenTowardBlack(target[n], kMaskUnit[source[n]] * strength);
    return static_cast<i32>(count);
}

}  // namespace

i32 BlendBrushMask(const GreyCanvas& canvas, const brush_mask& mask, i32 x, i32 y, f32 strength)
{
    const i64 maskLeft = static_cast<i64>(x) - mask.radius();
    const i64 maskTop = static_cast<i64>(y) - mask.radius();
    const i64 firstRow = std::max<i64>(0, -maskTop);
    const i64 endRow = std::min<i64>(mask.height(), static_cast<i64>(canvas.height) - maskTop);
    const u8* maskBytes = mask.data();
    i32 blended = 0;
    for (i64 k = firstRow; k < endRow; ++k) {
        const i32 row = static_cast<i32>(k);
        if (mask.row_length(row) == 0)
            continue;
        blended += BlendRowRun(CanvasRow(canvas, maskTop + k), maskBytes + k * mask.row_bytes(), maskLeft,
                               mask.row_start(row), mask.row_length(row), canvas.width, strength);
    }
    return blended;
}

i32 StampRoundBrush(const GreyCanvas& canvas, i32 x, i32 y, i32 diameter, f32 mappedPressure)
{
    if (diameter < 1 || diameter >= RoundBrushes::kMaskCount)
        throw range_error();
    const f32 strength = StampStrength(mappedPressure, diameter);
    if (diameter == 1)
        return StampSinglePixel(canvas, x, y, strength);
    return BlendBrushMask(canvas, RoundBrushes::Instance().MaskForStamp(diameter), x, y, strength);
}

StampSquare StampChangedSquare(i32 x, i32 y, i32 diameter)
{
    const i32 half = diameter / 2 + 1;
    return StampSquare{x - half, y - half, x + half, y + half};
}
