#pragma once
// The stamping rule that both drawing surfaces apply to their 8-bit grey canvas: one
// round brush stamp, clipped to the canvas, darkening it toward black. Both surfaces
// call this one function so that their pixels agree byte for byte.
#include "tevrin/core/types.h"

namespace tevrin {
class brush_mask;
}

// An 8-bit grey raster owned by a surface: rows from the top, row y starting
// y * stride bytes after `pixels`; 0 black, 255 white.
struct GreyCanvas {
    tevrin::u8* pixels;
    tevrin::i32 width;
    tevrin::i32 height;
    tevrin::i32 stride;
};

// An inclusive pixel rectangle, not clipped to any canvas.
struct StampSquare {
    tevrin::i32 left;
    tevrin::i32 top;
    tevrin::i32 right;
    tevrin::i32 bottom;
};

// Stamps a round brush of `diameter` (1 to 49; the pressure mapping gives 1 to 40)
// centred on (x, y) with the strength that the mapped pressure gives for that diameter.
// Returns how many canvas pixels were blended. Throws tevrin::range_error for a
// diameter outside 1 .. 49.
tevrin::i32 StampRoundBrush(const GreyCanvas& canvas, tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter,
                            tevrin::f32 mappedPressure);

// Blends `mask` at `strength` with its top-left corner at (x - radius, y - radius),
// touching only the pixels of each row's run that lie inside the canvas.
tevrin::i32 BlendBrushMask(const GreyCanvas& canvas, const tevrin::brush_mask& mask, tevrin::i32 x,
                           tevrin::i32 y, tevrin::f32 strength);

// The area a surface refreshes after a stamp: half-size diameter / 2 + 1 around (x, y).
StampSquare StampChangedSquare(tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter);
