// The platform-free stroke code: pressure mapping, the round brush set, the line-walk
// point buffer and the stamping rule. Also built and run natively under the sanitizers.
#include "app/brush_stamp.h"
#include "app/dda_filler.h"
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
    const struct {
        f32 pressure, gamma, mapped;
        i32 diameter;
        f32 strength;
        i32 percent;
    } rows[] = {
        {0.0f, 3.0f, 0.0f, 1, 0.0f, 0},          {0.25f, 3.0f, 0.015625f, 2, 0.390625f, 2},
        {0.5f, 3.0f, 0.125f, 6, 1.0f, 13},       {0.8f, 3.0f, 0.512f, 21, 1.0f, 51},
        {1.0f, 3.0f, 1.0f, 40, 1.0f, 100},       {0.5f, 1.0f, 0.5f, 21, 1.0f, 50},
        {0.5f, 0.1f, 0.933033f, 37, 1.0f, 93},   {0.06f, 1.0f, 0.06f, 3, 1.0f, 6},
        {0.07f, 1.0f, 0.07f, 4, 0.875f, 7},      {0.516f, 1.0f, 0.516f, 21, 1.0f, 52},
    };
    for (const auto& row : rows) {
        const f32 mapped = MapPressure(row.pressure, row.gamma);
        EXPECT_NEAR(mapped, row.mapped, 1e-6f) << "p " << row.pressure << " gamma " << row.gamma;
        EXPECT_EQ(StampDiameter(mapped), row.diameter) << "p " << row.pressure << " gamma " << row.gamma;
        EXPECT_FLOAT_EQ(StampStrength(mapped, row.diameter), row.strength) << "p " << row.pressure;
        EXPECT_EQ(PressurePercent(mapped), row.percent) << "p " << row.pressure << " gamma " << row.gamma;
    }
}

TEST(PressureMapping, SliderHalvesSpanTheirGammas)
{
    const f32 rows[][2] = {{0.0f, 0.1f}, {0.25f, 0.55f}, {0.5f, 1.0f}, {0.75f, 3.0f}, {1.0f, 5.0f}};
    for (const auto& row : rows) {
        EXPECT_FLOAT_EQ(GammaFromSliderValue(row[0]), row[1]) << "slider " << row[0];
        EXPECT_NEAR(SliderValueFromGamma(row[1]), row[0], 1e-6f) << "gamma " << row[1];
    }
}

TEST(RoundBrushes, FiftySymmetricMasksOfOneRunPerRow)
{
    const RoundBrushes& brushes = RoundBrushes::Instance();
    for (i32 index = 0; index < RoundBrushes::kMaskCount; ++index) {
        const brush_mask& mask = brushes.Entry(index);
        const i32 width = index + 1;
        ASSERT_EQ(mask.width(), width);
        brush_mask fresh;  // the set is built during static initialisation, before any other
        fresh.create(width, width);
        brush_mask::make_round(fresh);
        ASSERT_EQ(std::memcmp(mask.data(), fresh.data(), width * width), 0) << "width " << width;
        for (i32 y = 0; y < width && width > 2; ++y) {
            const i32 start = mask.row_start(y), end = start + mask.row_length(y);
            ASSERT_EQ(mask.row_length(y), mask.row_length(width - 1 - y)) << "width " << width << " row " << y;
            for (i32 x = 0; x < width; ++x) {
                const u8 value = mask.data()[y * width + x];
                ASSERT_EQ(value, mask.data()[y * width + width - 1 - x]) << "width " << width << " at " << x << "," << y;
                ASSERT_EQ(value != 0, x >= start && x < end) << "width " << width << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(brushes.MaskForStamp(2).width(), 3);
    EXPECT_THROW(brushes.Entry(RoundBrushes::kMaskCount), range_error);
}

TEST(DDAFiller, KeepsTheFirst500PointsNarrowedTo16Bits)
{
    OurDDAFiller filler;
    filler.visit(70000, -70000);
    EXPECT_EQ(filler[0].x, 70000 - 65536);
    EXPECT_EQ(filler[0].y, -70000 + 65536);
    filler.Clear();
    filler.walk(-100, 7, 899, 7);
    filler.visit(1, 1);
    ASSERT_EQ(filler.Count(), OurDDAFiller::kCapacity);
    EXPECT_EQ(filler[0].x, -100);
    EXPECT_EQ(filler[499].x, 399);
    EXPECT_EQ(filler[499].y, 7);
}

namespace {

constexpr u8 kCleared = 192;
constexpr u8 kPadding = 0x5A;  // past each row's end, where no stamp may write

struct TestCanvas {
    TestCanvas(i32 w, i32 h, i32 padding = 0) : width(w), height(h), stride(w + padding), bytes(stride * h, kPadding)
    {
        for (i32 y = 0; y < h; ++y)
            std::fill_n(&at(0, y), w, kCleared);
    }
    u8& at(i32 x, i32 y) { return bytes[static_cast<size_t>(y * stride + x)]; }
    GreyCanvas grey() { return GreyCanvas{bytes.data(), width, height, stride}; }

    i32 width, height, stride;
    std::vector<u8> bytes;
};

// The stamping rule pixel by pixel over the whole mask square, with none of the
// run clipping of the code under test. Returns the number of pixels blended.
i32 ReferenceStamp(TestCanvas& canvas, i32 x, i32 y, i32 diameter, f32 mapped)
{
    const f32 s = std::min(1.0f, (mapped * 50.0f) / static_cast<f32>(diameter));
    auto blend = [&canvas](i32 cx, i32 cy, f32 weight) {
        const f32 c = canvas.at(cx, cy);
        canvas.at(cx, cy) = static_cast<u8>(static_cast<i32>(static_cast<f64>(weight * (0.0f - c) + c) + 0.5));
    };
    const bool inside = x >= 0 && x < canvas.width && y >= 0 && y < canvas.height;
    if (diameter == 1)
        return inside ? (blend(x, y, s), 1) : 0;
    const brush_mask& mask = RoundBrushes::Instance().Entry(diameter);
    i32 blended = 0;
    for (i32 k = 0; k < mask.height(); ++k) {
        for (i32 j = mask.row_start(k); j < mask.row_start(k) + mask.row_length(k); ++j) {
            const i32 cx = x - mask.radius() + j, cy = y - mask.radius() + k;
            if (cx >= 0 && cx < canvas.width && cy >= 0 && cy < canvas.height)
                blend(cx, cy, static_cast<f32>(mask.data()[k * mask.width() + j]) / 255.0f * s), ++blended;
        }
    }
    return blended;
}

}  // namespace

TEST(Stamp, PublishedValues)
{
    TestCanvas canvas(10, 8);
    EXPECT_EQ(StampRoundBrush(canvas.grey(), 9, 7, 1, 0.01f), 1);
    EXPECT_EQ(canvas.at(9, 7), 96) << "diameter 1 at strength 0.5 halves 192";
    EXPECT_EQ(StampRoundBrush(canvas.grey(), 10, 7, 1, 1.0f), 0);
    EXPECT_EQ(StampRoundBrush(canvas.grey(), 4, 4, 2, 1.0f), 5) << "diameter 2 uses the 3 x 3 mask";
    EXPECT_EQ(canvas.at(4, 4), 0);
    EXPECT_EQ(canvas.at(4, 3), 56) << "a mask byte of 180 takes 180/255 of 192 away";
    EXPECT_THROW(StampRoundBrush(canvas.grey(), 5, 5, 0, 1.0f), range_error);
    EXPECT_THROW(StampRoundBrush(canvas.grey(), 5, 5, RoundBrushes::kMaskCount, 1.0f), range_error);
}

// Random stamps, many at or across the edges, on canvases with row padding: the
// result must equal the rule applied pixel by pixel, and the same stamps on a canvas
// large enough that nothing is clipped.
TEST(Stamp, MatchesThePerPixelRuleAndTheUnclippedStampEverywhere)
{
    std::mt19937 random(5122026);
    std::uniform_int_distribution<i32> size(1, 60), padding(0, 5), diameterPick(1, RoundBrushes::kMaskCount - 1);
    std::uniform_real_distribution<f32> pressure(0.0f, 1.0f);
    const i32 margin = 50;
    for (int round = 0; round < 150; ++round) {
        const i32 width = size(random), height = size(random);
        TestCanvas canvas(width, height, padding(random)), reference(width, height);
        TestCanvas large(width + 2 * margin, height + 2 * margin);
        std::uniform_int_distribution<i32> column(-26, width + 25), row(-26, height + 25);
        for (int n = 0; n < 40; ++n) {
            const i32 x = column(random), y = row(random), diameter = diameterPick(random);
            const f32 mapped = pressure(random) * (n % 3 == 0 ? 0.12f : 1.0f);  // faint below 0.12
            const std::string stamp = testing::PrintToString(std::vector<f32>{f32(x), f32(y), f32(diameter), mapped});
            ASSERT_EQ(StampRoundBrush(canvas.grey(), x, y, diameter, mapped), ReferenceStamp(reference, x, y, diameter, mapped))
                << stamp;
            StampRoundBrush(large.grey(), x + margin, y + margin, diameter, mapped);
            for (i32 py = 0; py < height; ++py) {
                ASSERT_TRUE(std::equal(&canvas.at(0, py), &canvas.at(0, py) + width, &reference.at(0, py))) << stamp;
                ASSERT_TRUE(std::equal(&canvas.at(0, py), &canvas.at(0, py) + width, &large.at(margin, py + margin)))
                    << stamp;
                ASSERT_TRUE(std::all_of(&canvas.at(width, py), &canvas.at(0, py) + canvas.stride,
                                        [](u8 b) { return b == kPadding; })) << stamp;
            }
        }
    }
}

TEST(Stamp, ChangedSquareHoldsEveryChangedPixel)
{
    for (i32 diameter = 1; diameter <= 40; ++diameter) {
        TestCanvas canvas(100, 100);
        StampRoundBrush(canvas.grey(), 50, 50, diameter, 1.0f);
        const StampSquare square = StampChangedSquare(50, 50, diameter);
        EXPECT_EQ(square.right - 50, diameter / 2 + 1);
        EXPECT_EQ(50 - square.top, diameter / 2 + 1);
        for (i32 y = 0; y < 100; ++y)
            for (i32 x = 0; x < 100; ++x)
                ASSERT_TRUE((x >= square.left && x <= square.right && y >= square.top && y <= square.bottom) ||
                            canvas.at(x, y) == kCleared)
                    << "diameter " << diameter << " at " << x << "," << y;
    }
}
