// Labels, buttons and sliders on a real parent window: adoption, values, the
// Tab-key subclassing with real keyboard input, and the by-id operations.
#include "support/debug_output_capture.h"
#include "test_window.h"
#include "tevrin/ui/button.h"
#include "tevrin/ui/label.h"
#include "tevrin/ui/slider.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

using ui_test::TestWindow;

namespace {

std::wstring TextOf(HWND handle)
{
    wchar_t text[128] = {};
    GetWindowTextW(handle, text, 128);
    return text;
}

void SendKey(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

// Shift is held while the Tab messages are handled: the control reads the live key
// state, as a person's Shift+Tab would leave it. Waits for the focus to move.
void PressKey(WORD key, bool withShift)
{
    if (withShift) {
        SendKey(VK_SHIFT, false);
        ui_test::PumpMessagesUntil([] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }, 1000);
    }
    HWND focusBefore = GetFocus();
    SendKey(key, false);
    SendKey(key, true);
    ui_test::PumpMessagesUntil([focusBefore] { return GetFocus() != focusBefore; });
    ui_test::PumpMessagesFor(30);
    if (withShift) {
        SendKey(VK_SHIFT, true);
        ui_test::PumpMessagesUntil([] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) == 0; }, 1000);
    }
}

class Controls : public testing::Test {
protected:
    void SetUp() override
    {
        parent = new TestWindow(TestWindow::kindMainFrame);
        parent->Create(400, 300);
        parent->Show(true);
        SetForegroundWindow(parent->GetHandle());
        ui_test::PumpMessages();
    }
    void TearDown() override
    {
        controls.clear();  // control objects go while their parent's handles still live
        delete parent;
        EXPECT_TRUE(tevrin::WindowList().empty());
    }
    template <typename T>
    T* Make()
    {
        controls.emplace_back(new T);
        return static_cast<T*>(controls.back().get());
    }

    TestWindow* parent = nullptr;
    std::vector<std::unique_ptr<tevrin::Control>> controls;
};

}  // namespace

TEST_F(Controls, NewSliderReadsHalfAndRoundsToHundredths)
{
    tevrin::Slider* slider = Make<tevrin::Slider>();
    slider->Create(3, 200, 30, parent);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
    slider->SetValue(0.999f);
    EXPECT_EQ(SendMessageW(slider->GetHandle(), TBM_GETPOS, 0, 0), 100);
    EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
    slider->SetValue(0.004f);
    EXPECT_EQ(SendMessageW(slider->GetHandle(), TBM_GETPOS, 0, 0), 0);
    slider->SetValue(0.335f);
    EXPECT_EQ(SendMessageW(slider->GetHandle(), TBM_GETPOS, 0, 0), 34);
    EXPECT_EQ(SendMessageW(slider->GetHandle(), TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(SendMessageW(slider->GetHandle(), TBM_GETPAGESIZE, 0, 0), 10);
}

TEST_F(Controls, MovedSliderReachesTheParentAsControlScroll)
{
    tevrin::Slider* slider = Make<tevrin::Slider>();
    slider->Create(3, 200, 30, parent);
    parent->events.clear();
    SendMessageW(slider->GetHandle(), WM_KEYDOWN, VK_RIGHT, 1);
    ASSERT_FALSE(parent->events.empty());
    EXPECT_EQ(parent->events.front(), "control scroll");
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.51f);
}

TEST_F(Controls, LabelAdoptsExistingChildAndLeavesItAliveWhenDeleted)
{
    parent->CreateStaticText(7, L"original", 0, 0, 80, 20);
    HWND existing = GetDlgItem(parent->GetHandle(), 7);
    tevrin::Label* label = new tevrin::Label;
    label->Create(7, 50, 20, L"replacement", parent, tevrin::Label::alignRight);
    EXPECT_EQ(label->GetHandle(), existing);
    EXPECT_FALSE(label->OwnsHandle());
    EXPECT_EQ(TextOf(existing), L"original");
    EXPECT_EQ(parent->GetControl(7, true), label);
    delete label;
    EXPECT_TRUE(IsWindow(existing));
    EXPECT_EQ(GetWindowLongPtrW(existing, GWLP_USERDATA), 0);
}

TEST_F(Controls, CreatedControlIsDestroyedWithItsObject)
{
    tevrin_test::DebugOutputCapture trace;
    tevrin::Label* label = new tevrin::Label;
    label->Create(8, 50, 20, "caption", parent, tevrin::Label::alignCenter);
    HWND handle = label->GetHandle();
    EXPECT_TRUE(label->OwnsHandle());
    EXPECT_TRUE(GetWindowLongPtrW(handle, GWL_STYLE) & SS_CENTER);
    EXPECT_EQ(TextOf(handle), L"caption");
    EXPECT_FALSE(label->AcceptsFocus());
    delete label;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_NE(trace.Text().find("Deleting control "), std::string::npos);
    EXPECT_NE(trace.Text().find("Destroying associated HWND "), std::string::npos);
}

TEST_F(Controls, LabelNumbers)
{
    tevrin::Label* label = Make<tevrin::Label>();
    label->Create(9, 80, 20, L"", parent, 0);
    label->SetNumber(2.5);
    EXPECT_EQ(TextOf(label->GetHandle()), L"2.5");
    label->SetNumber(3.0);
    EXPECT_EQ(TextOf(label->GetHandle()), L"3");
    label->SetNumber(-0.0001);
    EXPECT_EQ(TextOf(label->GetHandle()), L"0");
    label->SetNumber(-12);
    EXPECT_EQ(TextOf(label->GetHandle()), L"-12");
    label->SetText(std::string("  \xC3\xA9t\xC3\xA9  "));
    std::string trimmed;
    label->GetTrimmedText(trimmed);
    EXPECT_EQ(trimmed, "\xC3\xA9t\xC3\xA9");
}

TEST_F(Controls, GetControlComplainsAboutChildWithoutObject)
{
    parent->CreateStaticText(12, "bare", 0, 0, 40, 20);
    EXPECT_EQ(parent->GetControl(12, false), nullptr);
    EXPECT_EQ(parent->GetControl(13, true), nullptr);
    const char* message = nullptr;
    try {
        parent->GetControl(12, true);
    } catch (const char* thrown) {
        message = thrown;
    }
    ASSERT_NE(message, nullptr);
    EXPECT_STREQ(message, "can't obtain control from HWND");
}

TEST_F(Controls, ComboBoxesAndCheckBoxesById)
{
    parent->CreateComboBox(20, true, 0, 0, 120, 200);
    EXPECT_EQ(parent->GetComboValue(20), -1);
    EXPECT_EQ(parent->GetComboTextW(20), L"");
    parent->SetComboItems(20, L"a||b", L"5|7");
    EXPECT_EQ(SendMessageW(GetDlgItem(parent->GetHandle(), 20), CB_GETCOUNT, 0, 0), 2);
    parent->SelectComboValue(20, 7);
    EXPECT_EQ(parent->GetComboValue(20), 7);
    EXPECT_EQ(parent->GetComboText(20), "b");
    parent->SelectComboValue(20, 6);
    EXPECT_EQ(parent->GetComboValue(20), 7) << "an unknown value selects nothing new";

    parent->CreateComboBox(21, false, 0, 30, 120, 200);
    parent->SetComboItems(21, std::vector<std::string>{"x", "y"});
    parent->SelectComboValue(21, 1);
    EXPECT_EQ(parent->GetComboText(21), "y");

    CreateWindowExW(0, L"BUTTON", L"check", WS_CHILD | BS_AUTOCHECKBOX, 0, 60, 80, 20, parent->GetHandle(),
                    reinterpret_cast<HMENU>(22), GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(parent->GetCheck(22));
    parent->SetCheck(22, true);
    EXPECT_TRUE(parent->GetCheck(22));
    parent->SetControlText(22, L"checked");
    EXPECT_EQ(parent->GetControlText(22), L"checked");
}

// Z order of the children: label, button, label, button, slider, label.
class TabKey : public Controls {
protected:
    void SetUp() override
    {
        Controls::SetUp();
        Make<tevrin::Label>()->Create(30, 60, 20, L"first", parent, 0);
        first = Make<tevrin::Button>();
        first->Create(31, 80, 24, parent);
        first->SetText("One");
        Make<tevrin::Label>()->Create(32, 60, 20, L"between", parent, 0);
        second = Make<tevrin::Button>();
        second->Create(33, 80, 24, parent);
        second->SetText("Two");
        slider = Make<tevrin::Slider>();
        slider->Create(34, 150, 30, parent);
        Make<tevrin::Label>()->Create(35, 60, 20, L"last", parent, 0);
        first->SetFocus();
        ui_test::PumpMessages();
    }

    tevrin::Button* first = nullptr;
    tevrin::Button* second = nullptr;
    tevrin::Slider* slider = nullptr;
};

TEST_F(TabKey, TabCyclesOverButtonsAndSliderSkippingLabels)
{
    ASSERT_EQ(GetFocus(), first->GetHandle());
    tevrin_test::DebugOutputCapture trace;
    PressKey(VK_TAB, false);
    EXPECT_EQ(GetFocus(), second->GetHandle());
    PressKey(VK_TAB, false);
    EXPECT_EQ(GetFocus(), slider->GetHandle());
    PressKey(VK_TAB, false);
    EXPECT_EQ(GetFocus(), first->GetHandle()) << "wraps to the first sibling";
    EXPECT_NE(trace.Text().find("Tab key pressed\n"), std::string::npos);
    EXPECT_NE(trace.Text().find("Attempting to set focus on control Two\n"), std::string::npos) << trace.Text();
    EXPECT_EQ(trace.Text().find("Shift-"), std::string::npos);
}

TEST_F(TabKey, ShiftTabCyclesBackwards)
{
    tevrin_test::DebugOutputCapture trace;
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), slider->GetHandle()) << "wraps to the last focusable sibling";
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), second->GetHandle());
    EXPECT_NE(trace.Text().find("Shift-Tab key pressed\n"), std::string::npos) << trace.Text();
}

TEST_F(TabKey, TabCharacterInAButtonIsConsumed)
{
    // Sent straight to the button: the replacement procedure answers it.
    EXPECT_EQ(SendMessageW(first->GetHandle(), WM_CHAR, 9, 1), 0);
    EXPECT_EQ(GetFocus(), second->GetHandle());
}

TEST_F(TabKey, TabStopWindowsQualifyAndEditFieldsGetTheirTextSelected)
{
    HWND edit = CreateWindowExW(0, L"EDIT", L"some text", WS_CHILD | WS_VISIBLE, 0, 100, 100, 20,
                                parent->GetHandle(), reinterpret_cast<HMENU>(40), GetModuleHandleW(nullptr), nullptr);
    SetWindowPos(edit, second->GetHandle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // between Two and the slider
    EXPECT_TRUE(parent->ChangeControlFocus(second, false));
    EXPECT_EQ(GetFocus(), edit);
    DWORD start = 1, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 9u);

    TestWindow* pane = new TestWindow(TestWindow::kindChild);
    pane->Create(50, 50, parent);
    SetWindowLongPtrW(pane->GetHandle(), GWL_STYLE, GetWindowLongPtrW(pane->GetHandle(), GWL_STYLE) | WS_TABSTOP);
    tevrin_test::DebugOutputCapture trace;
    EXPECT_TRUE(parent->ChangeControlFocus(slider, false));
    EXPECT_EQ(GetFocus(), pane->GetHandle());
    char expected[120];
    std::snprintf(expected, sizeof expected,
                  "tevrin::Window::ChangeControlFocus: found a window that can be focused: HWND: %p\n",
                  static_cast<void*>(pane->GetHandle()));
    EXPECT_NE(trace.Text().find(expected), std::string::npos) << trace.Text();
}

TEST_F(Controls, LoneFocusableControlKeepsTheFocus)
{
    Make<tevrin::Label>()->Create(50, 60, 20, L"label", parent, 0);
    tevrin::Button* only = Make<tevrin::Button>();
    only->Create(51, 80, 24, parent);
    EXPECT_TRUE(parent->ChangeControlFocus(only, false));
    EXPECT_EQ(GetFocus(), only->GetHandle());
    EXPECT_TRUE(parent->ChangeControlFocus(only, true));
    EXPECT_EQ(GetFocus(), only->GetHandle());
}

TEST_F(Controls, FocusWalkWithoutFocusableSiblingLeavesFocusAlone)
{
    tevrin::Label* one = Make<tevrin::Label>();
    one->Create(60, 60, 20, L"one", parent, 0);
    Make<tevrin::Label>()->Create(61, 60, 20, L"two", parent, 0);
    one->SetFocus();
    ASSERT_EQ(GetFocus(), one->GetHandle());
    EXPECT_FALSE(parent->ChangeControlFocus(nullptr, false));
    EXPECT_EQ(GetFocus(), one->GetHandle());
}

namespace {

class OwnerDrawnButton : public tevrin::Control {
public:
    void Create(int id, tevrin::Window* parent)
    {
        AdoptOrCreate(id, 80, 24, parent, L"BUTTON", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, L"drawn");
    }
    bool DrawItem(tevrin::GraphicsContext& gc, const RECT& item, bool selected, bool focused,
                  tevrin::u32 itemId) override
    {
        ++draws;
        backgroundMode = GetBkMode(gc.DeviceContext());
        lastItem = item;
        lastSelected = selected;
        lastFocused = focused;
        lastItemId = itemId;
        return handles;
    }
    int draws = 0;
    int backgroundMode = 0;
    RECT lastItem = {};
    bool lastSelected = false;
    bool lastFocused = false;
    tevrin::u32 lastItemId = 0;
    bool handles = true;
};

}  // namespace

TEST_F(Controls, OwnerDrawItemsAreDrawnByTheirControl)
{
    OwnerDrawnButton* button = Make<OwnerDrawnButton>();
    button->Create(70, parent);
    button->draws = 0;

    HDC memory = CreateCompatibleDC(nullptr);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 70;
    item.itemID = 4;
    item.itemState = ODS_SELECTED;
    item.hwndItem = button->GetHandle();
    item.hDC = memory;
    item.rcItem = RECT{1, 2, 30, 40};
    EXPECT_EQ(SendMessageW(parent->GetHandle(), WM_DRAWITEM, 70, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(button->draws, 1);
    EXPECT_EQ(button->backgroundMode, TRANSPARENT);
    EXPECT_TRUE(button->lastSelected);
    EXPECT_FALSE(button->lastFocused);
    EXPECT_EQ(button->lastItemId, 4u);
    EXPECT_TRUE(EqualRect(&button->lastItem, &item.rcItem));
    EXPECT_EQ(GetBkMode(memory), OPAQUE) << "the item's context gets its state back";
    DeleteDC(memory);
}
