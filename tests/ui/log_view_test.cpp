// The log pane on a real parent window, driven by real messages: its limit, following,
// scrolling, context menu, Copy through the real clipboard, Clear, and its rules' pixels.
#include "test_window.h"
#include "tevrin/ui/log_view.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

using namespace tevrin;

namespace {

class LogPane : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent->Create(600, 400);
        Place(log, 0);
        log->Show(true);
        parent->Show(true);
        ASSERT_EQ(log->VisibleRows(), 10);
    }
    void AddLines(int count)
    {
        for (int i = 0; i < count; ++i)
            log->AddLine("line " + std::to_string(next++), 1, 0);
    }
    i32 Top() const { return log->GetTopItem(); }
    template <class Pane> Pane* Place(Pane* pane, int top)
    {
        pane->BackBuffer().allocate = [](size_t bytes) { return std::malloc(bytes); };
        pane->BackBuffer().release = [](void* block) { std::free(block); };
        pane->Create(500, 10 * 12, parent, 0, top);  // ten rows at 96 DPI
        return pane;
    }
    // What a pane keeps and shows: its lines, top row and scroll bar.
    static std::string State(const LogView& pane)
    {
        std::string state = "top " + std::to_string(pane.GetTopItem());
        for (i32 i = 0; i < pane.GetTable()->count(); ++i)
            state += "|" + pane.GetTable()->item(i)->text + std::to_string(pane.GetTable()->item(i)->rule);
        SCROLLINFO bar = {sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(pane.GetHandle(), SB_VERT, &bar);
        return state + "|bar " + std::to_string(bar.nMax) + " " + std::to_string(bar.nPage) + " " + std::to_string(bar.nPos);
    }

    ui_test::WindowSweeper sweeper;
    ui_test::TestWindow* parent = new ui_test::TestWindow;
    LogView* log = new LogView(1000);
    int next = 0;
};

// The greying of the context menu's entries, read from inside the menu's own loop.
std::string menuStates;

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    static int ticks = 0;
    const HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (!menuWindow && ++ticks < 300)
        return;  // not open yet; after three seconds the menu is closed all the same
    KillTimer(nullptr, timer);
    ticks = 0;
    const HMENU menu = menuWindow ? reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0)) : nullptr;
    for (int item = 0; menu && item < GetMenuItemCount(menu); ++item)
        menuStates += GetMenuState(menu, item, MF_BYPOSITION) & MF_GRAYED ? "greyed " : "enabled ";
    EndMenu();
}

}  // namespace

TEST_F(LogPane, FollowsTheNewestLineOnlyWhileItIsInViewAndScrolls)
{
    AddLines(10);
    EXPECT_EQ(Top(), 0) << "ten lines fill the ten rows";
    AddLines(1);
    EXPECT_EQ(Top(), 1) << "the newest line was in the last visible row: the pane follows";
    SendMessageW(log->GetHandle(), WM_VSCROLL, SB_LINEUP, 0);
    AddLines(1);
    EXPECT_EQ(Top(), 0) << "the newest line was one row below the last visible row: the pane stays";
    AddLines(28);  // 40 lines
    const std::pair<int, i32> moves[] = {{SB_TOP, 0}, {SB_LINEDOWN, 1}, {SB_PAGEDOWN, 11}, {SB_LINEUP, 10},
                                         {SB_PAGEUP, 0}, {SB_BOTTOM, 30}, {SB_PAGEDOWN, 30}, {SB_PAGEUP, 20}};
    for (const auto& [code, top] : moves) {
        SendMessageW(log->GetHandle(), WM_VSCROLL, code, 0);
        EXPECT_EQ(std::make_pair(Top(), GetScrollPos(log->GetHandle(), SB_VERT)), std::make_pair(top, top)) << code;
    }
    const std::pair<int, i32> wheel[] = {{-1, 25}, {-1, 30}, {-3, 30}, {1, 25}, {5, 20}};  // towards the user: down
    for (const auto& [notches, top] : wheel) {
        log->HandleWheelEvent(notches);
        EXPECT_EQ(Top(), top) << "wheel " << notches;
    }
    AddLines(2);
    EXPECT_EQ(Top(), 20) << "scrolled back: new lines leave the view alone";
    for (int i = 0; i < 5; ++i)
        log->HandleWheelEvent(1);
    EXPECT_EQ(Top(), 0) << "five rows up at a time, never above the first line";
    SendMessageW(log->GetHandle(), WM_VSCROLL, SB_BOTTOM, 0);
    SetWindowPos(log->GetHandle(), nullptr, 0, 0, 500, 15 * 12, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Top(), 27) << "five more rows show five older lines";
}

TEST_F(LogPane, ContextMenuCopyAndClear)
{
    SetForegroundWindow(parent->GetHandle());
    const auto menuAfterRightClick = [&] {
        menuStates.clear();
        SetTimer(nullptr, 0, 10, &ReadAndCloseMenu);
        SendMessageW(log->GetHandle(), WM_RBUTTONDOWN, 0, MAKELPARAM(20, 20));
        SendMessageW(log->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
        return menuStates;
    };
    EXPECT_EQ(menuAfterRightClick(), "greyed greyed ") << "an empty log";
    log->AddLine("a", 1, 0);
    log->AddLine("b\n\nc \xE2\x82\xAC\n", 2, 0);  // no empty lines
    EXPECT_EQ(menuAfterRightClick(), "enabled enabled ");
    SendMessageW(log->GetHandle(), WM_COMMAND, LogView::copyCommand, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    EXPECT_EQ(std::wstring(data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"(none)"), L"a\r\nb\r\nc \u20AC\r\n");
    GlobalUnlock(data);
    CloseClipboard();
    AddLines(1001);
    EXPECT_EQ(log->GetTable()->count(), 1000) << "the 1001st line removes the oldest";
    EXPECT_EQ(log->GetTable()->item(0)->text + (log->GetTable()->item(1000) ? "" : " and no more"), "line 1 and no more");
    SendMessageW(log->GetHandle(), WM_COMMAND, LogView::clearCommand, 0);
    EXPECT_EQ(log->GetTable()->count() + Top(), 0);
}

TEST_F(LogPane, RulesAreOnePixelHighInTheMiddleOfTheirRowInTheirColour)
{
    log->AddLine(std::string(4, '_'), 4, 0);   // row 0: red
    log->AddLine("text\ntext", 1, 0);           // rows 1 and 2
    log->AddLine(std::string(10, '_'), 3, 0);  // row 3: orange
    log->AddLine("_not a rule", 4, 0);         // row 4: text
    UpdateWindow(log->GetHandle());
    const HDC dc = GetDC(log->GetHandle());
    const int right = log->GetClientWidth() - 5;
    const COLORREF red = RGB(255, 0, 0), orange = RGB(255, 128, 0), background = RGB(64, 64, 64);
    const std::tuple<int, int, COLORREF> pixels[] = {  // y = row * 12 + 12 / 2 + 1
        {100, 7, red}, {100, 6, background}, {100, 8, background}, {5, 43, orange}, {right - 1, 43, orange},
        {4, 43, background}, {right, 43, background}, {100, 42, background}, {100, 44, background}, {200, 55, background}};
    for (const auto& [x, y, colour] : pixels)
        EXPECT_EQ(GetPixel(dc, x, y), colour) << x << "," << y;
    ReleaseDC(log->GetHandle(), dc);
}

// The idle pass stores a whole drain at once and shows it once: the pane must end as
// appending the same lines one by one leaves it, and go on following (or not) the same.
TEST_F(LogPane, ADrainedBatchEndsAsLineByLineAppendsDo)
{
    LogView* twin = Place(new LogView(1000), 200);
    const struct { int before, pagesUp, batch; const char* last; } cases[] = {  // last: the batch's last line
        {0, 0, 4, "a\n\nb\n"}, {3, 0, 30, "____"}, {8, 0, 1, "_not a rule"}, {40, 0, 0, "__\n__"},
        {30, 1, 25, "x"}, {40, 4, 5, "y"}, {990, 0, 25, "limit"}, {995, 60, 30, "limit, scrolled back"}};
    drain_log_lines(twin);  // whatever was queued before; each case clears the panes
    for (const auto& c : cases) {
        for (LogView* pane : {log, twin}) {
            SendMessageW(pane->GetHandle(), WM_COMMAND, LogView::clearCommand, 0);
            pane->AddLines(queued_log_lines(c.before, {"old", 1, 0}));
            pane->ShowNewLines();
            pane->ShowNewLines();  // a pass without new lines shows them, however soon it comes
            for (int i = 0; i < c.pagesUp; ++i)
                SendMessageW(pane->GetHandle(), WM_VSCROLL, SB_PAGEUP, 0);
        }
        for (int i = 0; i <= c.batch; ++i) {
            log_line("%s", i < c.batch ? "new" : c.last);
            twin->AddLine(i < c.batch ? "new" : c.last, 1, 0);
        }
        drain_log_lines(log);
        log->ShowNewLines();
        log->ShowNewLines();
        for (const char* after : {"", "after"}) {
            EXPECT_EQ(State(*log), State(*twin)) << c.before << " lines, " << c.pagesUp << " pages up, " << after;
            log->AddLine(after, 1, 0);
            twin->AddLine(after, 1, 0);
        }
    }
}

// While every pass brings changes, a refresh at most once a frame, and after a slow one
// a pause three times its length; at once on a pass that brings none.
// Pass: at ms, changed, due, refresh ms.
TEST(RefreshPacer, AtMostOnceAFrameWhileChangesComeAndAtOnceWhenTheyStop)
{
    const int passes[][4] = {{0, 1, 1, 5},   {10, 1, 0, 0},   {20, 1, 0, 0},   {22, 1, 1, 30},  {70, 1, 0, 0},
                             {80, 0, 1, 1},  {85, 0, 0, 0},   {90, 1, 0, 0},   {98, 1, 1, 10},  {125, 1, 0, 0},
                             {138, 1, 1, 1}, {150, 1, 0, 0},  {156, 1, 1, 1}};
    RefreshPacer pacer;
    const auto at = [](int milliseconds) { return RefreshPacer::Clock::time_point(std::chrono::milliseconds(milliseconds)); };
    for (const auto& pass : passes) {
        if (pass[1])
            pacer.Changed();
        ASSERT_EQ(pacer.Due(at(pass[0])), pass[2] != 0) << pass[0];
        if (pass[2])
            pacer.Refreshed(at(pass[0]), at(pass[0] + pass[3]));
    }
}

TEST_F(LogPane, AnotherThreadLogsWhileThePaneDrains)
{
    struct DrainingPane : LogView {
        DrainingPane() : LogView(1000) {}
        void AddLines(const queued_log_lines& lines) override
        {
            logger = std::async(std::launch::async, [] { log_line("from another thread"); });
            returned = logger.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
            LogView::AddLines(lines);
        }
        std::future<void> logger;  // waited for by the drain's caller, never under the log lock
        bool returned = false;
    }* pane = Place(new DrainingPane, 200);
    for (int i = 0; i < 5000; ++i)
        log_line("line %d", i);
    drain_log_lines(pane);
    pane->logger.wait();
    EXPECT_TRUE(pane->returned && pending_log_line_count() == 1u) << "log_line waited for the pane";
    EXPECT_EQ(pane->GetTable()->item(999)->text, "line 4999");
}
