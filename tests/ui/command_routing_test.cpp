// Commands travelling from window to window, with the trace lines read from the
// real debugger output, and popup-menu picks arriving as routed commands.
#include "support/debug_output_capture.h"
#include "test_window.h"
#include "tevrin/ui/button.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using ui_test::TestWindow;
using Events = std::vector<std::string>;

namespace {

int CountOf(const std::string& text, const std::string& piece)
{
    int count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

class CommandRouting : public testing::Test {
protected:
    void SetUp() override
    {
        top = new TestWindow(TestWindow::kindMainFrame);
        top->Create(400, 300);
        top->Show(true);
        pane = new TestWindow(TestWindow::kindChild);
        pane->Create(200, 200, top);
        pane->Show(true);
        SetForegroundWindow(top->GetHandle());
        pane->SetFocus();
        ui_test::PumpMessages();
        top->events.clear();
        pane->events.clear();
    }
    void TearDown() override
    {
        delete top;
        EXPECT_TRUE(tevrin::WindowList().empty());
    }
    LRESULT SendCommand(HWND to, int code, int id)
    {
        return SendMessageW(to, WM_COMMAND, MAKEWPARAM(id, code), 0);
    }

    TestWindow* top = nullptr;
    TestWindow* pane = nullptr;
};

}  // namespace

TEST_F(CommandRouting, CommandToTopLevelStartsAtFocusedWindowThenWalksUp)
{
    ASSERT_TRUE(pane->HasFocus());
    top->acceptsCommands = true;
    tevrin_test::DebugOutputCapture trace;
    EXPECT_EQ(SendCommand(top->GetHandle(), 0, 42), 0);

    EXPECT_EQ(pane->events, Events{"command 42"});
    EXPECT_EQ(top->events, Events{"command 42"});
    const std::string expected = "Command 42 sent to " + top->GetDescription() + "\n" +
                                 "  Command 42 was originally sent to top-level window, redirecting to start with "
                                 "focused window " + pane->GetDescription() + "\n" +
                                 "  Child window didn't handle command 42, trying its parent/owner " +
                                 top->GetDescription() + "\n";
    EXPECT_EQ(trace.Text(), expected);
}

TEST_F(CommandRouting, FocusedWindowThatAcceptsEndsTheWalk)
{
    pane->acceptsCommands = true;
    top->acceptsCommands = true;
    SendCommand(top->GetHandle(), 0, 7);
    EXPECT_EQ(pane->events, Events{"command 7"});
    EXPECT_TRUE(top->events.empty());
}

TEST_F(CommandRouting, UnacceptedCommandLogsEveryStepAndEndsAtTheTop)
{
    TestWindow* inner = new TestWindow(TestWindow::kindChild);
    inner->Create(50, 50, pane);
    tevrin_test::DebugOutputCapture trace;
    SendCommand(inner->GetHandle(), 0, 99);
    EXPECT_EQ(inner->events, Events{"command 99"});
    EXPECT_EQ(pane->events, Events{"command 99"});
    EXPECT_EQ(top->events, Events{"command 99"});
    EXPECT_EQ(CountOf(trace.Text(), "  Child window didn't handle command 99"), 2);
    EXPECT_EQ(CountOf(trace.Text(), "redirecting"), 0) << "a child window is not redirected";
}

TEST_F(CommandRouting, NotificationsAndIdZeroAreNotRouted)
{
    tevrin_test::DebugOutputCapture trace;
    SendCommand(top->GetHandle(), 0x300, 42);
    SendCommand(top->GetHandle(), 0, 0);
    EXPECT_TRUE(pane->events.empty());
    EXPECT_TRUE(top->events.empty());
    EXPECT_EQ(trace.Text().find("Command "), std::string::npos);
}

TEST_F(CommandRouting, ClickedButtonSendsItsIdToTheParentWindow)
{
    tevrin::Button* button = new tevrin::Button;
    button->Create(11, 80, 24, top);
    button->SetText("Clear");
    top->acceptsCommands = true;
    SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
    ui_test::PumpMessages();
    ASSERT_FALSE(top->events.empty());
    EXPECT_EQ(top->events.back(), "command 11");
    delete button;
}

TEST_F(CommandRouting, NoAcceleratorTableMeansNoTranslationAndNoTrace)
{
    MSG message = {};
    message.hwnd = pane->GetHandle();
    message.message = WM_KEYDOWN;
    message.wParam = 'C';
    tevrin_test::DebugOutputCapture trace;
    EXPECT_FALSE(tevrin::Window::TranslateKeyboardAccelerator(pane, &message));
    EXPECT_TRUE(trace.Text().empty());
}

namespace {

// Checks the open popup menu and picks its last entry with the keyboard, from inside
// the menu's own modal loop.
struct MenuInspection {
    int itemCount = -1;
    bool separatorInTheMiddle = false;
    std::wstring lastLabel;
};
MenuInspection inspection;

void CALLBACK PickLastEntry(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (menuWindow) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        inspection.itemCount = GetMenuItemCount(menu);
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu, 1, TRUE, &info);
        inspection.separatorInTheMiddle = (info.fType & MFT_SEPARATOR) != 0;
        wchar_t label[64] = {};
        GetMenuStringW(menu, 2, label, 64, MF_BYPOSITION);
        inspection.lastLabel = label;
    }
    INPUT keys[6] = {};
    const WORD sequence[3] = {VK_DOWN, VK_DOWN, VK_RETURN};
    for (int i = 0; i < 3; ++i) {
        keys[2 * i].type = keys[2 * i + 1].type = INPUT_KEYBOARD;
        keys[2 * i].ki.wVk = keys[2 * i + 1].ki.wVk = sequence[i];
        keys[2 * i + 1].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, keys, sizeof(INPUT));
}

void CALLBACK DismissMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    EndMenu();
}

}  // namespace

TEST_F(CommandRouting, PopupMenuPickArrivesAsRoutedCommand)
{
    top->acceptsCommands = true;
    inspection = MenuInspection();
    SetTimer(nullptr, 0, 300, &PickLastEntry);
    top->ShowPopupMenu({{1, "Copy"}, {0, ""}, {2, "Clear"}}, POINT{20, 20});
    ui_test::PumpMessagesFor(200);

    EXPECT_EQ(inspection.itemCount, 3);
    EXPECT_TRUE(inspection.separatorInTheMiddle);
    EXPECT_EQ(inspection.lastLabel, L"Clear");
    ASSERT_FALSE(top->events.empty());
    EXPECT_EQ(top->events.back(), "command 2");
    EXPECT_EQ(pane->events, Events{"command 2"}) << "the pick is routed from the focused window";
}

TEST_F(CommandRouting, DismissedPopupMenuSendsNothing)
{
    SetTimer(nullptr, 0, 300, &DismissMenu);
    top->ShowPopupMenu({{1, "Copy"}}, POINT{20, 20});
    ui_test::PumpMessagesFor(200);
    EXPECT_TRUE(top->events.empty());
    EXPECT_TRUE(pane->events.empty());
}

namespace {

// A control object over a system class the framework has no class of its own for.
class SelectionControl : public tevrin::Control {
public:
    void Create(int id, const wchar_t* className, DWORD style, tevrin::Window* parent)
    {
        AdoptOrCreate(id, 100, 100, parent, className, WS_CHILD | WS_VISIBLE | style, L"");
    }
    bool HandleSelectionChange() override
    {
        ++selectionChanges;
        return acceptsSelectionChange;
    }
    int selectionChanges = 0;
    bool acceptsSelectionChange = false;
};

}  // namespace

TEST_F(CommandRouting, ComboSelectionGoesToTheControlThenToTheWindow)
{
    SelectionControl combo;
    combo.Create(30, L"ComboBox", CBS_DROPDOWNLIST, top);
    tevrin_test::DebugOutputCapture trace;
    SendCommand(top->GetHandle(), CBN_SELCHANGE, 30);
    EXPECT_EQ(combo.selectionChanges, 1);
    EXPECT_EQ(top->events, Events{"selection 30"}) << "declined by the control";
    combo.acceptsSelectionChange = true;
    top->events.clear();
    SendCommand(top->GetHandle(), CBN_SELCHANGE, 30);
    EXPECT_EQ(combo.selectionChanges, 2);
    EXPECT_TRUE(top->events.empty());
    EXPECT_EQ(trace.Text().find("Command "), std::string::npos) << "selections are not routed as commands";
}

TEST_F(CommandRouting, ListViewItemChangeIsASelectionEvent)
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, top->GetHandle(),
                                reinterpret_cast<HMENU>(31), GetModuleHandleW(nullptr), nullptr);
    NMLISTVIEW change = {};
    change.hdr.hwndFrom = list;
    change.hdr.idFrom = 31;
    change.hdr.code = LVN_ITEMCHANGED;
    SendMessageW(top->GetHandle(), WM_NOTIFY, 31, reinterpret_cast<LPARAM>(&change));
    change.hdr.code = LVN_ITEMCHANGING;
    SendMessageW(top->GetHandle(), WM_NOTIFY, 31, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(top->events, Events{"selection 31"});
}

TEST_F(CommandRouting, AcceleratorKeyIsTranslatedIntoARoutedCommand)
{
    ACCEL entry = {FCONTROL | FVIRTKEY, 'K', 77};
    HACCEL table = CreateAcceleratorTableW(&entry, 1);
    top->SetAccelerators(table);
    top->acceptsCommands = true;

    // The key message as the main loop would take it from the queue.
    INPUT keys[4] = {};
    const WORD sequence[4] = {VK_CONTROL, 'K', 'K', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, keys, sizeof(INPUT));
    tevrin_test::DebugOutputCapture trace;
    bool translated = false;
    MSG message;
    const DWORD start = GetTickCount();
    while (!translated && GetTickCount() - start < 3000) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(10);
            continue;
        }
        if (message.message == WM_KEYDOWN && message.wParam == 'K')
            translated = tevrin::Window::TranslateKeyboardAccelerator(pane, &message);
        if (!translated) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    SendInput(2, keys + 2, sizeof(INPUT));
    ui_test::PumpMessagesFor(100);

    EXPECT_TRUE(translated) << "found on the pane's parent";
    EXPECT_NE(trace.Text().find("tevrin::Window::TranslateKeyboardAccelerator: " + top->GetDescription() + "\n"),
              std::string::npos)
        << trace.Text();
    ASSERT_FALSE(top->events.empty());
    EXPECT_EQ(top->events.back(), "command 77");

    trace.Clear();
    SendMessageW(top->GetHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_NE(trace.Text().find("tevrin::Window::SetActiveMenuWindow: " + top->GetDescription() + "\n"),
              std::string::npos);
    EXPECT_NE(trace.Text().find("Active menu window set to \n"), std::string::npos) << "an empty title";
    top->SetAccelerators(nullptr);
    DestroyAcceleratorTable(table);
}
