// The main window as the program builds it, on real windows under Wine, driven by
// real messages: layout, the gamma slider, the Clear commands, the size limits, the
// log flush, and strokes on the GDI surface compared with the stamping rule.
#include "app/app_window.h"
#include "app/brush_stamp.h"
#include "app/nibscope_view_native.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/ui/button.h"
#include "tevrin/ui/label.h"
#include "tevrin/ui/log_view.h"
#include "tevrin/ui/slider.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int surface = 360;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = new AppWindow;
        window->Create(720, 700, nullptr, 0, 0);
        int minWidth, minHeight, maxWidth, maxHeight;
        window->GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
        window->SetSize(minWidth, minHeight);
        window->Show(true);
        Pump();
    }

    void TearDown() override
    {
        if (IsWindow(Handle()))
            DestroyWindow(Handle());
        Pump();
    }

    HWND Handle() const { return window->GetHandle(); }
    NibscopeViewNative& Gdi() const { return *window->GetGdiView(); }
    HWND GdiHandle() const { return Gdi().GetHandle(); }

    static void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // What the trackbar sends its parent when the user moves it.
    void MoveSlider(int position)
    {
        HWND slider = window->GetGammaSlider()->GetHandle();
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    }

    std::wstring GammaLabel() const
    {
        wchar_t text[32] = {};
        GetWindowTextW(window->GetGammaValueLabel()->GetHandle(), text, 32);
        return text;
    }

    void Press(int x, int y, UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON)
    {
        SendMessageW(GdiHandle(), message, keys, MAKELPARAM(x, y));
    }
    void MoveTo(int x, int y, WPARAM keys = MK_LBUTTON) { Press(x, y, WM_MOUSEMOVE, keys); }
    void Release(int x, int y, UINT message = WM_LBUTTONUP) { Press(x, y, message, 0); }

    // The canvas bytes, row by row, without the row padding.
    std::vector<tevrin::u8> Canvas() const
    {
        tevrin::dib& canvas = Gdi().Canvas();
        GdiFlush();
        std::vector<tevrin::u8> bytes;
        for (int y = 0; y < canvas.height(); ++y)
            bytes.insert(bytes.end(), canvas.bits() + y * canvas.row_bytes(),
                         canvas.bits() + y * canvas.row_bytes() + canvas.width());
        return bytes;
    }

    // A light grey canvas of the surface's size with the given stamps, by the stamping rule.
    static std::vector<tevrin::u8> Expected(const std::vector<POINT>& centres, int diameter, float mapped)
    {
        std::vector<tevrin::u8> bytes(surface * surface, 192);
        const GreyCanvas canvas{bytes.data(), surface, surface, surface};
        for (const POINT& centre : centres)
            StampRoundBrush(canvas, centre.x, centre.y, diameter, mapped);
        return bytes;
    }

    AppWindow* window = nullptr;
};

// Without a tablet the pressure is 0.5; at gamma 3.0 that maps to 0.125, diameter 6.
constexpr float mouseMapped = 0.125f;
constexpr int mouseDiameter = 6;

}  // namespace

TEST_F(MainWindow, ChildrenAreLaidOutUnderTheSurfaces)
{
    RECT client;
    GetClientRect(Handle(), &client);
    EXPECT_EQ(client.right, AppWindow::minimumClientWidth);
    EXPECT_EQ(client.bottom, AppWindow::minimumClientHeight);
    EXPECT_EQ(Gdi().GetWidth(), surface);
    EXPECT_EQ(Gdi().GetHeight(), surface);
    tevrin::Control* button = window->GetControl(AppWindow::gdiClearButtonId, false);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetLeft(), 155);
    EXPECT_EQ(button->GetTop(), 365);
    tevrin::Control* caption = window->GetControl(AppWindow::gammaCaptionId, false);
    EXPECT_EQ(caption->GetLeft(), 10);
    EXPECT_EQ(caption->GetTop(), 394);
    EXPECT_EQ(window->GetGammaSlider()->GetLeft(), 115);
    EXPECT_EQ(window->GetGammaSlider()->GetTop(), 392);
    EXPECT_EQ(window->GetGammaValueLabel()->GetLeft(), 325);
    EXPECT_EQ(window->GetLogView()->GetTop(), 432);
    EXPECT_EQ(window->GetLogView()->GetWidth(), AppWindow::minimumClientWidth);
    EXPECT_EQ(window->GetLogView()->GetBottom(), AppWindow::minimumClientHeight);
}

TEST_F(MainWindow, SizeLimitsKeepTheMinimumClientAndGrowingWidensOnlyTheLog)
{
    SetWindowPos(Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(Handle(), &client);
    EXPECT_EQ(client.right, AppWindow::minimumClientWidth);
    EXPECT_EQ(client.bottom, AppWindow::minimumClientHeight);

    window->SetClientSize(900, 800);
    Pump();
    EXPECT_EQ(Gdi().GetWidth(), surface);
    EXPECT_EQ(Gdi().GetHeight(), surface);
    EXPECT_EQ(window->GetLogView()->GetWidth(), 900);
    EXPECT_EQ(window->GetLogView()->GetBottom(), 800);
    EXPECT_EQ(window->GetLogView()->GetTop(), 432);
}

TEST_F(MainWindow, SliderPositionsSetTheGammaAndItsLabel)
{
    EXPECT_EQ(GammaLabel(), L"3.00");
    EXPECT_FLOAT_EQ(window->GetGamma(), 3.0f);
    EXPECT_EQ(SendMessageW(window->GetGammaSlider()->GetHandle(), TBM_GETPOS, 0, 0), 75);

    MoveSlider(0);
    EXPECT_EQ(GammaLabel(), L"0.10");
    EXPECT_FLOAT_EQ(Gdi().GetGamma(), window->GetGamma());
    MoveSlider(50);
    EXPECT_EQ(GammaLabel(), L"1.00");
    EXPECT_FLOAT_EQ(Gdi().GetGamma(), 1.0f);
    MoveSlider(100);
    EXPECT_EQ(GammaLabel(), L"5.00");
    EXPECT_FLOAT_EQ(Gdi().GetGamma(), 5.0f);
}

TEST_F(MainWindow, TheSameSliderPositionAgainChangesNothing)
{
    MoveSlider(50);
    SetWindowTextW(window->GetGammaValueLabel()->GetHandle(), L"untouched");
    MoveSlider(50);
    EXPECT_EQ(GammaLabel(), L"untouched");
}

TEST_F(MainWindow, OnlyTheTwoClearCommandsAreTaken)
{
    EXPECT_TRUE(window->HandleCommand(AppWindow::gdiClearButtonId));
    EXPECT_TRUE(window->HandleCommand(AppWindow::openGLClearButtonId));
    EXPECT_FALSE(window->HandleCommand(AppWindow::gammaSliderId));
    EXPECT_FALSE(window->HandleCommand(40000));
}

TEST_F(MainWindow, NewSurfaceIsLightGreyAndClearRestoresIt)
{
    EXPECT_EQ(Canvas(), Expected({}, 0, 0));
    Press(100, 100);
    Release(100, 100);
    EXPECT_NE(Canvas(), Expected({}, 0, 0));
    SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(AppWindow::gdiClearButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Handle(), AppWindow::gdiClearButtonId)));
    EXPECT_EQ(Canvas(), Expected({}, 0, 0));
}

TEST_F(MainWindow, APressWithoutMovementPaintsOneStamp)
{
    Press(100, 120);
    Release(100, 120);
    EXPECT_EQ(Canvas(), Expected({{100, 120}}, mouseDiameter, mouseMapped));
}

TEST_F(MainWindow, AMoveWalksTheLineFromThePreviousStamp)
{
    Press(100, 50);
    MoveTo(140, 50);
    MoveTo(140, 50);  // the same position again is not a move
    Release(140, 50);
    std::vector<POINT> centres;
    for (int x = 100; x <= 140; ++x)
        centres.push_back({x, 50});
    EXPECT_EQ(Canvas(), Expected(centres, mouseDiameter, mouseMapped));
}

TEST_F(MainWindow, OtherButtonsPaintOnlyTheirPress)
{
    Press(200, 200, WM_RBUTTONDOWN, MK_RBUTTON);
    MoveTo(250, 200, MK_RBUTTON);
    Release(250, 200, WM_RBUTTONUP);
    Press(60, 300, WM_MBUTTONDOWN, MK_MBUTTON);
    MoveTo(90, 300, MK_MBUTTON);
    Release(90, 300, WM_MBUTTONUP);
    EXPECT_EQ(Canvas(), Expected({{200, 200}, {60, 300}}, mouseDiameter, mouseMapped));
}

TEST_F(MainWindow, ALongMoveIsCutAt500PointsAndTheNextMoveGoesOnFromThere)
{
    Press(0, 180);
    MoveTo(1000, 180);
    // From the 500th point (499, 180) this line crosses the right edge near y 236;
    // from (1000, 180) it would cross near y 276.
    MoveTo(200, 300);
    Release(200, 300);
    const std::vector<tevrin::u8> bytes = Canvas();
    EXPECT_LT(bytes[236 * surface + 359], 192);
    EXPECT_EQ(bytes[276 * surface + 359], 192);
    EXPECT_EQ(bytes[180 * surface + 359], 0);
}

TEST_F(MainWindow, PointerEventsAreLogged)
{
    tevrin::drain_log_lines(nullptr);
    window->FlushLog();
    tevrin::LogView& log = *window->GetLogView();
    const int before = log.GetTable()->count();
    Press(10, 10);
    MoveTo(20, 10);
    Release(20, 10);
    window->FlushLog();
    ASSERT_EQ(log.GetTable()->count(), before + 3);
    EXPECT_EQ(log.GetTable()->item(before)->text, "Pointer DOWN on GDI surface");
    EXPECT_EQ(log.GetTable()->item(before + 1)->text, "Pressure: 13%");
    EXPECT_EQ(log.GetTable()->item(before + 2)->text, "Pointer UP on GDI surface");
}

TEST_F(MainWindow, LinesLoggedFromOtherThreadsArriveAfterEarlierOnes)
{
    window->FlushLog();
    tevrin::log_line("before the thread");
    std::thread([] { tevrin::log_line("from another thread"); }).join();
    window->FlushLog();
    const tevrin::ILogItemTable& table = *window->GetLogView()->GetTable();
    const int count = table.count();
    ASSERT_GE(count, 2);
    EXPECT_EQ(table.item(count - 2)->text, "before the thread");
    EXPECT_EQ(table.item(count - 1)->text, "from another thread");
}

TEST_F(MainWindow, DestroyingTheWindowDeletesEveryFrameworkWindow)
{
    DestroyWindow(Handle());
    Pump();
    EXPECT_TRUE(tevrin::WindowList().empty());
}
