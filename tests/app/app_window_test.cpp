// The main window as the program builds it, on real windows under Wine (Mesa's llvmpipe
// for OpenGL), driven by real messages: layout, the gamma slider, the commands, strokes
// on the GDI surface against the stamping rule, and both surfaces' own rules.
#include "app/app_window.h"
#include "app/brush_stamp.h"
#include "app/nibscope_view_gl.h"
#include "app/nibscope_view_native.h"
#include "app/pressure_mapping.h"
#include "tevrin/tablet/pen_state.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/handle_queries.h"
#include "tevrin/ui/log_view.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

#ifndef WM_GETDPISCALEDSIZE  // named by the headers only for Windows 10 version 1703 on
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace {

constexpr int surface = 360;
constexpr float mouse = 0.125f;  // pressure 0.5 without a tablet, at the default gamma 3.0

struct Stamp { int x, y; float mapped; };

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window->Create(720, 700, nullptr, 0, 0);
        window->SetClientSize(AppWindow::minimumClientWidth, AppWindow::minimumClientHeight);
        window->Show(true);
    }
    void TearDown() override { tevrin::stylus_in_use = false; DestroyWindow(window->GetHandle()); }

    NibscopeViewNative& Gdi() const { return *window->GetGdiView(); }
    void Send(UINT message, WPARAM keys, int x, int y) { SendMessageW(Gdi().GetHandle(), message, keys, MAKELPARAM(x, y)); }
    void MoveSlider(int position)
    {
        HWND slider = GetDlgItem(window->GetHandle(), AppWindow::gammaSliderId);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(window->GetHandle(), WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
    }

    int Pixel(int x, int y) const
    {
        GdiFlush();
        return Gdi().Canvas().bits()[y * Gdi().Canvas().row_bytes() + x];
    }
    // The canvas must equal a cleared surface with these stamps, by the stamping rule.
    void ExpectCanvas(const std::vector<Stamp>& stamps) const
    {
        std::vector<tevrin::u8> expected(surface * surface, 192);
        for (const Stamp& s : stamps)
            StampRoundBrush({expected.data(), surface, surface, surface}, s.x, s.y, StampDiameter(s.mapped), s.mapped);
        for (int y = 0; y < surface; ++y)
            for (int x = 0; x < surface; ++x)
                ASSERT_EQ(Pixel(x, y), expected[y * surface + x]) << x << "," << y;
    }

    // Every text, in its control's own font, fits the control's client area (a button's
    // with its edge and focus margins); no two children of the window overlap.
    void ExpectTextsFitAndNothingOverlaps(int dpi) const
    {
        const struct { int id; const wchar_t* text; int marginX, marginY; } controls[] = {
            {AppWindow::gdiCaptionId, L"GDI", 0, 0}, {AppWindow::openGLCaptionId, L"OpenGL", 0, 0},
            {AppWindow::gdiClearButtonId, L"Clear", 3, 2}, {AppWindow::openGLClearButtonId, L"Clear", 3, 2},
            {AppWindow::gammaCaptionId, L"Pressure gamma:", 0, 0}, {AppWindow::gammaValueLabelId, L"5.00", 0, 0}};  // its widest
        for (const auto& c : controls) {
            const HWND control = GetDlgItem(window->GetHandle(), c.id);
            const HDC dc = GetDC(control);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));  // reset by ReleaseDC
            SIZE text = {};
            GetTextExtentPoint32W(dc, c.text, static_cast<int>(wcslen(c.text)), &text);
            ReleaseDC(control, dc);
            RECT client;
            GetClientRect(control, &client);
            EXPECT_LE(text.cx + 2 * ScaleToDpi(c.marginX, dpi), client.right) << "control " << c.id << " at " << dpi;
            EXPECT_LE(text.cy + 2 * ScaleToDpi(c.marginY, dpi), client.bottom) << "control " << c.id << " at " << dpi;
        }
        std::vector<RECT> boxes;
        for (HWND child = GetWindow(window->GetHandle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            boxes.push_back(tevrin::RectangleInParent(child));
        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                RECT both;
                EXPECT_FALSE(IntersectRect(&both, &boxes[i], &boxes[j])) << "children " << i << " and " << j << " at " << dpi;
            }
    }

    AppWindow* window = new AppWindow;  // deleted by the framework with its window
};

// The frame the view painted last, read back after its swap. Wine swaps a child window's
// off-screen drawable by copying, so the back buffer still holds that frame; on Windows
// it would be undefined after the swap.
std::vector<tevrin::u8> ShownFrame(NibscopeViewGL& view)
{
    view.GetContext()->MakeCurrent();
    std::vector<tevrin::u8> frame(surface * surface);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, surface, surface, GL_RED, GL_UNSIGNED_BYTE, frame.data());
    return frame;
}

}  // namespace

// The positions follow the layout rule (main_window_layout_test pins it to the
// 96-DPI positions where the texts fit; under Wine the gamma caption is wider).
TEST_F(MainWindow, LayoutSliderAndCommands)
{
    const MainWindowLayout layout = window->GetLayout();
    const std::pair<int, Box> controls[] = {
        {AppWindow::gdiCaptionId, layout.gdiCaption},         {AppWindow::openGLCaptionId, layout.openGLCaption},
        {AppWindow::gdiClearButtonId, layout.gdiClearButton}, {AppWindow::openGLClearButtonId, layout.openGLClearButton},
        {AppWindow::gammaCaptionId, layout.gammaCaption},     {AppWindow::gammaSliderId, layout.gammaSlider},
        {AppWindow::gammaValueLabelId, layout.gammaValue}};
    for (const auto& [id, box] : controls) {
        const tevrin::Control& control = *window->GetControl(id, false);
        EXPECT_EQ((std::vector<int>{control.GetLeft(), control.GetTop(), control.GetWidth(), control.GetHeight()}),
                  (std::vector<int>{box.left, box.top, box.width, box.height})) << "control " << id;
    }
    SetWindowPos(window->GetHandle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(window->GetClientWidth(), layout.minimumClientWidth) << "the size limits keep the minimum client area";
    EXPECT_EQ(window->GetClientHeight(), layout.minimumClientHeight);
    EXPECT_EQ(window->GetLogView()->GetTop(), layout.logPane.top);
    // The separator: one black row two above the log pane, as wide as the pane reaches.
    const int separatorRow = layout.logPane.top - 2;
    UpdateWindow(window->GetHandle());
    const HDC dc = GetDC(window->GetHandle());
    const int right = window->GetLogView()->GetLeft() + window->GetLogView()->GetWidth() - 1;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Probe { const char* what; int x, y; COLORREF colour; };
    const Probe separator[] = {{"its left end", 0, separatorRow, 0}, {"its right end", right, separatorRow, 0},
                               {"the row above it", 100, separatorRow - 1, face}, {"the row below it", 100, separatorRow + 1, face}};
    for (const auto& pixel : separator)
        EXPECT_EQ(GetPixel(dc, pixel.x, pixel.y), pixel.colour) << pixel.what;
    ReleaseDC(window->GetHandle(), dc);
    EXPECT_EQ(window->GetControlText(AppWindow::gammaValueLabelId), L"3.00");
    EXPECT_EQ(SendDlgItemMessageW(window->GetHandle(), AppWindow::gammaSliderId, TBM_GETPOS, 0, 0), 75);
    MoveSlider(100);  // the label's other values: Home, End and Page Down in the end-to-end surfaces test
    EXPECT_EQ(window->GetControlText(AppWindow::gammaValueLabelId), L"5.00");
    SetWindowTextW(GetDlgItem(window->GetHandle(), AppWindow::gammaValueLabelId), L"untouched");
    MoveSlider(100);
    EXPECT_EQ(window->GetControlText(AppWindow::gammaValueLabelId), L"untouched") << "the same position again";

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    EXPECT_TRUE(window->HandleCommand(AppWindow::gdiClearButtonId));
    ExpectCanvas({});
    EXPECT_TRUE(window->HandleCommand(AppWindow::openGLClearButtonId));
    EXPECT_FALSE(window->HandleCommand(AppWindow::gammaSliderId));
}

// The outer size of a client area at a DPI, with the frame Windows gives it there.
std::vector<LONG> OuterSizeAtDpi(HWND window, int clientWidth, int clientHeight, int dpi)
{
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);  // Windows 10 version 1607 on
    const auto adjust = reinterpret_cast<AdjustForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT outer = {0, 0, clientWidth, clientHeight};
    EXPECT_TRUE(adjust && adjust(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                                 static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), static_cast<UINT>(dpi)));
    return {outer.right - outer.left, outer.bottom - outer.top};
}

// Runs once per display scale (96, 120, 144, 192, 240 and 336 DPI), each in a prefix of
// its own. The move to another scale goes as Windows moves a window between monitors:
// it asks the size the window wants there (WM_GETDPISCALEDSIZE) and suggests a
// rectangle of that size (WM_DPICHANGED). From its minimum size the window wants the
// minimum there; what it has beyond its minimum goes with it, scaled, so the way back
// asks for the first size again.
TEST_F(MainWindow, EveryTextFitsItsControlAndNothingOverlapsAlsoAfterMovingToAnotherScaleAndBack)
{
    const HWND handle = window->GetHandle();
    const int dpi = tevrin::WindowDpi(handle);
    const char* prefixDpi = std::getenv("TEVRIN_WINE_DPI");  // Wine hands its environment on
    ASSERT_EQ(dpi, prefixDpi ? std::atoi(prefixDpi) : 96) << "the window is shown at the prefix's DPI";
    window->SetClientSize(window->GetLayout().minimumClientWidth, window->GetLayout().minimumClientHeight);
    ExpectTextsFitAndNothingOverlaps(dpi);
    const auto wantedAt = [handle](int newDpi) {
        SIZE wanted = {};
        EXPECT_TRUE(SendMessageW(handle, WM_GETDPISCALEDSIZE, newDpi, reinterpret_cast<LPARAM>(&wanted)));
        return std::vector<LONG>{wanted.cx, wanted.cy};
    };
    const std::vector<LONG> first = {window->GetWidth(), window->GetHeight()};
    EXPECT_EQ(wantedAt(dpi), first) << "at the same scale, the same size";
    const int other = dpi == 192 ? 120 : 192;
    const std::vector<LONG> wanted = wantedAt(other);
    RECT suggested;
    GetWindowRect(handle, &suggested);
    suggested.right = suggested.left + wanted[0], suggested.bottom = suggested.top + wanted[1];
    SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    const MainWindowLayout there = window->GetLayout();
    EXPECT_EQ(wanted, OuterSizeAtDpi(handle, there.minimumClientWidth, there.minimumClientHeight, other)) << "the minimum size there";
    ExpectTextsFitAndNothingOverlaps(other);
    RECT now;
    GetWindowRect(handle, &now);
    EXPECT_TRUE(now.left == suggested.left && now.top == suggested.top)
        << "the window takes the suggested position, within the screen: " << now.left << "," << now.top;
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(handle, AppWindow::gammaCaptionId, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(9, other, 72)) << "the interface font at the new DPI";
    EXPECT_EQ(window->GetLogView()->GetLineHeight(), ScaleToDpi(12, other));
    // Under Wine the frame keeps its size when the DPI changes, and the size limits may
    // refuse the suggested size: the window has what it got beyond the size it wanted,
    // and takes that back, scaled. On Windows it got what it wanted: the first size.
    const std::vector<LONG> back = {first[0] + MulDiv(window->GetWidth() - wanted[0], dpi, other),
                                    first[1] + MulDiv(window->GetHeight() - wanted[1], dpi, other)};
    EXPECT_EQ(wantedAt(dpi), back) << "the way back";
}

TEST_F(MainWindow, OtherButtonsPaintOnlyTheirPressAndAMoveOntoThePreviousStampPaintsOneThere)
{
    Gdi().SetGamma(1.0f);  // diameter 21: a second stamp still darkens the soft edge
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 200, 200);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 250, 200);
    Send(WM_MBUTTONDOWN, MK_MBUTTON, 60, 300);
    Send(WM_MOUSEMOVE, MK_MBUTTON, 90, 300);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 100);
    ExpectCanvas({{200, 200, 0.5f}, {60, 300, 0.5f}, {100, 100, 0.5f}, {100, 100, 0.5f}});
}

TEST_F(MainWindow, PressureIsInterpolatedAlongTheWalkedLineFromLightToHeavy)
{
    tevrin::stylus_in_use = true;
    tevrin::pen_state.pressure = 0.5f;  // 0.125 mapped
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    tevrin::pen_state.pressure = 1.0f;
    Send(WM_MOUSEMOVE, MK_LBUTTON, 110, 100);
    std::vector<Stamp> stamps = {{100, 100, 0.125f}};
    for (int i = 1; i <= 10; ++i)
        stamps.push_back({100 + i, 100, 0.125f + (static_cast<float>(i) / 10.0f) * (1.0f - 0.125f)});
    EXPECT_EQ(StampDiameter(stamps[5].mapped), 23) << "the middle stamp";
    ExpectCanvas(stamps);
}

TEST_F(MainWindow, AMoveOf1000PixelsStopsAt500PointsAndTheNextMoveGoesOnFromThere)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 180);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 1000, 180);
    // From the 500th point (499, 180) this line crosses the right edge near y 236;
    // from (1000, 180) it would cross near y 276.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 200, 300);
    EXPECT_LT(Pixel(359, 236), 192);
    EXPECT_EQ(Pixel(359, 276), 192);
}

// What a stroke repaints, read from the screen right after the stroke's own paints,
// with nothing else repainted: every pixel the canvas changed is on screen. The stroke
// runs off the right and the bottom edge, where a stamp's changed area is cut to the
// canvas without its spare margin: shown one column or row short, the stroke's edge
// would stay unpainted.
TEST_F(MainWindow, TheGdiSurfaceShowsEveryPixelOfAStrokeWithoutAFullRepaint)
{
    const HWND gdi = Gdi().GetHandle();
    RedrawWindow(window->GetHandle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const POINT stroke[] = {{40, 60}, {200, 120}, {380, 150}, {300, 250}, {200, 380}, {120, 300}};
    Send(WM_LBUTTONDOWN, MK_LBUTTON, stroke[0].x, stroke[0].y);
    for (const POINT& to : stroke)
        Send(WM_MOUSEMOVE, MK_LBUTTON, to.x, to.y);
    Send(WM_LBUTTONUP, 0, 120, 300);
    UpdateWindow(gdi);
    const HDC screen = GetDC(gdi);
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < surface; ++y)
        for (int x = 0; x < surface; ++x)  // rows 10 and 11 hold the focus bar
            if (y != 10 && y != 11 && GetRValue(GetPixel(screen, x, y)) != Pixel(x, y) && differing++ == 0)
                firstX = x, firstY = y;
    ReleaseDC(gdi, screen);
    EXPECT_EQ(differing, 0) << "pixels not shown, the first at " << firstX << "," << firstY;
}

TEST_F(MainWindow, GdiSurfaceFocusBarAndResizing)
{
    const HWND gdi = Gdi().GetHandle();
    const HDC dc = GetDC(gdi);
    for (bool focus : {true, false}) {
        SetFocus(focus ? gdi : window->GetHandle());
        UpdateWindow(gdi);
        const COLORREF bar = focus ? 0 : 0xC0C0C0;
        struct Probe { const char* what; int x, y; bool onBar; };
        const Probe pixels[] = {{"bar's first", 10, 10, true}, {"bar's last", 349, 11, true}, {"left of it", 9, 10, false},
                                {"right of it", 350, 11, false}, {"above it", 100, 9, false}, {"below it", 100, 12, false}};
        for (const auto& p : pixels)
            EXPECT_EQ(GetPixel(dc, p.x, p.y), p.onBar ? bar : 0xC0C0C0) << p.what << ", focus " << focus;
    }
    ReleaseDC(gdi, dc);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    EXPECT_TRUE(Gdi().HandleSizeEvent(surface, surface));
    ExpectCanvas({{100, 100, mouse}});
    Gdi().SetSize(surface, 200);
    EXPECT_EQ(Gdi().Canvas().height(), 200);
    EXPECT_EQ(Pixel(100, 100), 192) << "another size clears it";
}

TEST_F(MainWindow, OpenGLSurfaceStampsReachBothCopiesAndTheFrameUntilTheSizeChanges)
{
    NibscopeViewGL& view = *window->GetOpenGLView();
    std::vector<tevrin::u8> expected(surface * surface, NibscopeViewGL::background);
    auto stamp = [&view, &expected](const std::vector<std::vector<int>>& stamps) {  // x, y, diameter, percent
        for (const std::vector<int>& s : stamps) {
            view.Stamp(s[0], s[1], s[2], s[3] / 100.0f);
            StampRoundBrush({expected.data(), surface, surface, surface}, s[0], s[1], s[2], s[3] / 100.0f);
        }
    };
    UpdateWindow(view.GetHandle());
    stamp({{-40, 100, 21, 100}, {100, surface + 40, 21, 100}});
    EXPECT_FALSE(GetUpdateRect(view.GetHandle(), nullptr, FALSE)) << "a dirty square wholly outside the canvas";
    stamp({{100, 120, 21, 60}, {2, 358, 30, 100}, {359, 0, 11, 40}, {-5, 180, 15, 70}});
    EXPECT_TRUE(GetUpdateRect(view.GetHandle(), nullptr, FALSE));
    tevrin::ITexture& canvas = *view.GetCanvasTexture();
    EXPECT_EQ(canvas.pixels, expected);
    canvas.Read();
    EXPECT_EQ(canvas.pixels, expected) << "the GPU's copy: each dirty rectangle was uploaded";

    // The view's own frame, with the focus and without: the mark is two black rows, 10 pixels in.
    for (const bool focus : {true, false}) {
        SCOPED_TRACE(focus ? "focused" : "not focused");
        SetFocus(focus ? view.GetHandle() : window->GetHandle());
        InvalidateRect(view.GetHandle(), nullptr, FALSE);
        UpdateWindow(view.GetHandle());
        std::vector<tevrin::u8> expectedFrame = expected;
        for (const int row : {10, 11})
            std::fill_n(expectedFrame.begin() + row * surface + 10, focus ? surface - 20 : 0, 0);
        const std::vector<tevrin::u8> frame = ShownFrame(view);
        for (int y = 0; y < surface; ++y)  // GL counts rows from the bottom
            ASSERT_TRUE(std::equal(expectedFrame.begin() + y * surface, expectedFrame.begin() + (y + 1) * surface,
                                   frame.begin() + (surface - 1 - y) * surface)) << "row " << y;
    }

    const std::vector<tevrin::u8> drawn = canvas.pixels;
    EXPECT_TRUE(view.HandleSizeEvent(surface, surface));
    EXPECT_EQ(view.GetCanvasTexture()->pixels, drawn) << "the same size keeps the drawing";
    view.SetSize(250, 140);
    EXPECT_EQ(view.GetCanvasTexture()->pixels, std::vector<tevrin::u8>(250 * 140, 192)) << "another makes a fresh one";
}
