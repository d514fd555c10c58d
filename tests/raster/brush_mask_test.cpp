#include "tevrin/raster/brush_mask.h"

#include <gtest/gtest.h>

#include <vector>

using tevrin::brush_mask;

// The round soft masks as the stamps use them: the published rows of the small
// widths (hand-made corners up to 15, the geometric cut from 16) and their row runs.
TEST(RoundMask, PublishedRowsAndRuns)
{
    const struct {
        int width, row;
        std::vector<int> bytes;
        int start, length;
    } rows[] = {
        {1, 0, {255}, 0, 0},                   {2, 1, {255, 255}, 0, 0},
        {3, 0, {0, 180, 0}, 1, 1},             {3, 1, {180, 255, 180}, 0, 3},
        {4, 0, {0, 105, 105, 0}, 1, 2},        {4, 2, {105, 242, 242, 105}, 0, 4},
        {5, 0, {0, 99, 127, 99, 0}, 1, 3},     {5, 1, {99, 188, 220, 188, 99}, 0, 5},
        {5, 2, {127, 220, 255, 220, 127}, 0, 5}, {5, 4, {0, 99, 127, 99, 0}, 1, 3},
        {8, 0, {0, 0, 0, 69, 69, 0, 0, 0}, 3, 2}, {8, 3, {69, 135, 190, 249, 249, 190, 135, 69}, 0, 8},
        {16, 0, {0, 0, 0, 0, 0, 12, 26, 41, 41, 26, 12, 0, 0, 0, 0, 0}, 5, 6},
    };
    for (const auto& row : rows) {
        brush_mask mask;
        mask.create(row.width, row.width);
        brush_mask::make_round(mask);
        const tevrin::u8* bytes = mask.data() + row.row * mask.row_bytes();
        EXPECT_EQ(std::vector<int>(bytes, bytes + row.width), row.bytes) << "width " << row.width << " row " << row.row;
        EXPECT_EQ(std::vector<int>({mask.row_start(row.row), mask.row_length(row.row), mask.radius()}),
                  std::vector<int>({row.start, row.length, row.width / 2}))
            << "start, length and radius: width " << row.width << " row " << row.row;
    }
    brush_mask mask;  // width 15's staircase corner, seen in its row starts
    mask.create(15, 15);
    brush_mask::make_round(mask);
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(mask.row_start(y), (std::vector<int>{6, 4, 2, 2, 1, 1, 0}[y])) << "width 15 row " << y;
}
