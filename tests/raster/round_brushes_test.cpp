#include "app/round_brushes.h"
#include "tevrin/core/exception.h"

#include <gtest/gtest.h>

using namespace tevrin;

namespace {

u8 Pixel(const brush_mask& mask, i32 x, i32 y)
{
    return mask.data()[static_cast<std::size_t>(y) * mask.row_bytes() + static_cast<std::size_t>(x)];
}

}  // namespace

TEST(RoundBrushes, HoldsFiftySquareMasksByDiameter)
{
    const RoundBrushes& brushes = RoundBrushes::Instance();
    for (i32 index = 0; index < RoundBrushes::kMaskCount; ++index) {
        const brush_mask& mask = brushes.Entry(index);
        EXPECT_EQ(mask.width(), index + 1);
        EXPECT_EQ(mask.height(), index + 1);
        EXPECT_EQ(mask.row_bytes(), index + 1);
        EXPECT_EQ(mask.radius(), (index + 1) / 2);
        EXPECT_TRUE(mask.is_valid());
    }
    EXPECT_THROW(brushes.Entry(-1), range_error);
    EXPECT_THROW(brushes.Entry(RoundBrushes::kMaskCount), range_error);
}

TEST(RoundBrushes, SetBuiltAtStartUpEqualsMasksMadeNow)
{
    // The set is built during static initialisation; it must not depend on other
    // files' initialisers having run first.
    for (i32 index = 0; index < RoundBrushes::kMaskCount; ++index) {
        const brush_mask& built = RoundBrushes::Instance().Entry(index);
        brush_mask fresh;
        fresh.create(index + 1, index + 1);
        brush_mask::make_round(fresh);
        for (i32 y = 0; y <= index; ++y) {
            ASSERT_EQ(built.row_start(y), fresh.row_start(y)) << "width " << index + 1 << " row " << y;
            ASSERT_EQ(built.row_length(y), fresh.row_length(y)) << "width " << index + 1 << " row " << y;
            for (i32 x = 0; x <= index; ++x)
                ASSERT_EQ(Pixel(built, x, y), Pixel(fresh, x, y)) << "width " << index + 1 << " at " << x << "," << y;
        }
    }
}

TEST(RoundBrushes, StampOfDiameterTwoUsesTheThreePixelMask)
{
    EXPECT_EQ(RoundBrushes::Instance().MaskForStamp(2).width(), 3);
    EXPECT_EQ(RoundBrushes::Instance().MaskForStamp(40).width(), 41);
}

TEST(RoundBrushes, EveryMaskIsMirrorSymmetric)
{
    for (i32 index = 0; index < RoundBrushes::kMaskCount; ++index) {
        const brush_mask& mask = RoundBrushes::Instance().Entry(index);
        const i32 last = mask.width() - 1;
        for (i32 y = 0; y <= last; ++y) {
            for (i32 x = 0; x <= last; ++x) {
                ASSERT_EQ(Pixel(mask, x, y), Pixel(mask, last - x, y)) << "width " << last + 1 << " at " << x << "," << y;
                ASSERT_EQ(Pixel(mask, x, y), Pixel(mask, x, last - y)) << "width " << last + 1 << " at " << x << "," << y;
            }
        }
    }
}

TEST(RoundBrushes, EveryStampingMaskRowIsOneRunMatchingItsTable)
{
    for (i32 index = 2; index < RoundBrushes::kMaskCount; ++index) {
        const brush_mask& mask = RoundBrushes::Instance().Entry(index);
        i32 coveredRows = 0;
        for (i32 y = 0; y < mask.height(); ++y) {
            const i32 start = mask.row_start(y);
            const i32 end = start + mask.row_length(y);
            ASSERT_LE(end, mask.width());
            for (i32 x = 0; x < mask.width(); ++x) {
                const bool inRun = x >= start && x < end;
                ASSERT_EQ(Pixel(mask, x, y) != 0, inRun) << "width " << mask.width() << " at " << x << "," << y;
            }
            coveredRows += mask.row_length(y) > 0 ? 1 : 0;
        }
        EXPECT_EQ(coveredRows, mask.height()) << "every row of a round mask has ink, width " << mask.width();
    }
}

TEST(RoundBrushes, InkFallsOffFromTheCentre)
{
    for (i32 index = 2; index < RoundBrushes::kMaskCount; ++index) {
        const brush_mask& mask = RoundBrushes::Instance().Entry(index);
        const i32 centre = mask.radius();
        for (i32 x = 1; x <= centre; ++x)
            EXPECT_GE(Pixel(mask, x, centre), Pixel(mask, x - 1, centre)) << "width " << mask.width() << " x " << x;
    }
}
