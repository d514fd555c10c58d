// The main window's layout rule, natively: at 96 DPI with texts that fit, every box
// where it always was; at other scales and with wider texts, boxes that hold their
// texts and never overlap.
#include "app/main_window_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

MainWindowMeasures Measures(int dpi, BoxSize caption, BoxSize button, BoxSize gammaCaption, BoxSize value)
{
    MainWindowMeasures m;
    m.dpi = dpi;
    m.gdiCaption = m.openGLCaption = caption;
    m.clearButton = button;
    m.gammaCaption = gammaCaption;
    m.gammaValue = value;
    m.gdiSurface = {0, 0, 360, 360};
    m.openGLSurface = {361, 0, 360, 360};
    m.clientWidth = 721;
    m.clientHeight = 640;
    return m;
}

std::vector<int> Corners(const Box& box)
{
    return {box.left, box.top, box.width, box.height};
}

}  // namespace

TEST(MainWindowLayout, At96DpiWithTextsThatFitEveryBoxIsWhereItAlwaysWas)
{
    // Segoe UI 9 pt at 96 DPI on Windows: "Pressure gamma:" is about 85 pixels wide.
    const MainWindowLayout l = LayOutMainWindow(Measures(96, {40, 16}, {34, 20}, {85, 16}, {22, 16}));
    const std::pair<Box, std::vector<int>> rows[] = {
        {l.gdiCaption, {2, 365, 100, 20}},     {l.openGLCaption, {363, 365, 100, 20}},
        {l.gdiClearButton, {155, 365, 50, 20}}, {l.openGLClearButton, {516, 365, 50, 20}},
        {l.gammaCaption, {10, 394, 100, 25}},  {l.gammaSlider, {115, 392, 200, 20}},
        {l.gammaValue, {325, 395, 25, 20}},    {l.logPane, {0, 432, 721, 208}}};
    for (const auto& [box, expected] : rows)
        EXPECT_EQ(Corners(box), expected);
    EXPECT_EQ((std::vector<int>{l.minimumClientWidth, l.minimumClientHeight}), (std::vector<int>{721, 640}));
}

TEST(MainWindowLayout, BoxesScaleGrowForTheirTextsAndNeverOverlap)
{
    const struct {
        int dpi;
        int textScale;  // percent: a substituted or enlarged face
    } rows[] = {{96, 100}, {96, 150}, {120, 100}, {144, 100}, {144, 160}, {192, 100}, {192, 200}};
    for (const auto& row : rows) {
        const auto text = [&row](int width, int height) {
            return BoxSize{ScaleToDpi(width, row.dpi) * row.textScale / 100, ScaleToDpi(height, row.dpi) * row.textScale / 100};
        };
        const MainWindowMeasures m = Measures(row.dpi, text(40, 16), text(34, 20), text(105, 16), text(26, 16));
        const MainWindowLayout l = LayOutMainWindow(m);
        const std::pair<Box, BoxSize> boxes[] = {{l.gdiCaption, m.gdiCaption},        {l.openGLCaption, m.openGLCaption},
                                                 {l.gdiClearButton, m.clearButton},    {l.openGLClearButton, m.clearButton},
                                                 {l.gammaCaption, m.gammaCaption},     {l.gammaValue, m.gammaValue},
                                                 {l.gammaSlider, {ScaleToDpi(200, row.dpi), ScaleToDpi(20, row.dpi)}},
                                                 {m.gdiSurface, {}}, {m.openGLSurface, {}}};
        const std::string at = std::to_string(row.dpi) + " DPI, text " + std::to_string(row.textScale) + "%";
        for (const auto& [box, needed] : boxes) {
            EXPECT_GE(box.width, needed.width) << at;
            EXPECT_GE(box.height, needed.height) << at;
            EXPECT_LE(box.Right(), l.minimumClientWidth) << at;
            for (const auto& [other, unused] : boxes) {
                const bool apart = &other == &box || box.Right() <= other.left || other.Right() <= box.left ||
                                   box.Bottom() <= other.top || other.Bottom() <= box.top;
                EXPECT_TRUE(apart) << at << ": " << box.left << "," << box.top << " and " << other.left << "," << other.top;
            }
            EXPECT_LE(box.Bottom() + 2, l.logPane.top) << at << ": clear of the log pane and its separator";
        }
        EXPECT_EQ(l.minimumClientHeight, l.logPane.top + ScaleToDpi(208, row.dpi)) << at;
    }
}
