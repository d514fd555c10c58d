// The main window's layout rules, natively: at 96 DPI with texts that fit, every box
// where it always was; at every scale Windows offers, with the interface font's text
// sizes at that scale, every box holds its text, nothing overlaps, and the boxes keep
// the order and the gaps of 96 DPI. (The real window under Wine: app_window_test.cpp.)
#include "app/main_window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<int> Corners(const Box& box) { return {box.left, box.top, box.width, box.height}; }

// Text sizes of the interface font, Segoe UI 9 pt, from the font's published metrics
// (units per em 2048, ascent 2210, descent 514, mean advance of Latin text 908 units;
// as listed by the @capsizecss/metrics package): the em is 9 pt at the DPI, a text is
// its characters times the mean advance, plus 10 % for the wide capitals and hinting
// ("Pressure gamma:" comes to 88 pixels at 96 DPI; about 85 on Windows). The face Wine
// substitutes is wider (105 pixels for that text, platform notes): the second face.
struct Face { const char* name; double widthFactor; };
constexpr Face segoeUi = {"Segoe UI", 1.1}, wineSubstitute = {"Wine's substitute", 1.45};

BoxSize TextSize(const char* text, int dpi, const Face& face)
{
    const double em = std::round(9.0 * dpi / 72.0);
    const double width = static_cast<double>(std::strlen(text)) * 908.0 / 2048.0 * em * face.widthFactor;
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil((2210.0 + 514.0) / 2048.0 * em))};
}

MainWindowMeasures MeasuresAt(int dpi, const Face& face)
{
    MainWindowMeasures m;
    m.dpi = dpi;
    m.gdiCaption = TextSize("GDI", dpi, face);
    m.openGLCaption = TextSize("OpenGL", dpi, face);
    const BoxSize clear = TextSize("Clear", dpi, face);
    m.clearButton = {clear.width + 2 * ScaleToDpi(3, dpi), clear.height + 2 * ScaleToDpi(2, dpi)};  // edge and focus
    m.gammaCaption = TextSize("Pressure gamma:", dpi, face);
    m.gammaValue = TextSize("5.00", dpi, face);
    m.gdiSurface = {0, 0, 360, 360};  // the surfaces keep their device pixels
    m.openGLSurface = {361, 0, 360, 360};
    return m;
}

bool Overlap(const Box& a, const Box& b) { return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom(); }

}  // namespace

TEST(MainWindowLayout, At96DpiWithTextsThatFitEveryBoxIsWhereItAlwaysWas)
{
    MainWindowMeasures m = MeasuresAt(96, segoeUi);
    m.clientWidth = 721, m.clientHeight = 640;
    const MainWindowLayout l = LayOutMainWindow(m);
    const std::pair<Box, std::vector<int>> rows[] = {
        {l.gdiCaption, {2, 365, 100, 20}},     {l.openGLCaption, {363, 365, 100, 20}},
        {l.gdiClearButton, {155, 365, 50, 20}}, {l.openGLClearButton, {516, 365, 50, 20}},
        {l.gammaCaption, {10, 394, 100, 25}},  {l.gammaSlider, {115, 392, 200, 20}},
        {l.gammaValue, {325, 395, 25, 20}},    {l.logPane, {0, 432, 721, 208}}};
    for (const auto& [box, expected] : rows)
        EXPECT_EQ(Corners(box), expected);
    EXPECT_EQ((std::vector<int>{l.minimumClientWidth, l.minimumClientHeight}), (std::vector<int>{721, 640}));
}

// Laid out at its own minimum client size, at every DPI Windows offers (100 % to 350 %).
TEST(MainWindowLayout, AtEveryScaleEveryBoxHoldsItsTextNothingOverlapsAndTheOrderAndGapsStay)
{
    for (const Face& face : {segoeUi, wineSubstitute}) {
        for (int dpi : {96, 120, 144, 168, 192, 216, 240, 288, 336}) {
            SCOPED_TRACE(std::string(face.name) + " at " + std::to_string(dpi) + " DPI");
            MainWindowMeasures m = MeasuresAt(dpi, face);
            const MainWindowLayout first = LayOutMainWindow(m);
            m.clientWidth = first.minimumClientWidth, m.clientHeight = first.minimumClientHeight;
            const MainWindowLayout l = LayOutMainWindow(m);
            const auto s = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };

            const std::pair<Box, BoxSize> holds[] = {
                {l.gdiCaption, m.gdiCaption},       {l.openGLCaption, m.openGLCaption},
                {l.gdiClearButton, m.clearButton},  {l.openGLClearButton, m.clearButton},
                {l.gammaCaption, m.gammaCaption},   {l.gammaValue, m.gammaValue},
                {l.gammaSlider, {s(200), s(20)}}};
            for (const auto& [box, text] : holds)
                EXPECT_TRUE(box.width >= text.width && box.height >= text.height) << "box at " << box.left << "," << box.top;

            const Box boxes[] = {m.gdiSurface,        m.openGLSurface, l.gdiCaption,  l.gdiClearButton,
                                 l.openGLCaption,     l.openGLClearButton, l.gammaCaption, l.gammaSlider,
                                 l.gammaValue,        l.logPane};
            for (const Box& box : boxes)
                EXPECT_LE(box.Right(), m.clientWidth) << "fits the minimum width: box at " << box.left << "," << box.top;
            for (size_t i = 0; i < std::size(boxes); ++i)
                for (size_t j = i + 1; j < std::size(boxes); ++j)
                    EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << "boxes " << i << " and " << j;

            // Left to right, with the 96-DPI gaps scaled: the row under the surfaces,
            // each caption under its own surface; then the gamma row.
            const std::pair<Box, Box> inOrder[] = {{l.gdiCaption, l.gdiClearButton},
                                                   {l.gdiClearButton, l.openGLCaption},
                                                   {l.openGLCaption, l.openGLClearButton},
                                                   {l.gammaCaption, l.gammaSlider}};
            for (const auto& [before, after] : inOrder)
                EXPECT_GE(after.left - before.Right(), s(5)) << "gap before the box at " << after.left;
            EXPECT_GE(l.gammaValue.left - l.gammaSlider.Right(), s(10));
            EXPECT_EQ(l.gdiCaption.left, s(2));
            EXPECT_GE(l.openGLCaption.left, m.openGLSurface.left + s(2));
            EXPECT_LT(l.openGLCaption.left, m.openGLSurface.Right());
            int row = 0;
            for (const Box& box : {l.gdiCaption, l.gdiClearButton, l.openGLCaption, l.openGLClearButton}) {
                EXPECT_EQ(box.top, 360 + s(5)) << "under the surfaces: box at " << box.left;
                row = std::max(row, box.Bottom());
            }
            for (const Box& box : {l.gammaCaption, l.gammaSlider, l.gammaValue})
                EXPECT_GE(box.top - row, s(7)) << "the gamma row below: box at " << box.left;
            EXPECT_GE(l.logPane.top - l.gammaSlider.Bottom(), s(20));
            EXPECT_GE(l.logPane.height, s(208)) << "the log pane's minimum height";
        }
    }
}
