// The log pane on a real parent window under Wine: splitting, rules, following the
// newest line, scrolling, Clear and Copy through real command messages.
#include "tevrin/ui/log_view.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

using namespace tevrin;

namespace {

class Parent : public Window {
public:
    Parent() { styleKind = kindMainFrame; }
    const char* GetTypeName() const override { return "LogViewTestParent"; }
    bool HandlePaintEvent(GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
};

class LogPane : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = new Parent;
        parent->Create(600, 400);
        log = new LogView(1000);
        log->BackBuffer().allocate = [](size_t bytes) { return std::malloc(bytes); };
        log->BackBuffer().release = [](void* block) { std::free(block); };
        log->Create(500, 10 * 12, parent, 0, 0);  // ten rows at 96 DPI
        log->Show(true);
        parent->Show(true);
    }
    void TearDown() override
    {
        delete log;
        DestroyWindow(parent->GetHandle());
    }

    void AddLines(int count, const char* prefix = "line ")
    {
        for (int i = 0; i < count; ++i)
            log->AddLine(prefix + std::to_string(next++), 1, 0);
    }
    int Count() const { return log->GetTable()->count(); }
    std::string Text(int index) const { return log->GetTable()->item(index)->text; }

    Parent* parent = nullptr;
    LogView* log = nullptr;
    int next = 0;
};

}  // namespace

TEST_F(LogPane, SplitsAtLineBreaksWithoutEmptyLines)
{
    log->AddLine("a\n\nb\n", 1, 0);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Text(0), "a");
    EXPECT_EQ(Text(1), "b");
    EXPECT_EQ(log->GetTable()->item(0)->colourIndex, 1);
    EXPECT_FALSE(log->GetTable()->item(0)->rule);
}

TEST_F(LogPane, OnlyAnAllUnderscoreMessageIsARule)
{
    log->AddLine(std::string(80, '_'), 1, 0);
    log->AddLine("_not a rule", 1, 0);
    ASSERT_EQ(Count(), 2);
    EXPECT_TRUE(log->GetTable()->item(0)->rule);
    EXPECT_FALSE(log->GetTable()->item(1)->rule);
}

TEST_F(LogPane, FollowsTheNewestLineUntilTheUserScrollsBack)
{
    ASSERT_EQ(log->VisibleRows(), 10);
    AddLines(25);
    EXPECT_EQ(log->GetTopItem(), 15);

    log->HandleWheelEvent(1);  // away from the user: five rows up
    EXPECT_EQ(log->GetTopItem(), 10);
    AddLines(5);
    EXPECT_EQ(log->GetTopItem(), 10);

    log->HandleWheelEvent(-1);
    log->HandleWheelEvent(-1);
    EXPECT_EQ(log->GetTopItem(), 20);
    AddLines(3);
    EXPECT_EQ(log->GetTopItem(), 23);
}

TEST_F(LogPane, WheelStopsAtTheEnds)
{
    AddLines(12);
    EXPECT_EQ(log->GetTopItem(), 2);
    log->HandleWheelEvent(-3);  // the newest line is in view already
    EXPECT_EQ(log->GetTopItem(), 2);
    log->HandleWheelEvent(2);
    EXPECT_EQ(log->GetTopItem(), 0);
    log->HandleWheelEvent(1);
    EXPECT_EQ(log->GetTopItem(), 0);
}

TEST_F(LogPane, ScrollBarMessagesMoveTheTopLine)
{
    AddLines(40);
    SendMessageW(log->GetHandle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(log->GetTopItem(), 0);
    SendMessageW(log->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(log->GetTopItem(), 1);
    SendMessageW(log->GetHandle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(log->GetTopItem(), 11);
    SendMessageW(log->GetHandle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(log->GetTopItem(), 30);
    SendMessageW(log->GetHandle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(log->GetTopItem(), 30);
    EXPECT_EQ(GetScrollPos(log->GetHandle(), SB_VERT), 30);
}

TEST_F(LogPane, GrowingThePaneScrollsBackToFillIt)
{
    AddLines(20);
    EXPECT_EQ(log->GetTopItem(), 10);
    SetWindowPos(log->GetHandle(), nullptr, 0, 0, 500, 15 * 12, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(log->GetTopItem(), 5);
}

TEST_F(LogPane, ClearCommandEmptiesThePane)
{
    AddLines(30);
    SendMessageW(log->GetHandle(), WM_COMMAND, LogView::clearCommand, 0);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(log->GetTopItem(), 0);
}

TEST_F(LogPane, CopyPutsEveryLineWithCarriageReturnAndLineFeed)
{
    log->AddLine("a", 1, 0);
    log->AddLine("b\nc \xE2\x82\xAC", 2, 0);
    SendMessageW(log->GetHandle(), WM_COMMAND, LogView::copyCommand, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(data))), L"a\r\nb\r\nc \u20AC\r\n");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(LogPane, PaintsTextRowsAndRulesIntoTheWindow)
{
    log->AddLine("text row", 1, 0);
    log->AddLine(std::string(10, '_'), 4, 0);
    UpdateWindow(log->GetHandle());
    HDC dc = GetDC(log->GetHandle());
    // The rule of the second row: one red pixel high, at y = 12 + 12 / 2 + 1.
    EXPECT_EQ(GetPixel(dc, 100, 19), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 100, 18), RGB(64, 64, 64));
    EXPECT_EQ(GetPixel(dc, 2, 19), RGB(64, 64, 64));
    ReleaseDC(log->GetHandle(), dc);
}
