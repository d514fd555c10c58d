// The platform-free stroke code: pressure mapping, the round brush set and the stamping
// rule. Also built and run natively under the sanitizers.
#include "app/brush_stamp.h"
#include "app/pressure_mapping.h"
#include "app/round_brushes.h"
#include "tevrin/core/exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

using namespace tevrin;

TEST(PressureMapping, MappedPressureDiameterStrengthAndPercent)
{
    const struct { f32 pressure, gamma, mapped; i32 diameter; f32 strength; i32 percent; } rows[] = {{0.0f, 3.0f, 0.0f, 1, 0.0f, 0},       {0.25f, 3.0f, 0.015625f, 2, 0.390625f, 2},
                {0.5f, 3.0f, 0.125f, 6, 1.0f, 13},    {0.8f, 3.0f, 0.512f, 21, 1.0f, 51},
                {1.0f, 3.0f, 1.0f, 40, 1.0f, 100},    {0.5f, 1.0f, 0.5f, 21, 1.0f, 50},
                {0.5f, 0.1f, 0.933033f, 37, 1.0f, 93}, {0.06f, 1.0f, 0.06f, 3, 1.0f, 6},
                {0.07f, 1.0f, 0.07f, 4, 0.875f, 7},   {0.516f, 1.0f, 0.516f, 21, 1.0f, 52}};
    for (const auto& row : rows) {
        const f32 mapped = MapPressure(row.pressure, row.gamma);
        EXPECT_NEAR(mapped, row.mapped, 1e-6f) << "p " << row.pressure << " gamma " << row.gamma;
        EXPECT_EQ(StampDiameter(mapped), row.diameter) << "p " << row.pressure << " gamma " << row.gamma;
        EXPECT_FLOAT_EQ(StampStrength(mapped, row.diameter), row.strength) << "p " << row.pressure;
        EXPECT_EQ(PressurePercent(mapped), row.percent) << "p " << row.pressure << " gamma " << row.gamma;
    }
}

TEST(RoundBrushes, FiftySymmetricMasksBuiltAtStartUpAsTheGeneratorMakesThem)
{
    for (i32 width = 1; width <= RoundBrushes::kMaskCount; ++width) {
        const brush_mask& mask = RoundBrushes::Instance().Entry(width - 1);
        ASSERT_EQ(mask.width(), width);
        brush_mask fresh;  // the set is built during static initialisation, before any other
        fresh.create(width, width);
        brush_mask::make_round(fresh);
        EXPECT_EQ(std::memcmp(mask.data(), fresh.data(), width * width), 0) << "width " << width;
        for (i32 y = 0; y < width && width > 2; ++y) {
            for (i32 x = 0; x < width; ++x) {
                const u8 value = mask.data()[y * width + x];
                const bool inRun = x >= mask.row_start(y) && x < mask.row_start(y) + mask.row_length(y);
                ASSERT_EQ(value, mask.data()[y * width + width - 1 - x]) << "left-right, width " << width << " at " << x << "," << y;
                ASSERT_EQ(value, mask.data()[(width - 1 - y) * width + x]) << "top-bottom, width " << width << " at " << x << "," << y;
                ASSERT_EQ(value != 0, inRun) << "one run per row, width " << width << " at " << x << "," << y;
            }
        }
    }
    EXPECT_THROW(RoundBrushes::Instance().Entry(RoundBrushes::kMaskCount), range_error);
}

namespace {

// A canvas of 192 whose rows end in padding bytes, followed by a guard row, that no
// stamp may touch.
struct TestCanvas {
    TestCanvas(i32 w, i32 h, i32 padding) : width(w), height(h), stride(w + padding), bytes(stride * (h + 1), 0x5A)
    {
        for (i32 y = 0; y < h; ++y)
            std::fill_n(&bytes[y * stride], w, 192);
    }
    GreyCanvas grey() { return GreyCanvas{bytes.data(), width, height, stride}; }

    i32 width, height, stride;
    std::vector<u8> bytes;
};

// The stamping rule pixel by pixel over each mask row's run, without the clipping of
// the code under test. Returns the number of pixels blended.
i32 ReferenceStamp(TestCanvas& canvas, i32 x, i32 y, i32 diameter, f32 mapped)
{
    const f32 s = std::min(1.0f, (mapped * 50.0f) / static_cast<f32>(diameter));
    auto blend = [&canvas](i32 cx, i32 cy, f32 weight) {
        if (cx < 0 || cx >= canvas.width || cy < 0 || cy >= canvas.height)
            return 0;
        const f32 c = canvas.bytes[cy * canvas.stride + cx];
        canvas.bytes[cy * canvas.stride + cx] = static_cast<u8>(static_cast<i32>(static_cast<f64>(weight * (0.0f - c) + c) + 0.5));
        return 1;
    };
    if (diameter == 1)
        return blend(x, y, s);
    const brush_mask& mask = RoundBrushes::Instance().Entry(diameter);
    i32 blended = 0;
    for (i32 k = 0; k < mask.height(); ++k)
        for (i32 j = mask.row_start(k); j < mask.row_start(k) + mask.row_length(k); ++j)
            blended += blend(x - mask.radius() + j, y - mask.radius() + k, mask.data()[k * mask.width() + j] / 255.0f * s);
    return blended;
}

}  // namespace

// Random stamps, many across the edges, on canvases with padded rows.
TEST(Stamp, MatchesThePerPixelRuleEverywhere)
{
    TestCanvas small(4, 4, 0);
    EXPECT_THROW(StampRoundBrush(small.grey(), 2, 2, RoundBrushes::kMaskCount, 1.0f), range_error) << "no mask";
    std::mt19937 random(5122026);
    std::uniform_int_distribution<i32> size(1, 60), padding(0, 5), diameterPick(1, RoundBrushes::kMaskCount - 1);
    std::uniform_real_distribution<f32> pressure(0.0f, 1.0f);
    for (int round = 0; round < 150; ++round) {
        const i32 width = size(random), height = size(random);
        TestCanvas canvas(width, height, padding(random)), reference(width, height, canvas.stride - width);
        std::uniform_int_distribution<i32> column(-26, width + 25), row(-26, height + 25);
        for (int n = 0; n < 40; ++n) {
            const i32 x = column(random), y = row(random), diameter = diameterPick(random);
            const f32 mapped = pressure(random) * (n % 3 == 0 ? 0.12f : 1.0f);  // faint below 0.12
            ASSERT_EQ(StampRoundBrush(canvas.grey(), x, y, diameter, mapped), ReferenceStamp(reference, x, y, diameter, mapped))
                << "d " << diameter << " at " << x << "," << y << " on " << width << " x " << height;
            ASSERT_EQ(canvas.bytes, reference.bytes) << "d " << diameter << " at " << x << "," << y << " on " << width << " x " << height;
        }
    }
}

// A one-pixel stamp on each edge of the canvas and one pixel past it.
TEST(Stamp, OnePixelStampsAtEveryEdgeAndJustPastIt)
{
    constexpr i32 w = 7, h = 5;
    struct Row { const char* what; i32 x, y, blended; };
    const Row rows[] = {
        {"top-left corner", 0, 0, 1},         {"left of the first column", -1, 2, 0},
        {"above the first row", 3, -1, 0},    {"last column", w - 1, 2, 1},
        {"right of the last column", w, 2, 0}, {"last row", 3, h - 1, 1},
        {"below the last row", 3, h, 0},      {"bottom-right corner", w - 1, h - 1, 1},
        {"past the bottom-right corner", w, h, 0},
    };
    for (const auto& row : rows) {
        TestCanvas canvas(w, h, 2), reference(w, h, 2);
        EXPECT_EQ(StampRoundBrush(canvas.grey(), row.x, row.y, 1, 1.0f), row.blended) << row.what;
        ReferenceStamp(reference, row.x, row.y, 1, 1.0f);
        EXPECT_EQ(canvas.bytes, reference.bytes) << row.what;
    }
}
