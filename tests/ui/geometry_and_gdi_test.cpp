// Window geometry, scroll bar state, the process-wide fonts and the paint context.
#include "test_window.h"
#include "tevrin/ui/font.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

using ui_test::TestWindow;

namespace {

class ScrollingWindow : public TestWindow {
public:
    ScrollingWindow() : TestWindow(kindMainFrame) { verticalScrollBar = true; }
    bool HandleScrollEvent(const tevrin::ScrollInfo& info, int code) override
    {
        seen = info;
        seenCode = code;
        return true;
    }
    void SetMenuId(tevrin::u32 id) { menuId = id; }

    tevrin::ScrollInfo seen;
    int seenCode = -1;
};

class Geometry : public testing::Test {
protected:
    void SetUp() override
    {
        window = new ScrollingWindow;
        window->Create(300, 200, nullptr, 10, 10);
        window->Show(true);
        ui_test::PumpMessages();
    }
    void TearDown() override
    {
        delete window;
        EXPECT_TRUE(tevrin::WindowList().empty());
    }

    ScrollingWindow* window = nullptr;
};

LOGFONTW DescriptionOf(const tevrin::Font& font)
{
    LOGFONTW description = {};
    GetObjectW(font.GetHandle(), sizeof description, &description);
    return description;
}

}  // namespace

TEST_F(Geometry, SetClientSizeGivesThatClientArea)
{
    // Without scroll bars: the platform's frame computation leaves them out.
    TestWindow* plain = new TestWindow(TestWindow::kindMainFrame);
    plain->Create(200, 100);
    plain->SetClientSize(400, 300);
    RECT client;
    GetClientRect(plain->GetHandle(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_EQ(plain->GetClientWidth(), 400);
    EXPECT_EQ(plain->GetClientHeight(), 300);
    EXPECT_EQ(plain->GetFrameWidth(), plain->GetWidth() - 400);
    EXPECT_GT(plain->GetFrameHeight(), 0) << "caption and borders";
    delete plain;
}

TEST_F(Geometry, SetRectangleOnlyInsideTheMonitors)
{
    RECT monitors = {0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    OffsetRect(&monitors, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN));

    const RECT inside = {monitors.left + 20, monitors.top + 30, monitors.left + 420, monitors.top + 330};
    window->SetRectangle(inside);
    RECT now;
    window->GetRectangle(now);
    EXPECT_TRUE(EqualRect(&now, &inside));

    const RECT beyond = {monitors.right - 400, monitors.top + 30, monitors.right + 1, monitors.top + 330};
    window->SetRectangle(beyond);
    window->GetRectangle(now);
    EXPECT_TRUE(EqualRect(&now, &inside)) << "one pixel beyond the monitors: left where it was";
}

TEST_F(Geometry, BringToFrontRestoresMinimisedWindow)
{
    TestWindow* other = new TestWindow(TestWindow::kindMainFrame);
    other->Create(200, 200, nullptr, 400, 10);
    ShowWindow(window->GetHandle(), SW_MINIMIZE);
    other->Show(true);
    SetActiveWindow(other->GetHandle());
    ui_test::PumpMessages();
    ASSERT_TRUE(IsIconic(window->GetHandle()));
    ASSERT_EQ(GetActiveWindow(), other->GetHandle());

    window->BringToFront(false);
    ui_test::PumpMessages();
    EXPECT_FALSE(IsIconic(window->GetHandle()));
    EXPECT_FALSE(GetWindowLongPtrW(window->GetHandle(), GWL_STYLE) & WS_MINIMIZE);
    // Windows documents SW_SHOWNOACTIVATE as leaving the active window alone; Wine 8
    // activates a window it restores from minimised all the same, so which window is
    // active afterwards is not checked here.
    delete other;
}

TEST_F(Geometry, BringToFrontWithoutActivationRaisesOnly)
{
    TestWindow* other = new TestWindow(TestWindow::kindMainFrame);
    other->Create(200, 200, nullptr, 100, 10);
    other->Show(true);
    SetActiveWindow(other->GetHandle());
    ui_test::PumpMessages();
    ASSERT_EQ(GetActiveWindow(), other->GetHandle());

    window->BringToFront(false);
    ui_test::PumpMessages();
    EXPECT_EQ(GetActiveWindow(), other->GetHandle());
    EXPECT_EQ(GetWindow(other->GetHandle(), GW_HWNDPREV), window->GetHandle()) << "raised above the other";
    window->BringToFront(true);
    ui_test::PumpMessages();
    EXPECT_EQ(GetActiveWindow(), window->GetHandle());
    delete other;
}

TEST_F(Geometry, PositionsInTheParent)
{
    TestWindow* child = new TestWindow(TestWindow::kindChild);
    child->Create(50, 40, window, 5, 6);
    EXPECT_EQ(child->GetLeft(), 5);
    EXPECT_EQ(child->GetTop(), 6);
    EXPECT_EQ(child->GetBottom(), 46);
    child->SetPosition(10, -2, true);
    EXPECT_EQ(child->GetLeft(), 15);
    EXPECT_EQ(child->GetTop(), 4);
    child->SetPosition(1, 2, false);
    EXPECT_EQ(child->GetLeft(), 1);

    window->CreateStaticText(70, L"text", 100, 60, 30, 10);
    const RECT bounds = window->GetChildrenBounds();
    EXPECT_EQ(bounds.left, 1);
    EXPECT_EQ(bounds.top, 2);
    EXPECT_EQ(bounds.right, 130);
    EXPECT_EQ(bounds.bottom, 70);

    // The child's client offset is that of its top-level window.
    POINT origin = {0, 0};
    ClientToScreen(window->GetHandle(), &origin);
    RECT outer;
    window->GetRectangle(outer);
    EXPECT_EQ(child->GetClientOffsetX(), origin.x - outer.left);
    EXPECT_EQ(child->GetClientOffsetY(), origin.y - outer.top);
    EXPECT_GT(child->GetClientOffsetY(), child->GetClientOffsetX()) << "the caption adds to y";
}

TEST_F(Geometry, MenuBarHeightIsFixed)
{
    EXPECT_EQ(window->GetMenuBarHeight(), 0);
    window->SetMenuId(101);
    EXPECT_EQ(window->GetMenuBarHeight(), 20);
}

TEST_F(Geometry, OwnScrollBarStateReachesScrollEvent)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 500;
    info.nPage = 50;
    info.nPos = 120;
    SetScrollInfo(window->GetHandle(), SB_VERT, &info, TRUE);

    SendMessageW(window->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(window->seenCode, SB_LINEDOWN);
    EXPECT_TRUE(window->seen.vertical);
    EXPECT_EQ(window->seen.max, 500);
    EXPECT_EQ(window->seen.page, 50u);
    EXPECT_EQ(window->seen.position, 120);
}

TEST(Fonts, HeightsAt96DotsPerInch)
{
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dotsPerInch, 96) << "the expected heights hold for a 96 dots-per-inch screen";

    EXPECT_EQ(DescriptionOf(tevrin::InterfaceFont()).lfHeight, -12);
    EXPECT_EQ(DescriptionOf(tevrin::HeadingFont()).lfHeight, -15);
    EXPECT_EQ(DescriptionOf(tevrin::LogFont()).lfHeight, -12);
    EXPECT_EQ(DescriptionOf(tevrin::HeadingFont()).lfWeight, FW_BOLD);
    EXPECT_EQ(DescriptionOf(tevrin::InterfaceFont()).lfWeight, FW_NORMAL);
    EXPECT_STREQ(DescriptionOf(tevrin::LogFont()).lfFaceName, L"Lucida Console");
    EXPECT_STREQ(DescriptionOf(tevrin::InterfaceFont()).lfFaceName, L"Segoe UI");

    tevrin::Font large(L"A face name that is much longer than thirty-one characters", 20, false);
    EXPECT_EQ(DescriptionOf(large).lfHeight, -27);
    EXPECT_EQ(std::wstring(DescriptionOf(large).lfFaceName).size(), 31u);
}

TEST(GraphicsContextTest, SetsTextStateAndRestoresIt)
{
    HDC memory = CreateCompatibleDC(nullptr);
    SetBkMode(memory, OPAQUE);
    SetTextColor(memory, RGB(10, 20, 30));
    {
        tevrin::GraphicsContext context(nullptr, memory);
        EXPECT_EQ(GetBkMode(memory), TRANSPARENT);
        EXPECT_EQ(GetTextColor(memory), RGB(0, 0, 0));
    }
    // A lent context is not released: it still answers afterwards.
    EXPECT_EQ(GetBkMode(memory), OPAQUE);
    EXPECT_EQ(GetTextColor(memory), RGB(10, 20, 30));
    DeleteDC(memory);
}

TEST(GraphicsContextTest, PaintHandlerGetsTransparentBlackContext)
{
    class Painting : public TestWindow {
    public:
        bool HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty) override
        {
            backgroundMode = GetBkMode(gc.DeviceContext());
            textColor = GetTextColor(gc.DeviceContext());
            dirtyArea = dirty;
            return true;
        }
        int backgroundMode = 0;
        COLORREF textColor = 1;
        RECT dirtyArea = {};
    };
    Painting* window = new Painting;
    window->Create(200, 150);
    window->Show(true);
    RECT part = {10, 10, 40, 30};
    ValidateRect(window->GetHandle(), nullptr);
    InvalidateRect(window->GetHandle(), &part, FALSE);
    UpdateWindow(window->GetHandle());
    EXPECT_EQ(window->backgroundMode, TRANSPARENT);
    EXPECT_EQ(window->textColor, RGB(0, 0, 0));
    EXPECT_TRUE(EqualRect(&window->dirtyArea, &part));
    delete window;
}
