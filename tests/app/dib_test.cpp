// The DIB section behind the GDI surface and the log pane, on real GDI.
#include "tevrin/core/exception.h"
#include "tevrin/raster/dib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using tevrin::dib;

namespace {

// A dib whose header memory comes from malloc and free, counted.
struct CountedDib : dib {
    int allocations = 0;
    int releases = 0;
    bool refuse = false;
    CountedDib()
    {
        allocate = [this](size_t bytes) -> void* {
            if (refuse)
                return nullptr;
            ++allocations;
            return std::malloc(bytes);
        };
        release = [this](void* block) {
            ++releases;
            std::free(block);
        };
    }
};

bool AllBytesAre(const dib& canvas, int value)
{
    for (int y = 0; y < canvas.height(); ++y) {
        const tevrin::u8* row = canvas.bits() + y * canvas.row_bytes();
        for (int x = 0; x < canvas.width(); ++x)
            if (row[x] != value)
                return false;
    }
    return true;
}

std::string ThrownText(dib& canvas, int bits, bool indexed)
{
    static const tevrin::u8 palette[4 * 256] = {};
    try {
        if (indexed)
            canvas.create_indexed(nullptr, 4, 4, bits, palette, "test", true);
        else
            canvas.create(nullptr, 4, 4, bits, "test", true);
    } catch (const tevrin::exception& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

}  // namespace

TEST(Dib, GreyCanvasTakesTheNearestGreyForEachFill)
{
    CountedDib canvas;
    canvas.create(nullptr, 37, 11, 8, "dib_native", true);
    ASSERT_NE(canvas.bits(), nullptr);
    canvas.fill_color(0xC0C0C0);
    EXPECT_TRUE(AllBytesAre(canvas, 192));
    canvas.fill_color(0);
    EXPECT_TRUE(AllBytesAre(canvas, 0));
    canvas.fill_color(0xFFFFFF);
    EXPECT_TRUE(AllBytesAre(canvas, 255));
    // The byte above blue is not part of the colour.
    canvas.fill_color(0x01000000);
    EXPECT_TRUE(AllBytesAre(canvas, 0));
}

TEST(Dib, RowsAreRoundedUpToFourBytesAndTopDownHeightIsNegative)
{
    CountedDib canvas;
    canvas.create(nullptr, 13, 7, 8, "rows", true);
    EXPECT_EQ(canvas.row_bytes(), 16);
    EXPECT_EQ(canvas.width(), 13);
    EXPECT_EQ(canvas.height(), 7);
    EXPECT_EQ(canvas.header()->bmiHeader.biHeight, -7);
    EXPECT_EQ(canvas.header()->bmiColors[200].rgbGreen, 200);

    CountedDib bottomUp;
    bottomUp.create(nullptr, 13, 7, 24, "rows", false);
    EXPECT_EQ(bottomUp.header()->bmiHeader.biHeight, 7);
    EXPECT_EQ(bottomUp.row_bytes(), 40);
}

TEST(Dib, TopDownRowsStartAtTheTopAsGdiDrawsThem)
{
    CountedDib canvas;
    canvas.create(nullptr, 8, 8, 8, "orientation", true);
    canvas.fill_color(0xFFFFFF);
    PatBlt(canvas.memory_dc(), 0, 0, 8, 1, BLACKNESS);
    GdiFlush();
    EXPECT_EQ(canvas.bits()[0], 0);
    EXPECT_EQ(canvas.bits()[7 * canvas.row_bytes()], 255);
}

TEST(Dib, SameSizeAndDepthKeepsThePixels)
{
    CountedDib canvas;
    canvas.create(nullptr, 800, 600, 8, "keep", true);
    canvas.bits()[12345] = 77;
    canvas.create(nullptr, 800, 600, 8, "keep", false);
    EXPECT_EQ(canvas.bits()[12345], 77);
    EXPECT_EQ(canvas.allocations, 1);

    canvas.create(nullptr, 801, 600, 8, "grow", true);
    EXPECT_EQ(canvas.allocations, 2);
    EXPECT_EQ(canvas.releases, 1);
}

TEST(Dib, UnsupportedDepthsAreRefused)
{
    CountedDib canvas;
    EXPECT_EQ(ThrownText(canvas, 32, false),
              "limitcheck: only 1-bit, 8-bit, 16-bit or 24-bit DIBSections can be created.");
    EXPECT_EQ(ThrownText(canvas, 24, true),
              "limitcheck: only 1-bit, 8-bit DIBSections can be created as indexed-color.");
    EXPECT_EQ(canvas.allocations, 0);
}

TEST(Dib, FailedAllocationAndReplacedSectionLeaveItEmpty)
{
    CountedDib canvas;
    canvas.create(nullptr, 16, 16, 8, "first", true);
    canvas.refuse = true;
    EXPECT_EQ(ThrownText(canvas, 8, false), "memfull: can't allocate bitmap");
    EXPECT_EQ(canvas.header(), nullptr);
    EXPECT_EQ(canvas.memory_dc(), nullptr);
    EXPECT_EQ(canvas.releases, 1);
}

TEST(Dib, IndexedPaletteIsStoredBlueFirst)
{
    CountedDib canvas;
    tevrin::u8 palette[8] = {10, 20, 30, 0, 200, 100, 50, 0};
    canvas.create_indexed(nullptr, 9, 9, 1, palette, "mono", true);
    const RGBQUAD* colours = canvas.header()->bmiColors;
    EXPECT_EQ(colours[0].rgbRed, 10);
    EXPECT_EQ(colours[0].rgbGreen, 20);
    EXPECT_EQ(colours[0].rgbBlue, 30);
    EXPECT_EQ(colours[1].rgbRed, 200);
    EXPECT_EQ(colours[1].rgbBlue, 50);
}

TEST(Dib, DestroyReleasesEverythingOnce)
{
    CountedDib canvas;
    canvas.create(nullptr, 16, 16, 16, "gone", true);
    canvas.destroy();
    EXPECT_EQ(canvas.bits(), nullptr);
    EXPECT_EQ(canvas.header(), nullptr);
    EXPECT_EQ(canvas.releases, 1);
    canvas.destroy();
    EXPECT_EQ(canvas.releases, 1);
}

TEST(Dib, EmptyAllocatorThrowsTheDelegateError)
{
    dib canvas;
    EXPECT_THROW(canvas.create(nullptr, 4, 4, 8, "no allocator", true), tevrin::empty_delegate_error);
}
