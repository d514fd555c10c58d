// The main window's layout rule, natively: at 96 DPI with texts that fit, every box
// where it always was. (The fit at other scales is checked on the real window under
// Wine, app_window_test.cpp, at four DPIs.)
#include "app/main_window_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Corners(const Box& box)
{
    return {box.left, box.top, box.width, box.height};
}

}  // namespace

TEST(MainWindowLayout, At96DpiWithTextsThatFitEveryBoxIsWhereItAlwaysWas)
{
    // Segoe UI 9 pt at 96 DPI on Windows: "Pressure gamma:" is about 85 pixels wide.
    MainWindowMeasures m;
    m.gdiCaption = m.openGLCaption = {40, 16};
    m.clearButton = {34, 20};
    m.gammaCaption = {85, 16};
    m.gammaValue = {22, 16};
    m.gdiSurface = {0, 0, 360, 360};
    m.openGLSurface = {361, 0, 360, 360};
    m.clientWidth = 721;
    m.clientHeight = 640;
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
