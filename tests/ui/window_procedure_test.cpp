// The message-to-event table and the pointer tracking, driven by real messages
// sent to real framework windows.
#include "test_window.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

using ui_test::TestWindow;
using Events = std::vector<std::string>;

namespace {

LPARAM At(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

class WindowProcedure : public testing::Test {
protected:
    void SetUp() override
    {
        window = new TestWindow(TestWindow::kindMainFrame);
        window->Create(300, 200);
        handle = window->GetHandle();
        window->events.clear();
    }
    void TearDown() override
    {
        ReleaseCapture();
        delete window;
        EXPECT_TRUE(tevrin::WindowList().empty());
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) { return SendMessageW(handle, message, wParam, lParam); }

    TestWindow* window = nullptr;
    HWND handle = nullptr;
};

}  // namespace

TEST_F(WindowProcedure, SizeOfMinimisedWindowCallsNoHandler)
{
    Send(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_TRUE(window->events.empty());
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
    EXPECT_EQ(window->events, Events{"size 120x80"});
}

TEST_F(WindowProcedure, WheelNotchesTruncateTowardZero)
{
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-359)), 0);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(window->events, (Events{"wheel -2", "wheel -2", "wheel 1"}));
}

TEST_F(WindowProcedure, WheelIsDroppedWhileLeftOrRightButtonIsHeld)
{
    for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        Send(press, 0, At(10, 10));
        window->events.clear();
        EXPECT_EQ(Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0), 0);
        EXPECT_TRUE(window->events.empty());
        Send(press + 1, 0, At(10, 10));  // the matching button-up
    }
    // The middle button does not block the wheel.
    Send(WM_MBUTTONDOWN, 0, At(10, 10));
    window->events.clear();
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(window->events, Events{"wheel 2"});
    Send(WM_MBUTTONUP, 0, At(10, 10));
}

TEST_F(WindowProcedure, PressTakesCaptureAndLastReleaseGivesItBack)
{
    Send(WM_LBUTTONDOWN, 0, At(5, 6));
    EXPECT_EQ(GetCapture(), handle);
    EXPECT_TRUE(window->pressed[1]);
    EXPECT_EQ(window->press[1], (tevrin::PointerPosition{5, 6}));
    Send(WM_RBUTTONDOWN, 0, At(7, 8));
    Send(WM_LBUTTONUP, 0, At(9, 10));
    EXPECT_EQ(GetCapture(), handle) << "the right button is still down";
    EXPECT_EQ(window->current[1], (tevrin::PointerPosition{9, 10}));
    Send(WM_RBUTTONUP, 0, At(11, 12));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(window->events, (Events{"down 1", "down 3", "up 1", "up 3"}));
}

TEST_F(WindowProcedure, LostCaptureReportsPointerUpsInButtonOrder)
{
    Send(WM_RBUTTONDOWN, 0, At(10, 10));
    Send(WM_LBUTTONDOWN, 0, At(12, 12));
    ASSERT_EQ(GetCapture(), handle);
    window->events.clear();
    ReleaseCapture();
    EXPECT_EQ(window->events, (Events{"up 1", "up 3"}));
    EXPECT_FALSE(window->pressed[1]);
    EXPECT_FALSE(window->pressed[3]);
}

TEST_F(WindowProcedure, RepeatedMovesAtOnePositionAreReportedOnce)
{
    Send(WM_MOUSEMOVE, 0, At(0, 0));  // the first move is always reported, even at (0, 0)
    Send(WM_MOUSEMOVE, 0, At(0, 0));
    Send(WM_MOUSEMOVE, 0, At(3, 4));
    Send(WM_MOUSEMOVE, 0, At(3, 4));
    Send(WM_MOUSEMOVE, 0, At(-2, 4));
    EXPECT_EQ(window->events, (Events{"move 0,0", "move 3,4", "move -2,4"}));
}

TEST_F(WindowProcedure, MovesFollowHeldButtonsOnly)
{
    Send(WM_LBUTTONDOWN, 0, At(1, 1));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(20, 30));
    EXPECT_EQ(window->current[1], (tevrin::PointerPosition{20, 30}));
    EXPECT_EQ(window->current[3], (tevrin::PointerPosition{0, 0}));
    EXPECT_EQ(window->press[1], (tevrin::PointerPosition{1, 1}));
    Send(WM_LBUTTONUP, 0, At(20, 30));
}

TEST_F(WindowProcedure, RealDoubleClickSequence)
{
    SetWindowPos(handle, HWND_TOP, 0, 0, 300, 200, SWP_SHOWWINDOW);
    SetForegroundWindow(handle);
    ui_test::PumpMessagesFor(200);
    POINT centre = {150, 100};
    ClientToScreen(handle, &centre);
    SetCursorPos(centre.x, centre.y);
    ui_test::PumpMessagesFor(100);
    window->events.clear();

    INPUT clicks[4] = {};
    const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = flags[i];
    }
    ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
    Events buttonEvents;
    ui_test::PumpMessagesUntil([&] {
        buttonEvents.clear();
        for (const std::string& event : window->events)
            if (event.rfind("move", 0) != 0)
                buttonEvents.push_back(event);
        return buttonEvents.size() >= 4;
    });
    EXPECT_EQ(buttonEvents, (Events{"down 1", "up 1", "double 1", "up 1"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowProcedure, SecondPressOfADoubleClickTakesNoCapture)
{
    Send(WM_LBUTTONDBLCLK, 0, At(4, 4));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(window->pressed[1]);
    Send(WM_RBUTTONDBLCLK, 0, At(4, 4));
    Send(WM_MBUTTONDBLCLK, 0, At(4, 4));
    EXPECT_EQ(window->events, Events{"double 1"});
}

TEST_F(WindowProcedure, DefaultSizeLimitsSetOnlyTheMinimumTrackingSize)
{
    MINMAXINFO limits = {};
    limits.ptMaxTrackSize = {4321, 1234};
    limits.ptMinTrackSize = {1, 2};
    EXPECT_EQ(Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(limits.ptMinTrackSize.x, 100);
    EXPECT_EQ(limits.ptMinTrackSize.y, 100);
    EXPECT_EQ(limits.ptMaxTrackSize.x, 4321);
    EXPECT_EQ(limits.ptMaxTrackSize.y, 1234);

    window->SetMinimumSize(250, 120);
    Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 250);
    EXPECT_EQ(limits.ptMinTrackSize.y, 120);
}

TEST_F(WindowProcedure, KeyDownMapsNavigationKeysAndRepeats)
{
    Send(WM_KEYDOWN, VK_LEFT, 3);
    Send(WM_KEYDOWN, VK_F5, 1);
    Send(WM_KEYDOWN, VK_HOME, 0);  // a repeat count of 0 reaches no handler
    Send(WM_KEYDOWN, VK_ESCAPE, 1);
    Send(WM_KEYDOWN, VK_NEXT, 1);
    Send(WM_CHAR, 'a', 2);
    Send(WM_CHAR, 9, 1);
    EXPECT_EQ(window->events, (Events{"key 2", "key 2", "key 2", "key 27", "key 7", "key 97", "key 97", "key 9"}));
}

TEST_F(WindowProcedure, ActivateNeverReachesTheDefaultProcedure)
{
    // The default procedure would move the focus to the activated window.
    HWND focusBefore = GetFocus();
    EXPECT_EQ(Send(WM_ACTIVATE, WA_ACTIVE, 0), 0);
    EXPECT_EQ(GetFocus(), focusBefore);
}

TEST_F(WindowProcedure, ContextMenuFromKeyboardOrPointer)
{
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle), MAKELPARAM(static_cast<WORD>(-1), static_cast<WORD>(-1)));
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle), At(40, 50));
    EXPECT_EQ(window->events, (Events{"context -1,-1 keyboard", "context 40,50 pointer"}));
}

TEST_F(WindowProcedure, EraseBackgroundAnsweredByWindowWhenAsked)
{
    HDC dc = GetDC(handle);
    window->SetNoEraseBackground(true);
    EXPECT_EQ(Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(handle, dc);
}

TEST_F(WindowProcedure, EndOfUserMoveReportsSizeOnlyWhenSizeChanged)
{
    Send(WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(handle, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    window->events.clear();
    Send(WM_EXITSIZEMOVE, 0, 0);
    EXPECT_TRUE(window->events.empty()) << "a pure move is no resize";

    Send(WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(handle, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    window->events.clear();
    Send(WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(window->events,
              Events{"size " + std::to_string(window->GetClientWidth()) + "x" +
                     std::to_string(window->GetClientHeight())});
}

TEST_F(WindowProcedure, DroppedFilesArriveInOrderAndTheDropIsFinished)
{
    class DropWindow : public TestWindow {
    public:
        bool HandleDropFilesEvent(const std::vector<tevrin::filesystem_entity_id>& files) override
        {
            for (const auto& file : files)
                dropped.push_back(file.str());
            return true;
        }
        std::vector<std::string> dropped;
    };
    DropWindow* target = new DropWindow;
    target->Create(100, 100);

    // A drop handle as the shell makes it: DROPFILES followed by wide paths.
    const wchar_t paths[] = L"C:\\first.txt\0D:\\folder\\\0\0";
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof paths);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), paths, sizeof paths);
    GlobalUnlock(memory);

    SendMessageW(target->GetHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(target->dropped, (std::vector<std::string>{"C:\\first.txt", "D:\\folder"}));
    delete target;
}

TEST_F(WindowProcedure, ExceptionFromAHandlerReachesTheLoopThatDispatched)
{
    class Throwing : public TestWindow {
    public:
        bool HandleKeyEvent(tevrin::u16) override { throw "key handler failed"; }
    };
    Throwing* thrower = new Throwing;
    thrower->Create(100, 100);
    PostMessageW(thrower->GetHandle(), WM_CHAR, 'x', 1);
    const char* caught = nullptr;
    try {
        ui_test::PumpMessages();
    } catch (const char* message) {
        caught = message;
    }
    ASSERT_NE(caught, nullptr);
    EXPECT_STREQ(caught, "key handler failed");
    delete thrower;
}

namespace {

class FocusRecording : public TestWindow {
public:
    FocusRecording(tevrin::u32 kind, std::vector<std::string>* sharedLog, const char* name)
        : TestWindow(kind), log(sharedLog), label(name)
    {
    }
    void SetQuietFocus(bool quiet) { quietFocus = quiet; }
    bool HandleGetFocusEvent(int from) override
    {
        log->push_back(label + " got focus from " + std::to_string(from));
        return TestWindow::HandleGetFocusEvent(from);
    }
    bool HandleLoseFocusEvent() override
    {
        log->push_back(label + " lost focus");
        return false;
    }
    void HandleDescendantFocusGained() override
    {
        log->push_back(label + " descendant gained");
        TestWindow::HandleDescendantFocusGained();
    }
    void HandleDescendantFocusLost() override { log->push_back(label + " descendant lost"); }

private:
    std::vector<std::string>* log;
    std::string label;
};

}  // namespace

TEST_F(WindowProcedure, FocusEventsTellTheSiblingAndReachTheAncestors)
{
    std::vector<std::string> log;
    FocusRecording* parent = new FocusRecording(TestWindow::kindMainFrame, &log, "parent");
    parent->Create(300, 200);
    parent->Show(true);
    FocusRecording* first = new FocusRecording(TestWindow::kindChild, &log, "first");
    first->Create(50, 50, parent);
    FocusRecording* second = new FocusRecording(TestWindow::kindChild, &log, "second");
    second->Create(50, 50, parent);
    ASSERT_EQ(GetWindow(first->GetHandle(), GW_HWNDNEXT), second->GetHandle());
    SetForegroundWindow(parent->GetHandle());
    first->SetFocus();
    ui_test::PumpMessages();

    log.clear();
    second->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"first lost focus", "parent descendant lost", "second got focus from 1",
                                             "second descendant gained", "parent descendant gained"}));
    log.clear();
    first->SetQuietFocus(true);
    first->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"second lost focus", "parent descendant lost",
                                             "first got focus from -1"}));
    EXPECT_TRUE(first->HasFocus());
    EXPECT_FALSE(second->HasFocus());
    delete parent;
}

TEST_F(WindowProcedure, HandlerMayDeleteItsOwnWindow)
{
    class ClosingOnKey : public TestWindow {
    public:
        explicit ClosingOnKey(int* deletions) : TestWindow(kindDialog, deletions) {}
        bool HandleKeyEvent(tevrin::u16) override
        {
            delete this;
            return false;  // the default processing still runs, on the handle alone
        }
    };
    int deletions = 0;
    ClosingOnKey* closing = new ClosingOnKey(&deletions);
    closing->Create(100, 100);
    HWND closingHandle = closing->GetHandle();
    SendMessageW(closingHandle, WM_CHAR, 27, 1);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(closingHandle));
}
