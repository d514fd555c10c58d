// Framework windows on real handles with real messages: lifetime, the message-to-event
// table with the pointer tracking, and command routing.
#include "test_window.h"
#include "tevrin/core/callback_exception.h"
#include "tevrin/ui/button.h"

#include <gtest/gtest.h>

using ui_test::TestWindow;
using Events = std::vector<std::string>;

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }
struct Sent { UINT message; WPARAM wParam = 0; LPARAM lParam = 0; };  // a message sent to the window
Sent Wheel(int delta) { return {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0}; }

class Windows : public testing::Test {
protected:
    ui_test::WindowSweeper sweeper;
};

}  // namespace

TEST_F(Windows, AWindowObjectLivesExactlyAsLongAsItsHandle)
{
    int deletions = 0;
    auto* destroyedFirst = new TestWindow(TestWindow::kindMainFrame, &deletions);
    destroyedFirst->Create(200, 200);
    DestroyWindow(destroyedFirst->GetHandle());
    EXPECT_EQ(deletions, 1) << "the handle went first: the object is deleted with it";
    auto* deletedFirst = new TestWindow;
    deletedFirst->Create(200, 200);
    const HWND handle = deletedFirst->GetHandle();
    delete deletedFirst;
    EXPECT_FALSE(IsWindow(handle)) << "the object went first: it destroys its handle";
    auto* parent = new TestWindow(TestWindow::kindMainFrame, &deletions);
    parent->Create(300, 300);
    auto* child = new TestWindow(TestWindow::kindChild, &deletions);
    child->Create(100, 100, parent);
    (new TestWindow(TestWindow::kindChild, &deletions))->Create(50, 50, child);
    DestroyWindow(parent->GetHandle());
    EXPECT_EQ(deletions, 4) << "destroying a parent deletes its children, each once";
    EXPECT_TRUE(tevrin::WindowList().empty());
}

TEST_F(Windows, MessagesBecomeEventsAndTheTrackerHoldsTheCaptureWhileAButtonIsDown)
{
    const Sent left = {WM_LBUTTONDOWN, 0, At(1, 1)}, leftUp = {WM_LBUTTONUP, 0, At(1, 1)};
    const std::tuple<const char*, std::vector<Sent>, Events> rows[] = {
        {"a minimised window gets no size event", {{WM_SIZE, SIZE_MINIMIZED, 0}, {WM_SIZE, 0, At(120, 80)}}, {"size 120x80"}},
        {"wheel notches truncate toward zero", {Wheel(60), Wheel(-240), Wheel(-359), Wheel(120)},
         {"wheel -2", "wheel -2", "wheel 1"}},
        {"the wheel is dropped while the left button is held", {left, Wheel(240), leftUp}, {"down 1", "up 1"}},
        {"the wheel is dropped while the right button is held", {{WM_RBUTTONDOWN}, Wheel(240), {WM_RBUTTONUP}},
         {"down 3", "up 3"}},
        {"the middle button does not block the wheel", {{WM_MBUTTONDOWN}, Wheel(240), {WM_MBUTTONUP}},
         {"down 2", "wheel 2", "up 2"}},
        {"repeated moves at one position are reported once",
         {{WM_MOUSEMOVE, 0, At(0, 0)}, {WM_MOUSEMOVE, 0, At(0, 0)}, {WM_MOUSEMOVE, 0, At(3, 4)},
          {WM_MOUSEMOVE, 0, At(3, 4)}, {WM_MOUSEMOVE, 0, At(-2, 4)}},
         {"move 0,0", "move 3,4", "move -2,4"}},
        {"navigation keys come as the framework's key codes, repeated; other keys only as characters",
         {{WM_KEYDOWN, VK_DELETE, 1}, {WM_KEYDOWN, VK_LEFT, 2}, {WM_KEYDOWN, VK_RIGHT, 1}, {WM_KEYDOWN, VK_UP, 1},
          {WM_KEYDOWN, VK_DOWN, 1}, {WM_KEYDOWN, VK_PRIOR, 1}, {WM_KEYDOWN, VK_NEXT, 1}, {WM_KEYDOWN, VK_END, 1},
          {WM_KEYDOWN, VK_HOME, 1}, {WM_KEYDOWN, VK_ESCAPE, 1}, {WM_KEYDOWN, 'A', 1}, {WM_CHAR, 'a', 1}},
         {"key 1", "key 2", "key 2", "key 3", "key 4", "key 5", "key 6", "key 7", "key 11", "key 14", "key 27", "key 97"}},
        {"a double click is one left press, and only the left one is an event",
         {left, leftUp, {WM_LBUTTONDBLCLK, 0, At(1, 1)}, leftUp, {WM_RBUTTONDBLCLK}, {WM_MBUTTONDBLCLK}},
         {"down 1", "up 1", "double 1", "up 1"}},
    };
    for (const auto& [name, sent, expected] : rows) {
        auto* window = new TestWindow;
        window->Create(300, 200);
        window->events.clear();
        for (const Sent& message : sent)
            SendMessageW(window->GetHandle(), message.message, message.wParam, message.lParam);
        EXPECT_EQ(window->events, expected) << name;
        EXPECT_EQ(GetCapture(), nullptr) << name;
        delete window;
    }

    auto* window = new TestWindow;
    window->Create(300, 200);
    const HWND handle = window->GetHandle();
    SendMessageW(handle, WM_LBUTTONDOWN, 0, At(5, 6));
    SendMessageW(handle, WM_RBUTTONDOWN, 0, At(7, 8));
    SendMessageW(handle, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, At(20, 30));
    SendMessageW(handle, WM_LBUTTONUP, 0, At(9, 10));
    EXPECT_EQ(GetCapture(), handle) << "the right button is still down";
    EXPECT_EQ(window->press[1].x, 5) << "where the left button went down";
    EXPECT_EQ(window->current[1].x, 9) << "where the left button came up";
    EXPECT_EQ(window->current[3].x, 20) << "where the held right button moved";
    SendMessageW(handle, WM_LBUTTONDOWN, 0, At(1, 1));
    window->events.clear();
    ReleaseCapture();
    EXPECT_EQ(window->events, (Events{"up 1", "up 3"})) << "a lost capture releases the held buttons in order";
}

TEST_F(Windows, CommandsStartAtTheFocusedWindowWalkUpAndHandlerFailuresReachTheLoop)
{
    auto* top = new TestWindow;
    top->Create(400, 300);
    top->Show(true);
    auto* pane = new TestWindow(TestWindow::kindChild);
    pane->Create(200, 200, top);
    auto* inner = new TestWindow(TestWindow::kindChild);
    inner->Create(50, 50, pane);
    SetForegroundWindow(top->GetHandle());
    pane->SetFocus();
    ASSERT_TRUE(pane->HasFocus());
    top->events.clear();
    top->acceptsCommands = true;
    SendMessageW(top->GetHandle(), WM_COMMAND, 42, 0);
    SendMessageW(inner->GetHandle(), WM_COMMAND, 43, 0);
    pane->acceptsCommands = true;
    SendMessageW(top->GetHandle(), WM_COMMAND, 45, 0);
    EXPECT_EQ(inner->events, Events{"command 43"});
    EXPECT_EQ(pane->events, (Events{"command 42", "command 43", "command 45"}));
    EXPECT_EQ(top->events, (Events{"command 42", "command 43"}));
    pane->acceptsCommands = false;
    tevrin::Button button;
    button.Create(11, 80, 24, top);
    SendMessageW(button.GetHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(top->events.back(), "command 11") << "a clicked button sends its id to its parent";

    // A failing handler must not unwind through the system function that sent its
    // message: the procedure keeps the failure, returns, and the loop throws it.
    class Failing : public TestWindow {
    public:
        using TestWindow::TestWindow;
        bool HandleKeyEvent(tevrin::u16) override { throw "key handler failed"; }
        bool HandleSizeEvent(int, int) override { throw "size handler failed"; }
    };
    int deleted = 0;
    auto* failing = new Failing(tevrin::Window::kindMainFrame, &deleted);
    failing->Create(100, 100);
    bool returned = false;
    try {
        returned = SetWindowPos(failing->GetHandle(), nullptr, 0, 0, 150, 120, SWP_NOMOVE | SWP_NOZORDER);
        PostMessageW(failing->GetHandle(), WM_CHAR, 'x', 1);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
    } catch (...) {
        ADD_FAILURE() << "a handler's exception unwound through the window procedure";
    }
    EXPECT_TRUE(returned) << "SetWindowPos returned normally";
    EXPECT_EQ(failing->GetWidth(), 150);
    DestroyWindow(failing->GetHandle());
    EXPECT_EQ(deleted, 1) << "a window torn down while a failure waits still frees its object";
    try {
        tevrin::rethrow_callback_exception();
        ADD_FAILURE() << "the failure was not kept";
    } catch (const char* text) {
        EXPECT_STREQ(text, "size handler failed") << "the first failure is the one kept";
    }
    EXPECT_NO_THROW(tevrin::rethrow_callback_exception()) << "and it is thrown once";
}
