#include "app/brush_stamp.h"
#include "app/pressure_mapping.h"
#include "app/round_brushes.h"
#include "tevrin/core/exception.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace tevrin;

namespace {

const u8 kCleared = 192;
// Written into the bytes between a row's last pixel and the next row, which no stamp
// may touch.
const u8 kPadding = 0x5A;

class TestCanvas {
public:
    TestCanvas(i32 width, i32 height, i32 padding = 3)
        : width_(width), height_(height), stride_(width + padding),
          bytes_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height), kPadding)
    {
        for (i32 y = 0; y < height; ++y)
            for (i32 x = 0; x < width; ++x)
                at(x, y) = kCleared;
    }

    GreyCanvas canvas() { return GreyCanvas{bytes_.data(), width_, height_, stride_}; }
    u8& at(i32 x, i32 y) { return bytes_[static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x)]; }
    const std::vector<u8>& bytes() const { return bytes_; }
    i32 width() const { return width_; }
    i32 height() const { return height_; }

    int ChangedPixels()
    {
        int changed = 0;
        for (i32 y = 0; y < height_; ++y)
            for (i32 x = 0; x < width_; ++x)
                changed += at(x, y) != kCleared ? 1 : 0;
        return changed;
    }

    bool PaddingIntact() const
    {
        for (std::size_t i = 0; i < bytes_.size(); ++i)
            if (static_cast<i32>(i % static_cast<std::size_t>(stride_)) >= width_ && bytes_[i] != kPadding)
                return false;
        return true;
    }

private:
    i32 width_;
    i32 height_;
    i32 stride_;
    std::vector<u8> bytes_;
};

u8 MaskPixel(const brush_mask& mask, i32 j, i32 k)
{
    return mask.data()[static_cast<std::size_t>(k) * mask.row_bytes() + static_cast<std::size_t>(j)];
}

// The stamping rule pixel by pixel over the whole mask square, with none of the run
// clipping of the real code: a mask pixel paints when it lies in its row's run and
// its canvas pixel lies on the canvas.
i32 ReferenceStamp(TestCanvas& canvas, i32 x, i32 y, i32 diameter, f32 mappedPressure)
{
    const f32 s = std::min(1.0f, (mappedPressure * 50.0f) / static_cast<f32>(diameter));
    if (diameter == 1) {
        if (x < 0 || x > canvas.width() - 1 || y < 0 || y > canvas.height() - 1)
            return 0;
        const f32 c = canvas.at(x, y);
        canvas.at(x, y) = static_cast<u8>(static_cast<i32>(static_cast<f64>((0.0f - c) * s + c) + 0.5));
        return 1;
    }
    const brush_mask& mask = RoundBrushes::Instance().Entry(diameter);
    const i32 r = mask.radius();
    i32 blended = 0;
    for (i32 k = 0; k < mask.height(); ++k) {
        for (i32 j = 0; j < mask.width(); ++j) {
            const i32 cx = x - r + j;
            const i32 cy = y - r + k;
            const bool inRun = j >= mask.row_start(k) && j < mask.row_start(k) + mask.row_length(k);
            if (!inRun || cx < 0 || cx >= canvas.width() || cy < 0 || cy >= canvas.height())
                continue;
            const f32 a = static_cast<f32>(MaskPixel(mask, j, k)) / 255.0f;
            const f32 c = canvas.at(cx, cy);
            const f32 result = a * s * (0.0f - c) + c;
            canvas.at(cx, cy) = static_cast<u8>(static_cast<i32>(static_cast<f64>(result) + 0.5));
            ++blended;
        }
    }
    return blended;
}

}  // namespace

TEST(StampSinglePixel, InsideChangesExactlyOneByte)
{
    TestCanvas canvas(10, 8);
    EXPECT_EQ(StampRoundBrush(canvas.canvas(), 9, 7, 1, 0.01f), 1);
    EXPECT_EQ(canvas.at(9, 7), 96) << "strength 0.5 halves 192";
    EXPECT_EQ(canvas.ChangedPixels(), 1);
    StampRoundBrush(canvas.canvas(), 0, 0, 1, 1.0f);
    EXPECT_EQ(canvas.at(0, 0), 0);
    EXPECT_EQ(canvas.ChangedPixels(), 2);
    EXPECT_TRUE(canvas.PaddingIntact());
}

TEST(StampSinglePixel, OutsideChangesNothing)
{
    TestCanvas canvas(10, 8);
    const std::vector<u8> before = canvas.bytes();
    const i32 outside[][2] = {{-1, 0}, {10, 0}, {0, -1}, {0, 8}, {-5, -5}, {10, 8}};
    for (const auto& point : outside)
        EXPECT_EQ(StampRoundBrush(canvas.canvas(), point[0], point[1], 1, 1.0f), 0);
    EXPECT_EQ(canvas.bytes(), before);
}

TEST(StampRoundMask, DiameterTwoPaintsTheThreePixelPlus)
{
    TestCanvas canvas(10, 10);
    EXPECT_EQ(StampRoundBrush(canvas.canvas(), 5, 5, 2, 1.0f), 5);
    EXPECT_EQ(canvas.at(5, 5), 0);
    // 180 / 255 of 192 taken away: 192 - 135.53 + 0.5, truncated.
    for (const auto& arm : {std::make_pair(5, 4), std::make_pair(4, 5), std::make_pair(6, 5), std::make_pair(5, 6)})
        EXPECT_EQ(canvas.at(arm.first, arm.second), 56);
    EXPECT_EQ(canvas.ChangedPixels(), 5);
}

TEST(StampRoundMask, FullStrengthTurnsFullMaskPixelsBlackAndHalfPixelsToNinetySix)
{
    brush_mask mask;
    mask.create(3, 3);
    brush_mask::make_round(mask);
    mask.data()[1] = 128;  // the top of the plus
    mask.data()[4] = 255;  // the centre
    TestCanvas canvas(6, 6);
    BlendBrushMask(canvas.canvas(), mask, 2, 2, 1.0f);
    EXPECT_EQ(canvas.at(2, 1), 96);
    EXPECT_EQ(canvas.at(2, 2), 0);
}

TEST(StampRoundMask, NeverReadsMaskBytesOutsideTheRowRuns)
{
    // Ink planted in the corner bytes outside the runs must never reach the canvas,
    // wherever the stamp is clipped: those bytes belong to no run.
    brush_mask clean;
    clean.create(9, 9);
    brush_mask::make_round(clean);
    brush_mask planted;
    planted.create(9, 9);
    brush_mask::make_round(planted);
    for (i32 k = 0; k < 9; ++k)
        for (i32 j = 0; j < 9; ++j)
            if (MaskPixel(planted, j, k) == 0)
                planted.data()[k * 9 + j] = 255;
    for (i32 y = -5; y <= 16; ++y) {
        for (i32 x = -5; x <= 16; ++x) {
            TestCanvas expected(12, 12);
            TestCanvas actual(12, 12);
            BlendBrushMask(expected.canvas(), clean, x, y, 1.0f);
            BlendBrushMask(actual.canvas(), planted, x, y, 1.0f);
            ASSERT_EQ(actual.bytes(), expected.bytes()) << "stamp at " << x << "," << y;
        }
    }
}

TEST(StampRoundMask, ZeroStrengthLeavesEveryByte)
{
    TestCanvas canvas(30, 30);
    const std::vector<u8> before = canvas.bytes();
    EXPECT_GT(BlendBrushMask(canvas.canvas(), RoundBrushes::Instance().MaskForStamp(21), 15, 15, 0.0f), 0);
    EXPECT_EQ(StampRoundBrush(canvas.canvas(), 15, 15, 1, 0.0f), 1);
    EXPECT_EQ(canvas.bytes(), before);
}

TEST(StampRoundMask, RepeatedFaintStampsKeepDarkening)
{
    TestCanvas canvas(30, 30);
    const f32 faint = 0.01f;  // diameter 1 at strength 0.5; at diameter 9 about 0.056
    u8 previous = kCleared;
    for (int stamp = 0; stamp < 12; ++stamp) {
        StampRoundBrush(canvas.canvas(), 15, 15, 9, faint);
        EXPECT_LT(canvas.at(15, 15), previous) << "stamp " << stamp;
        previous = canvas.at(15, 15);
    }
}

TEST(StampRoundMask, CornerStampPaintsOnlyTheQuarterInside)
{
    const i32 diameter = 21;
    const brush_mask& mask = RoundBrushes::Instance().MaskForStamp(diameter);
    const i32 r = mask.radius();
    TestCanvas canvas(40, 40);
    StampRoundBrush(canvas.canvas(), 0, 0, diameter, 1.0f);
    int expected = 0;
    for (i32 k = r; k < mask.height(); ++k)
        for (i32 j = r; j < mask.width(); ++j)
            expected += MaskPixel(mask, j, k) != 0 ? 1 : 0;
    EXPECT_EQ(canvas.ChangedPixels(), expected);

    TestCanvas large(100, 100);
    StampRoundBrush(large.canvas(), 50, 50, diameter, 1.0f);
    for (i32 y = 0; y <= r; ++y)
        for (i32 x = 0; x <= r; ++x)
            ASSERT_EQ(canvas.at(x, y), large.at(50 + x, 50 + y)) << x << "," << y;
    EXPECT_TRUE(canvas.PaddingIntact());
}

TEST(StampRoundMask, StampsWhollyOutsidePaintNothing)
{
    TestCanvas canvas(20, 20);
    const std::vector<u8> before = canvas.bytes();
    const i32 r = RoundBrushes::Instance().MaskForStamp(40).radius();
    EXPECT_EQ(StampRoundBrush(canvas.canvas(), -r - 1, 10, 40, 1.0f), 0);
    EXPECT_EQ(StampRoundBrush(canvas.canvas(), 20 + r, 10, 40, 1.0f), 0);
    EXPECT_EQ(StampRoundBrush(canvas.canvas(), 10, -r - 1, 40, 1.0f), 0);
    EXPECT_EQ(StampRoundBrush(canvas.canvas(), 10, 20 + r, 40, 1.0f), 0);
    EXPECT_EQ(canvas.bytes(), before);
}

TEST(StampRoundMask, DiametersWithoutAMaskAreRejected)
{
    TestCanvas canvas(10, 10);
    EXPECT_THROW(StampRoundBrush(canvas.canvas(), 5, 5, 0, 1.0f), range_error);
    EXPECT_THROW(StampRoundBrush(canvas.canvas(), 5, 5, RoundBrushes::kMaskCount, 1.0f), range_error);
}

TEST(StampRoundMask, ChangedSquareHoldsEveryChangedPixel)
{
    for (i32 diameter = kMinStampDiameter; diameter <= kMaxStampDiameter; ++diameter) {
        TestCanvas canvas(100, 100);
        StampRoundBrush(canvas.canvas(), 50, 50, diameter, 1.0f);
        const StampSquare square = StampChangedSquare(50, 50, diameter);
        EXPECT_EQ(square.right - 50, diameter / 2 + 1);
        EXPECT_EQ(50 - square.top, diameter / 2 + 1);
        for (i32 y = 0; y < 100; ++y) {
            for (i32 x = 0; x < 100; ++x) {
                const bool inside = x >= square.left && x <= square.right && y >= square.top && y <= square.bottom;
                ASSERT_TRUE(inside || canvas.at(x, y) == kCleared) << "diameter " << diameter << " at " << x << "," << y;
            }
        }
    }
}

TEST(StampRandomised, MatchesThePerPixelRuleAndTheUnclippedStampEverywhere)
{
    std::mt19937 random(5122026);
    std::uniform_int_distribution<i32> size(1, 60);
    std::uniform_int_distribution<i32> padding(0, 5);
    std::uniform_int_distribution<i32> diameterPick(kMinStampDiameter, RoundBrushes::kMaskCount - 1);
    std::uniform_real_distribution<f32> pressure(0.0f, 1.0f);
    const i32 margin = 50;  // wider than any radius, so the large canvas never clips

    int stamps = 0;  // for the failure messages
    for (int round = 0; round < 150; ++round) {
        const i32 width = size(random), height = size(random);
        TestCanvas canvas(width, height, padding(random));
        TestCanvas reference(width, height, 0);
        TestCanvas large(width + 2 * margin, height + 2 * margin, 0);
        std::uniform_int_distribution<i32> column(-26, width + 25), row(-26, height + 25);
        for (int n = 0; n < 40; ++n, ++stamps) {
            const i32 x = column(random), y = row(random), diameter = diameterPick(random);
            // Many light touches: below m = 0.12 the strength varies.
            const f32 mapped = (n % 3 == 0) ? pressure(random) * 0.12f : pressure(random);
            const i32 blended = StampRoundBrush(canvas.canvas(), x, y, diameter, mapped);
            ASSERT_EQ(blended, ReferenceStamp(reference, x, y, diameter, mapped));
            StampRoundBrush(large.canvas(), x + margin, y + margin, diameter, mapped);
            for (i32 py = 0; py < height; ++py) {
                for (i32 px = 0; px < width; ++px) {
                    ASSERT_EQ(canvas.at(px, py), reference.at(px, py))
                        << "stamp " << stamps << " d " << diameter << " at " << x << "," << y << " pixel " << px << "," << py;
                    ASSERT_EQ(canvas.at(px, py), large.at(px + margin, py + margin))
                        << "stamp " << stamps << " d " << diameter << " at " << x << "," << y << " pixel " << px << "," << py;
                }
            }
            ASSERT_TRUE(canvas.PaddingIntact());
        }
    }
}
