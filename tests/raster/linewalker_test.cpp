#include "tevrin/raster/linewalker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

using namespace tevrin;

namespace {

using Pixel = std::pair<i32, i32>;

class RecordingWalker : public linewalker {
public:
    void visit(i32 x, i32 y) override { pixels.emplace_back(x, y); }
    std::vector<Pixel> pixels;
};

std::vector<Pixel> Walk(i32 x0, i32 y0, i32 x1, i32 y1)
{
    RecordingWalker walker;
    walker.walk(x0, y0, x1, y1);
    return walker.pixels;
}

}  // namespace

TEST(LineWalk, XMajorLine)
{
    EXPECT_EQ(Walk(0, 0, 5, 2), (std::vector<Pixel>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
}

TEST(LineWalk, YMajorLine)
{
    EXPECT_EQ(Walk(0, 0, 2, 5), (std::vector<Pixel>{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}));
}

TEST(LineWalk, LeftwardLineMovesTheMinorAxisOnATie)
{
    EXPECT_EQ(Walk(0, 0, -4, 1), (std::vector<Pixel>{{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}, {-4, 1}}));
}

TEST(LineWalk, DiagonalVisitsEachDiagonalPixel)
{
    EXPECT_EQ(Walk(0, 0, 3, 3), (std::vector<Pixel>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(Walk(3, -3, 0, 0), (std::vector<Pixel>{{3, -3}, {2, -2}, {1, -1}, {0, 0}}));
}

TEST(LineWalk, ZeroLengthLineVisitsItsPixelOnce)
{
    EXPECT_EQ(Walk(7, -2, 7, -2), (std::vector<Pixel>{{7, -2}}));
}

TEST(LineWalk, AxisParallelLines)
{
    EXPECT_EQ(Walk(2, 5, 2, 2), (std::vector<Pixel>{{2, 5}, {2, 4}, {2, 3}, {2, 2}}));
    EXPECT_EQ(Walk(-1, 0, 1, 0), (std::vector<Pixel>{{-1, 0}, {0, 0}, {1, 0}}));
}

TEST(LineWalk, RandomLinesAreConnectedAndEndWhereAsked)
{
    std::mt19937 random(20261205);
    std::uniform_int_distribution<i32> coordinate(-300, 300);
    for (int line = 0; line < 2000; ++line) {
        const i32 x0 = coordinate(random), y0 = coordinate(random);
        const i32 x1 = coordinate(random), y1 = coordinate(random);
        const std::vector<Pixel> pixels = Walk(x0, y0, x1, y1);
        const i32 major = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(major) + 1);
        ASSERT_EQ(pixels.front(), Pixel(x0, y0));
        ASSERT_EQ(pixels.back(), Pixel(x1, y1));
        const bool alongX = std::abs(x1 - x0) > std::abs(y1 - y0);
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const i32 stepX = std::abs(pixels[i].first - pixels[i - 1].first);
            const i32 stepY = std::abs(pixels[i].second - pixels[i - 1].second);
            ASSERT_EQ(alongX ? stepX : stepY, 1) << "line " << x0 << "," << y0 << " to " << x1 << "," << y1;
            ASSERT_LE(alongX ? stepY : stepX, 1);
        }
    }
}
