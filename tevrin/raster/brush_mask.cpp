#include "tevrin/raster/brush_mask.h"

#include "tevrin/core/exception.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tevrin {

namespace {

// Small masks get hand-tuned corners: a geometric cut at these sizes leaves lumpy
// outlines. Entry w - 1 lists, from the corner row inward, how many pixels from the
// corner column inward are cleared; 0 ends the list. A plain constant table, because
// the round brush set is built during static initialisation and must not depend on
// another file's initialisers having run.
constexpr i32 kMaxStairs = 7;
constexpr i32 kCornerStaircases[15][kMaxStairs] = {
    {0}, {0},                                     // 1, 2
    {1, 0}, {1, 0}, {1, 0},                       // 3, 4, 5
    {2, 1, 0}, {2, 1, 0},                         // 6, 7
    {3, 1, 1, 0}, {3, 1, 1, 0}, {3, 1, 1, 0},     // 8, 9, 10
    {4, 2, 1, 1, 0}, {4, 2, 1, 1, 0},             // 11, 12
    {5, 3, 2, 1, 1, 0}, {5, 3, 2, 1, 1, 0},       // 13, 14
    {6, 4, 2, 2, 1, 1, 0},                        // 15
};

// The falloff angle uses this single-precision value of pi on purpose: the mask
// bytes depend on its exact rounding.
constexpr f32 kPi = 3.1415925f;

class square_pixels {
public:
    explicit square_pixels(brush_mask& mask) : bytes_(mask.data()), size_(mask.width()) {}

    u8 at(i32 x, i32 y) const { return bytes_[index(x, y)]; }
    void put(i32 x, i32 y, u8 value) { bytes_[index(x, y)] = value; }
    i32 size() const { return size_; }

    // Writes the pixel and its three mirror images across both centre lines.
    void put_mirrored(i32 x, i32 y, u8 value)
    {
        const i32 last = size_ - 1;
        put(x, y, value);
        put(last - x, last - y, value);
        put(x, last - y, value);
        put(last - x, y, value);
    }

private:
    std::size_t index(i32 x, i32 y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(size_) + static_cast<std::size_t>(x);
    }

    u8* bytes_;
    i32 size_;
};

void cut_staircase_corners(square_pixels& pixels)
{
    const i32* staircase = kCornerStaircases[pixels.size() - 1];
    for (i32 step = 0; step < kMaxStairs && staircase[step] != 0; ++step)
        for (i32 x = 0; x < staircase[step]; ++x)
            pixels.put_mirrored(x, step, 0);
}

void cut_circular_corners(square_pixels& pixels)
{
    const i32 d = pixels.size();
    const f64 c = d * 0.5;
    for (i32 y = d / 2; y < d; ++y) {
        for (i32 x = d / 2; x < d; ++x) {
            if (std::sqrt((c - x) * (c - x) + (c - y) * (c - y)) + 0.5 >= c)
                pixels.put_mirrored(x, y, 0);
        }
    }
}

void apply_cosine_falloff(square_pixels& pixels)
{
    const i32 w = pixels.size();
    const f64 outer = ((w % 2 != 0) ? static_cast<f64>(w / 2) : w * 0.5 + 0.5) + 1.0;
    const i32 radius = w / 2;
    for (i32 i = 1; i <= radius + 1; ++i) {
        for (i32 j = 1; j <= radius + 1; ++j) {
            const i32 x = j - 1;
            const i32 y = i - 1;
            if (pixels.at(x, y) == 0)
                continue;
            const f64 dist = std::sqrt((outer - j) * (outer - j) + (outer - i) * (outer - i));
            const f64 angle = std::min(outer, dist) / outer * static_cast<f64>(kPi) * 0.5;
            const i32 value = static_cast<i32>(std::cos(angle) * 255.0);
            pixels.put_mirrored(x, y, static_cast<u8>(value & 0xFF));
        }
    }
}

}  // namespace

void brush_mask::create(i32 width, i32 height)
{
    intensity_map8::create(width, height);
    if (!data())
        return;
    rowStarts_.resize(static_cast<std::size_t>(height), 0);
    rowLengths_.resize(static_cast<std::size_t>(height), 0);
    radius_ = width / 2;
    diameter_ = 2 * (width / 2) + width % 2;
}

void brush_mask::make_round(brush_mask& mask)
{
    if (!mask.data() || mask.width() != mask.height())
        throw invalid_argument();
    const i32 w = mask.width();
    std::memset(mask.data(), 255, static_cast<std::size_t>(w) * static_cast<std::size_t>(w));

    square_pixels pixels(mask);
    if (w <= 15)
        cut_staircase_corners(pixels);
    else
        cut_circular_corners(pixels);
    if (w < 3)
        return;
    apply_cosine_falloff(pixels);
    mask.record_row_runs();
}

void brush_mask::record_row_runs()
{
    for (i32 y = 0; y < height(); ++y) {
        const u8* bytes = row(y);
        i32 x = 0;
        while (x < width() && bytes[x] == 0)
            ++x;
        if (x == width()) {
            rowLengths_[static_cast<std::size_t>(y)] = 0;
            continue;
        }
        const i32 start = x;
        while (x < width() && bytes[x] != 0)
            ++x;
        rowStarts_[static_cast<std::size_t>(y)] = start;
        rowLengths_[static_cast<std::size_t>(y)] = x - start;
    }
}

}  // namespace tevrin
