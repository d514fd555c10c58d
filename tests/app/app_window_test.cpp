// The main window as the program builds it, on real windows under Wine, driven by real
// messages: layout, the gamma slider, the commands, and strokes on the GDI surface
// compared with the stamping rule.
#include "app/app_window.h"
#include "app/brush_stamp.h"
#include "app/nibscope_view_native.h"
#include "app/pressure_mapping.h"
#include "tevrin/tablet/pen_state.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/log_view.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <vector>

namespace {

constexpr int surface = 360;
constexpr COLORREF black = 0, grey = 0xC0C0C0;

struct Stamp {
    int x, y;
    float mapped;
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window->Create(720, 700, nullptr, 0, 0);
        int minWidth, minHeight, maxWidth, maxHeight;
        window->GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
        window->SetSize(minWidth, minHeight);
        window->Show(true);
        Pump();
    }
    void TearDown() override
    {
        tevrin::stylus_in_use = false;
        if (IsWindow(Handle()))
            DestroyWindow(Handle());
    }

    static void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    HWND Handle() const { return window->GetHandle(); }
    NibscopeViewNative& Gdi() const { return *window->GetGdiView(); }
    void Send(UINT message, WPARAM keys, int x, int y) { SendMessageW(Gdi().GetHandle(), message, keys, MAKELPARAM(x, y)); }

    void MoveSlider(int position)
    {
        HWND slider = GetDlgItem(Handle(), AppWindow::gammaSliderId);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    }

    std::vector<tevrin::u8> Canvas() const
    {
        GdiFlush();
        std::vector<tevrin::u8> bytes;
        const tevrin::dib& canvas = Gdi().Canvas();
        for (int y = 0; y < canvas.height(); ++y)
            bytes.insert(bytes.end(), canvas.bits() + y * canvas.row_bytes(), canvas.bits() + y * canvas.row_bytes() + canvas.width());
        return bytes;
    }
    // A cleared surface with these stamps, by the stamping rule.
    static std::vector<tevrin::u8> Expected(const std::vector<Stamp>& stamps)
    {
        std::vector<tevrin::u8> bytes(surface * surface, 192);
        for (const Stamp& s : stamps)
            StampRoundBrush({bytes.data(), surface, surface, surface}, s.x, s.y, StampDiameter(s.mapped), s.mapped);
        return bytes;
    }

    AppWindow* window = new AppWindow;  // deleted by the framework with its window
};

// Without a tablet the pressure is 0.5: 0.125 mapped at the default gamma 3.0.
constexpr float mouse = 0.125f;

}  // namespace

TEST_F(MainWindow, LayoutAtTheMinimumSizeAndWhenGrown)
{
    const struct {
        int id, left, top;
    } controls[] = {{AppWindow::gdiClearButtonId, 155, 365}, {AppWindow::openGLClearButtonId, 516, 365},
                    {AppWindow::gammaCaptionId, 10, 394}, {AppWindow::gammaSliderId, 115, 392},
                    {AppWindow::gammaValueLabelId, 325, 395}};
    for (const auto& control : controls) {
        EXPECT_EQ(window->GetControl(control.id, false)->GetLeft(), control.left) << "control " << control.id;
        EXPECT_EQ(window->GetControl(control.id, false)->GetTop(), control.top) << "control " << control.id;
    }
    SetWindowPos(Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(Handle(), &client);
    EXPECT_EQ(client.right * 1000 + client.bottom, 721640) << "the size limits keep the client at 721 x 640";
    window->SetClientSize(900, 800);
    Pump();
    tevrin::LogView& log = *window->GetLogView();
    EXPECT_EQ(std::vector<int>({log.GetTop(), log.GetWidth(), log.GetBottom(), Gdi().GetWidth(), Gdi().GetHeight()}),
              std::vector<int>({432, 900, 800, surface, surface}));
}

TEST_F(MainWindow, SliderSetsTheGammaOfItsLabelAndStrokesAndOnlyClearCommandsAreTaken)
{
    EXPECT_EQ(window->GetControlText(AppWindow::gammaValueLabelId), L"3.00");
    const struct {
        int position;
        const wchar_t* label;
        int diameter;
    } rows[] = {{0, L"0.10", 37}, {50, L"1.00", 21}, {100, L"5.00", 2}};
    for (const auto& row : rows) {
        MoveSlider(row.position);
        EXPECT_EQ(window->GetControlText(AppWindow::gammaValueLabelId), row.label);
        Gdi().Clear();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
        const float mapped = MapPressure(0.5f, GammaFromSliderValue(row.position / 100.0f));
        EXPECT_EQ(StampDiameter(mapped), row.diameter);
        EXPECT_EQ(Canvas(), Expected({{100, 100, mapped}})) << "slider at " << row.position;
    }
    SetWindowTextW(GetDlgItem(Handle(), AppWindow::gammaValueLabelId), L"untouched");
    MoveSlider(100);
    EXPECT_EQ(window->GetControlText(AppWindow::gammaValueLabelId), L"untouched") << "the same position again";

    EXPECT_TRUE(window->HandleCommand(AppWindow::gdiClearButtonId));
    EXPECT_EQ(Canvas(), Expected({}));
    EXPECT_TRUE(window->HandleCommand(AppWindow::openGLClearButtonId));
    EXPECT_FALSE(window->HandleCommand(AppWindow::gammaSliderId));
}

TEST_F(MainWindow, StrokesFollowTheMouseButtonsAndTheLineWalk)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 120);  // a press paints one stamp
    Send(WM_LBUTTONUP, 0, 100, 120);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 200, 200);  // other buttons paint only their press
    Send(WM_MOUSEMOVE, MK_RBUTTON, 250, 200);
    Send(WM_MBUTTONDOWN, MK_MBUTTON, 60, 300);
    Send(WM_MOUSEMOVE, MK_MBUTTON, 90, 300);
    Send(WM_MBUTTONUP, 0, 90, 300);
    std::vector<Stamp> stamps = {{100, 120, mouse}, {200, 200, mouse}, {60, 300, mouse}};
    EXPECT_EQ(Canvas(), Expected(stamps));

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 50);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 103, 40);  // walked along y, the major axis
    const int walk[][2] = {{100, 50}, {100, 49}, {101, 48}, {101, 47}, {101, 46}, {102, 45},
                           {102, 44}, {102, 43}, {102, 42}, {103, 41}, {103, 40}};
    for (const auto& point : walk)
        stamps.push_back({point[0], point[1], mouse});
    EXPECT_EQ(Canvas(), Expected(stamps));
}

TEST_F(MainWindow, AMoveOntoThePreviousStampPaintsOneStampThere)
{
    Gdi().SetGamma(1.0f);  // 0.5 mapped: diameter 21, a strength of 1 that one stamp more still darkens
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    const std::vector<tevrin::u8> pressed = Canvas();
    Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 100);
    EXPECT_NE(Canvas(), pressed);
    EXPECT_EQ(Canvas(), Expected({{100, 100, 0.5f}, {100, 100, 0.5f}}));
}

// From a light press to a heavy move the mapped pressure runs linearly along the walk.
TEST_F(MainWindow, PressureIsInterpolatedAlongTheWalkedLine)
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
    EXPECT_EQ(Canvas(), Expected(stamps));
}

TEST_F(MainWindow, AMoveOf1000PixelsStopsAt500PointsAndTheNextMoveGoesOnFromThere)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 180);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 1000, 180);
    // From the 500th point (499, 180) this line crosses the right edge near y 236;
    // from (1000, 180) it would cross near y 276.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 200, 300);
    const std::vector<tevrin::u8> bytes = Canvas();
    EXPECT_LT(bytes[236 * surface + 359], 192);
    EXPECT_EQ(bytes[276 * surface + 359], 192);
}

TEST_F(MainWindow, GdiSurfaceFocusBarAndResizing)
{
    HWND gdi = Gdi().GetHandle();
    HDC dc = GetDC(gdi);
    const struct {
        int x, y;
    } bar[] = {{10, 10}, {349, 11}}, around[] = {{9, 10}, {350, 11}, {100, 9}, {100, 12}};
    SetFocus(gdi);
    UpdateWindow(gdi);
    for (const auto& p : bar)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), black) << "with focus " << p.x << "," << p.y;
    for (const auto& p : around)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), grey) << "with focus " << p.x << "," << p.y;
    SetFocus(Handle());
    UpdateWindow(gdi);
    for (const auto& p : bar)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), grey) << "without focus " << p.x << "," << p.y;
    ReleaseDC(gdi, dc);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    EXPECT_TRUE(Gdi().HandleSizeEvent(surface, surface));
    EXPECT_EQ(Canvas(), Expected({{100, 100, mouse}})) << "the same size keeps the drawing";
    Gdi().SetSize(surface, 200);
    Pump();
    EXPECT_EQ(Canvas(), std::vector<tevrin::u8>(surface * 200, 192)) << "another size clears it";
}

TEST_F(MainWindow, DestroyingTheWindowDeletesEveryFrameworkWindow)
{
    DestroyWindow(Handle());
    EXPECT_TRUE(tevrin::WindowList().empty());
}
