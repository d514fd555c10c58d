#include "tevrin/raster/linewalker.h"

namespace tevrin {

namespace {

i64 sign_of(i64 value)
{
    return (value > 0) - (value < 0);
}

i64 magnitude(i64 value)
{
    return value < 0 ? -value : value;
}

}  // namespace

void linewalker::walk(i32 x0, i32 y0, i32 x1, i32 y1)
{
    // 64-bit error terms: the doubled spans of far-apart 32-bit points do not fit in 32 bits.
    const i64 dx = static_cast<i64>(x1) - x0;
    const i64 dy = static_cast<i64>(y1) - y0;
    const i64 sx = sign_of(dx);
    const i64 sy = sign_of(dy);
    const i64 ax = 2 * magnitude(dx);
    const i64 ay = 2 * magnitude(dy);
    i64 x = x0;
    i64 y = y0;

    visit(x0, y0);
    if (ay < ax) {
        i64 error = -(ax / 2);
        while (x != x1) {
            const i64 trial = error + ay;
            if (trial >= 0) {
                y += sy;
                error = trial - ax;
            } else {
                error = trial;
            }
            x += sx;
            visit(static_cast<i32>(x), static_cast<i32>(y));
        }
    } else {
        i64 error = -(ay / 2);
        while (y != y1) {
            const i64 trial = error + ax;
            if (trial >= 0) {
                x += sx;
                error = trial - ay;
            } else {
                error = trial;
            }
            y += sy;
            visit(static_cast<i32>(x), static_cast<i32>(y));
        }
    }
}

}  // namespace tevrin
