// The DIB section behind the GDI surface, on real GDI.
#include "tevrin/core/exception.h"
#include "tevrin/raster/dib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Header memory from malloc and free, counted; `refuse` makes the allocation fail.
struct CountedDib : tevrin::dib {
    CountedDib()
    {
        allocate = [this](size_t bytes) -> void* { return refuse ? nullptr : (++allocations, std::malloc(bytes)); };
        release = [this](void* block) { ++releases, std::free(block); };
    }
    // What the creation of a width x 7 section threw, or "".
    std::string Create(int width, int bits, bool indexed = false) try {
        static const tevrin::u8 palette[4 * 256] = {};
        if (indexed)
            create_indexed(nullptr, width, 7, bits, palette, "test", true);
        else
            create(nullptr, width, 7, bits, "test", true);
        return "";
    } catch (const tevrin::exception& error) {
        return error.what();
    }

    int allocations = 0, releases = 0;
    bool refuse = false;
};

}  // namespace

TEST(Dib, GreyTopDownCanvasKeptAtTheSameSizeAndFailuresThatLeaveItEmpty)
{
    CountedDib canvas;
    ASSERT_EQ(canvas.Create(13, 8), "");
    EXPECT_EQ(canvas.row_bytes(), 16) << "GDI rounds rows up to four bytes";
    const std::pair<COLORREF, int> fills[] = {{0xC0C0C0, 192}, {0x000000, 0}, {0xFFFFFF, 255}, {0x01000000, 0}};
    for (const auto& fill : fills) {
        canvas.fill_color(fill.first);
        GdiFlush();
        EXPECT_EQ(std::string(canvas.bits() + 6 * 16, canvas.bits() + 6 * 16 + 13), std::string(13, char(fill.second)))
            << std::hex << fill.first;
    }
    PatBlt(canvas.memory_dc(), 0, 0, 13, 1, WHITENESS);  // top-down: GDI's top row is the first in memory
    canvas.Create(13, 8);
    GdiFlush();
    EXPECT_EQ(canvas.bits()[0], 255) << "the same size and depth keeps the section and its pixels";
    EXPECT_EQ(canvas.allocations, 1);

    const struct {
        int bits;
        bool indexed, refuse;
        const char* text;
    } rows[] = {{32, false, false, "limitcheck: only 1-bit, 8-bit, 16-bit or 24-bit DIBSections can be created."},
                {24, true, false, "limitcheck: only 1-bit, 8-bit DIBSections can be created as indexed-color."},
                {8, false, true, "memfull: can't allocate bitmap"}};
    for (const auto& row : rows) {
        CountedDib failing;  // a failure destroys the section that was there
        ASSERT_EQ(failing.Create(16, 8), "");
        failing.refuse = row.refuse;
        EXPECT_EQ(failing.Create(4, row.bits, row.indexed), row.text);
        EXPECT_EQ(failing.header(), nullptr) << row.text;
        EXPECT_EQ(failing.releases, 1) << row.text;
    }
}
