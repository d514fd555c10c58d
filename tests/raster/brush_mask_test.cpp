#include "tevrin/core/exception.h"
#include "tevrin/raster/brush_mask.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tevrin;

namespace {

std::unique_ptr<brush_mask> RoundMask(i32 width)
{
    auto mask = std::make_unique<brush_mask>();
    mask->create(width, width);
    brush_mask::make_round(*mask);
    return mask;
}

std::vector<int> Row(const brush_mask& mask, i32 y)
{
    const u8* bytes = mask.data() + static_cast<std::size_t>(y) * mask.row_bytes();
    return std::vector<int>(bytes, bytes + mask.width());
}

std::vector<int> RowStarts(const brush_mask& mask)
{
    std::vector<int> starts;
    for (i32 y = 0; y < mask.height(); ++y)
        starts.push_back(mask.row_start(y));
    return starts;
}

std::vector<int> RowLengths(const brush_mask& mask)
{
    std::vector<int> lengths;
    for (i32 y = 0; y < mask.height(); ++y)
        lengths.push_back(mask.row_length(y));
    return lengths;
}

}  // namespace

TEST(BrushMaskCreate, SetsRadiusDiameterAndRowTables)
{
    brush_mask mask;
    EXPECT_EQ(mask.radius(), 0);
    mask.create(7, 7);
    EXPECT_EQ(mask.radius(), 3);
    EXPECT_EQ(mask.diameter(), 7);
    EXPECT_EQ(mask.row_bytes(), 7);
    EXPECT_EQ(RowLengths(mask), std::vector<int>(7, 0));
    mask.create(8, 8);
    EXPECT_EQ(mask.radius(), 4);
    EXPECT_EQ(mask.diameter(), 8);
    EXPECT_EQ(RowLengths(mask).size(), 8u);
}

TEST(BrushMaskCreate, RoundGeneratorRejectsMasksWithoutStorageOrNotSquare)
{
    brush_mask empty;
    EXPECT_THROW(brush_mask::make_round(empty), invalid_argument);
    brush_mask oblong;
    oblong.create(4, 5);
    EXPECT_THROW(brush_mask::make_round(oblong), invalid_argument);
}

TEST(RoundMask, WidthsOneAndTwoAreSolidWithEmptyRowTables)
{
    auto one = RoundMask(1);
    EXPECT_EQ(Row(*one, 0), (std::vector<int>{255}));
    EXPECT_EQ(one->row_start(0), 0);
    EXPECT_EQ(one->row_length(0), 0);

    auto two = RoundMask(2);
    EXPECT_EQ(Row(*two, 0), (std::vector<int>{255, 255}));
    EXPECT_EQ(Row(*two, 1), (std::vector<int>{255, 255}));
    EXPECT_EQ(RowLengths(*two), (std::vector<int>{0, 0}));
}

TEST(RoundMask, WidthThree)
{
    auto mask = RoundMask(3);
    EXPECT_EQ(Row(*mask, 0), (std::vector<int>{0, 180, 0}));
    EXPECT_EQ(Row(*mask, 1), (std::vector<int>{180, 255, 180}));
    EXPECT_EQ(Row(*mask, 2), (std::vector<int>{0, 180, 0}));
    EXPECT_EQ(RowStarts(*mask), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(RowLengths(*mask), (std::vector<int>{1, 3, 1}));
    EXPECT_EQ(mask->radius(), 1);
}

TEST(RoundMask, WidthFour)
{
    auto mask = RoundMask(4);
    EXPECT_EQ(Row(*mask, 0), (std::vector<int>{0, 105, 105, 0}));
    EXPECT_EQ(Row(*mask, 1), (std::vector<int>{105, 242, 242, 105}));
    EXPECT_EQ(Row(*mask, 2), (std::vector<int>{105, 242, 242, 105}));
    EXPECT_EQ(Row(*mask, 3), (std::vector<int>{0, 105, 105, 0}));
    EXPECT_EQ(RowStarts(*mask), (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(RowLengths(*mask), (std::vector<int>{2, 4, 4, 2}));
}

TEST(RoundMask, WidthFive)
{
    auto mask = RoundMask(5);
    EXPECT_EQ(Row(*mask, 0), (std::vector<int>{0, 99, 127, 99, 0}));
    EXPECT_EQ(Row(*mask, 1), (std::vector<int>{99, 188, 220, 188, 99}));
    EXPECT_EQ(Row(*mask, 2), (std::vector<int>{127, 220, 255, 220, 127}));
    EXPECT_EQ(Row(*mask, 3), (std::vector<int>{99, 188, 220, 188, 99}));
    EXPECT_EQ(Row(*mask, 4), (std::vector<int>{0, 99, 127, 99, 0}));
    EXPECT_EQ(RowStarts(*mask), (std::vector<int>{1, 0, 0, 0, 1}));
    EXPECT_EQ(RowLengths(*mask), (std::vector<int>{3, 5, 5, 5, 3}));
}

TEST(RoundMask, WidthEight)
{
    auto mask = RoundMask(8);
    EXPECT_EQ(Row(*mask, 0), (std::vector<int>{0, 0, 0, 69, 69, 0, 0, 0}));
    EXPECT_EQ(mask->row_start(0), 3);
    EXPECT_EQ(mask->row_length(0), 2);
    EXPECT_EQ(Row(*mask, 3), (std::vector<int>{69, 135, 190, 249, 249, 190, 135, 69}));
    EXPECT_EQ(mask->row_start(3), 0);
    EXPECT_EQ(mask->row_length(3), 8);
}

TEST(RoundMask, WidthFifteenKeepsItsHandMadeCorner)
{
    auto mask = RoundMask(15);
    const i32 cleared[] = {6, 4, 2, 2, 1, 1, 0};
    for (i32 y = 0; y < 7; ++y) {
        EXPECT_EQ(mask->row_start(y), cleared[y]) << "row " << y;
        EXPECT_EQ(mask->row_length(y), 15 - 2 * cleared[y]) << "row " << y;
    }
}

TEST(RoundMask, WidthSixteenIsTheFirstGeometricCut)
{
    auto mask = RoundMask(16);
    EXPECT_EQ(Row(*mask, 0), (std::vector<int>{0, 0, 0, 0, 0, 12, 26, 41, 41, 26, 12, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mask->row_start(0), 5);
    EXPECT_EQ(mask->row_length(0), 6);
}
