// Edit commands forwarded to a focused edit field. The command ids are fixed by the
// first window a process creates, so this needs a program of its own.
#include "support/debug_output_capture.h"
#include "test_window.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

using ui_test::TestWindow;

namespace {

enum { cutId = 101, copyId = 102, pasteId = 103, undoId = 104, otherId = 105 };

class EditAwareWindow : public TestWindow {
public:
    void GetEditCommandIds(int& cut, int& copy, int& paste, int& undo) override
    {
        cut = cutId;
        copy = copyId;
        paste = pasteId;
        undo = undoId;
    }
};

std::wstring TextOf(HWND handle)
{
    wchar_t text[64] = {};
    GetWindowTextW(handle, text, 64);
    return text;
}

}  // namespace

TEST(EditForwarding, EditCommandsReachTheFocusedEditField)
{
    EditAwareWindow* window = new EditAwareWindow;
    window->Create(300, 200);
    window->Show(true);
    HWND edit = CreateWindowExW(0, L"EDIT", L"abc", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window->GetHandle(),
                                reinterpret_cast<HMENU>(5), GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window->GetHandle());
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"xyz"));
    ASSERT_EQ(TextOf(edit), L"xyz");
    ui_test::PumpMessages();
    window->events.clear();

    tevrin_test::DebugOutputCapture trace;
    SendMessageW(window->GetHandle(), WM_COMMAND, MAKEWPARAM(undoId, 0), 0);
    EXPECT_EQ(TextOf(edit), L"abc");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(window->GetHandle(), WM_COMMAND, MAKEWPARAM(cutId, 0), 0);
    EXPECT_EQ(TextOf(edit), L"");
    EXPECT_TRUE(window->events.empty()) << "forwarded commands are not routed";
    EXPECT_EQ(trace.Text().find("Command "), std::string::npos);

    SendMessageW(window->GetHandle(), WM_COMMAND, MAKEWPARAM(otherId, 0), 0);
    EXPECT_EQ(window->events, std::vector<std::string>{"command 105"});

    // With the focus outside any edit field the ids are ordinary commands.
    SetFocus(window->GetHandle());
    window->events.clear();
    SendMessageW(window->GetHandle(), WM_COMMAND, MAKEWPARAM(undoId, 0), 0);
    EXPECT_EQ(window->events, std::vector<std::string>{"command 104"});
    delete window;
    EXPECT_TRUE(tevrin::WindowList().empty());
}
