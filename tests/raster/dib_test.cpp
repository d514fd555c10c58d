// The DIB section behind the GDI surface, on real GDI.
#include "tevrin/core/exception.h"
#include "tevrin/raster/dib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Header memory from malloc and free, counted; `refuse` makes the allocation fail.
struct CountedDib : tevrin::dib {
    int allocations = 0;
    int releases = 0;
    bool refuse = false;
    CountedDib()
    {
        allocate = [this](size_t bytes) -> void* { return refuse ? nullptr : (++allocations, std::malloc(bytes)); };
        release = [this](void* block) { ++releases, std::free(block); };
    }

    // The text thrown by the creation, or "" when it succeeded.
    std::string Create(int width, int bits, bool indexed = false)
    {
        static const tevrin::u8 palette[4 * 256] = {};
        try {
            if (indexed)
                create_indexed(nullptr, width, 7, bits, palette, "test", true);
            else
                create(nullptr, width, 7, bits, "test", true);
        } catch (const tevrin::exception& error) {
            return error.what();
        }
        return "";
    }

    bool AllBytesAre(int value) const
    {
        GdiFlush();
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (bits()[y * row_bytes() + x] != value)
                    return false;
        return true;
    }
};

}  // namespace

TEST(Dib, GreyTopDownCanvasKeptAtTheSameSize)
{
    CountedDib canvas;
    ASSERT_EQ(canvas.Create(13, 8), "");
    EXPECT_EQ(canvas.row_bytes(), 16) << "GDI rounds rows up to four bytes";
    EXPECT_EQ(canvas.header()->bmiHeader.biHeight, -7);
    EXPECT_EQ(canvas.height(), 7);
    const struct {
        COLORREF colour;
        int grey;
    } fills[] = {{0xC0C0C0, 192}, {0x000000, 0}, {0xFFFFFF, 255}, {0x01000000, 0}};
    for (const auto& fill : fills) {
        canvas.fill_color(fill.colour);
        EXPECT_TRUE(canvas.AllBytesAre(fill.grey)) << std::hex << fill.colour;
    }
    PatBlt(canvas.memory_dc(), 0, 0, 13, 1, WHITENESS);  // GDI's top row is the first in memory
    GdiFlush();
    EXPECT_EQ(canvas.bits()[0], 255);
    EXPECT_EQ(canvas.bits()[6 * 16], 0);

    canvas.Create(13, 8);
    EXPECT_EQ(canvas.bits()[0], 255) << "the same size and depth keeps the pixels";
    EXPECT_EQ(canvas.allocations, 1);
    canvas.Create(14, 8);
    EXPECT_EQ(canvas.releases, 1);
    canvas.destroy();
    canvas.destroy();
    EXPECT_EQ(canvas.releases, 2);
    EXPECT_EQ(canvas.bits(), nullptr);
}

TEST(Dib, FailedCreationThrowsItsTextAndLeavesItEmpty)
{
    const struct {
        int bits;
        bool indexed, refuse;
        const char* text;
    } rows[] = {
        {32, false, false, "limitcheck: only 1-bit, 8-bit, 16-bit or 24-bit DIBSections can be created."},
        {24, true, false, "limitcheck: only 1-bit, 8-bit DIBSections can be created as indexed-color."},
        {8, false, true, "memfull: can't allocate bitmap"},
    };
    for (const auto& row : rows) {
        CountedDib canvas;
        ASSERT_EQ(canvas.Create(16, 8), "");
        canvas.refuse = row.refuse;
        EXPECT_EQ(canvas.Create(4, row.bits, row.indexed), row.text);
        EXPECT_EQ(canvas.header(), nullptr) << row.text;
        EXPECT_EQ(canvas.releases, 1) << row.text;
    }
    tevrin::dib withoutAllocator;
    EXPECT_THROW(withoutAllocator.create(nullptr, 4, 4, 8, "test", true), tevrin::empty_delegate_error);
}
