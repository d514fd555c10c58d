#include "tevrin/raster/linewalker.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Pixels = std::vector<std::pair<tevrin::i32, tevrin::i32>>;

struct RecordingWalker : tevrin::linewalker {
    void visit(tevrin::i32 x, tevrin::i32 y) override { pixels.emplace_back(x, y); }
    Pixels pixels;
};

}  // namespace

// Each step moves one pixel along the longer axis (y when both are as long); on a tie
// of the error term the shorter axis moves too.
TEST(LineWalk, VisitsEveryPixelOfTheLineInOrder)
{
    const struct { const char* name; int x0, y0, x1, y1; Pixels expected; } rows[] = {{"x major", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
                {"y major", 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
                {"x major, tie", 0, 0, -4, 1, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}, {-4, 1}}},
                {"y major, tie", 0, 0, 1, -4, {{0, 0}, {0, -1}, {1, -2}, {1, -3}, {1, -4}}},
                {"y major, tie, leftward", 3, 0, 2, 2, {{3, 0}, {2, 1}, {2, 2}}},
                {"diagonal", 3, -3, 0, 0, {{3, -3}, {2, -2}, {1, -1}, {0, 0}}},
                {"zero length", 7, -2, 7, -2, {{7, -2}}}};
    for (const auto& row : rows) {
        RecordingWalker walker;
        walker.walk(row.x0, row.y0, row.x1, row.y1);
        EXPECT_EQ(walker.pixels, row.expected) << row.name;
    }
}
