// Creation, class naming, pairing, lifetime and validity of framework windows.
#include "support/debug_output_capture.h"
#include "test_window.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/label.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using ui_test::TestWindow;

namespace {

std::wstring ClassOf(HWND handle)
{
    wchar_t name[256] = {};
    GetClassNameW(handle, name, 256);
    return name;
}

bool InWindowList(const tevrin::Window* window)
{
    const auto& list = tevrin::WindowList();
    return std::find(list.begin(), list.end(), window) != list.end();
}

// Records its destroy event into a counter that outlives the object.
class CountingWindow : public TestWindow {
public:
    CountingWindow(tevrin::u32 kind, int* destroyEvents, int* deletions)
        : TestWindow(kind, deletions), destroyEventCounter(destroyEvents)
    {
    }
    void HandleDestroyEvent() override { ++*destroyEventCounter; }

private:
    int* destroyEventCounter;
};

class WindowCore : public testing::Test {
protected:
    void TearDown() override
    {
        // Nothing a test made may outlive it: the list is process-wide.
        EXPECT_TRUE(tevrin::WindowList().empty());
    }
};

}  // namespace

TEST_F(WindowCore, UndefinedStyleKindThrowsBeforeAnythingIsMade)
{
    for (tevrin::u32 kind : {0u, 8u}) {
        TestWindow* window = new TestWindow(kind);
        window->SetBackground(0.5f, 0.25f, 0.75f);
        const char* message = nullptr;
        try {
            window->Create(100, 100);
        } catch (const char* thrown) {
            message = thrown;
        }
        ASSERT_NE(message, nullptr) << "kind " << kind;
        EXPECT_STREQ(message, "window style undefined");
        EXPECT_EQ(window->GetHandle(), nullptr);
        WNDCLASSEXW info = {};
        info.cbSize = sizeof info;
        EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"tevrin_0_0_0_12599424", &info))
            << "no class may be registered for an undefined kind";
        delete window;
    }
}

TEST_F(WindowCore, ClassNameCarriesIconModalityOwnContextAndColourAndIsShared)
{
    TestWindow* first = new TestWindow(TestWindow::kindPopup);
    first->SetOwnDC(true);
    first->SetBackground(1.0f, 1.0f, 1.0f);
    first->Create(50, 50);
    TestWindow* second = new TestWindow(TestWindow::kindPopup);
    second->SetOwnDC(true);
    second->SetBackground(1.0f, 1.0f, 1.0f);
    second->Create(60, 60);

    EXPECT_EQ(ClassOf(first->GetHandle()), L"tevrin_0_0_1_16777215");
    EXPECT_EQ(ClassOf(second->GetHandle()), L"tevrin_0_0_1_16777215");
    // One registration: both handles point at the same class atom and brush.
    EXPECT_EQ(GetClassLongPtrW(first->GetHandle(), GCW_ATOM), GetClassLongPtrW(second->GetHandle(), GCW_ATOM));
    EXPECT_EQ(GetClassLongPtrW(first->GetHandle(), GCLP_HBRBACKGROUND),
              GetClassLongPtrW(second->GetHandle(), GCLP_HBRBACKGROUND));
    EXPECT_TRUE(GetClassLongPtrW(first->GetHandle(), GCL_STYLE) & CS_OWNDC);

    TestWindow* other = new TestWindow(TestWindow::kindPopup);
    other->SetBackground(1.0f, 0.0f, 0.0f);
    other->Create(60, 60);
    EXPECT_EQ(ClassOf(other->GetHandle()), L"tevrin_0_0_0_255");
    EXPECT_FALSE(GetClassLongPtrW(other->GetHandle(), GCL_STYLE) & CS_OWNDC);
    EXPECT_TRUE(GetClassLongPtrW(other->GetHandle(), GCL_STYLE) & CS_DBLCLKS);
    delete first;
    delete second;
    delete other;
}

TEST_F(WindowCore, DefaultBackgroundIsTheButtonFaceColour)
{
    TestWindow* window = new TestWindow(TestWindow::kindPopup);
    window->Create(50, 50);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(ClassOf(window->GetHandle()), L"tevrin_0_0_0_" + std::to_wstring(face));
    delete window;
}

TEST_F(WindowCore, ChildWithoutParentBecomesMessageOnly)
{
    TestWindow* window = new TestWindow(TestWindow::kindChild);
    window->Create(10, 10);
    ASSERT_NE(window->GetHandle(), nullptr);
    const std::wstring className = ClassOf(window->GetHandle());
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, className.c_str(), nullptr), window->GetHandle());
    EXPECT_EQ(tevrin::Window::FromHandle(window->GetHandle()), window);
    delete window;
}

TEST_F(WindowCore, HandleDestroyedFirstCallsDestroyEventAndDeletesOnce)
{
    int destroyEvents = 0;
    int deletions = 0;
    CountingWindow* window = new CountingWindow(TestWindow::kindMainFrame, &destroyEvents, &deletions);
    window->Create(200, 200);
    HWND handle = window->GetHandle();
    ASSERT_TRUE(InWindowList(window));

    DestroyWindow(handle);
    EXPECT_EQ(destroyEvents, 1);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(tevrin::WindowList().empty());
}

TEST_F(WindowCore, ObjectDeletedFirstDestroysHandleWithoutDestroyEvent)
{
    int destroyEvents = 0;
    int deletions = 0;
    CountingWindow* window = new CountingWindow(TestWindow::kindMainFrame, &destroyEvents, &deletions);
    window->Create(200, 200);
    HWND handle = window->GetHandle();

    tevrin_test::DebugOutputCapture trace;
    delete window;
    EXPECT_EQ(destroyEvents, 0);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_NE(trace.Text().find("Window::dtor - \""), std::string::npos);
    EXPECT_NE(trace.Text().find("    Calling DestroyWindow on "), std::string::npos);
}

TEST_F(WindowCore, DestroyingParentDeletesChildObjectsOnce)
{
    int destroyEvents = 0;
    int deletions = 0;
    CountingWindow* parent = new CountingWindow(TestWindow::kindMainFrame, &destroyEvents, &deletions);
    parent->Create(300, 300);
    CountingWindow* child = new CountingWindow(TestWindow::kindChild, &destroyEvents, &deletions);
    child->Create(100, 100, parent);
    CountingWindow* grandchild = new CountingWindow(TestWindow::kindChild, &destroyEvents, &deletions);
    grandchild->Create(50, 50, child);

    DestroyWindow(parent->GetHandle());
    EXPECT_EQ(destroyEvents, 3);
    EXPECT_EQ(deletions, 3);
}

TEST_F(WindowCore, CreationPairsObjectAndHandleAndLogs)
{
    tevrin_test::DebugOutputCapture trace;
    TestWindow* window = new TestWindow(TestWindow::kindSizableDialog);
    window->Create(200, 150, nullptr, 10, 20);
    HWND handle = window->GetHandle();
    EXPECT_EQ(reinterpret_cast<tevrin::Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA)), window);
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    char expected[96];
    std::snprintf(expected, sizeof expected, "tevrin::Window::Create: window (HWND %p) created\n",
                  static_cast<void*>(handle));
    EXPECT_NE(trace.Text().find(expected), std::string::npos) << trace.Text();
    delete window;
}

TEST_F(WindowCore, ToolWindowKindsGetToolExtendedStyles)
{
    TestWindow* window = new TestWindow(TestWindow::kindSizableToolWindow);
    window->Create(200, 150);
    const LONG_PTR extended = GetWindowLongPtrW(window->GetHandle(), GWL_EXSTYLE);
    EXPECT_TRUE(extended & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(extended & WS_EX_CONTROLPARENT);
    EXPECT_TRUE(GetWindowLongPtrW(window->GetHandle(), GWL_STYLE) & WS_MINIMIZEBOX);
    delete window;
}

TEST_F(WindowCore, ValidityChecks)
{
    tevrin_test::DebugOutputCapture trace;
    TestWindow* window = new TestWindow(TestWindow::kindPopup);
    std::string reason = "untouched";
    EXPECT_TRUE(window->IsValid(reason));
    EXPECT_EQ(reason, "untouched");
    EXPECT_NE(trace.Text().find("tevrin::Window::IsValid: warning: tevrin::Window has no HWND (has not been "
                                "created yet?)\n"),
              std::string::npos);

    window->Create(50, 50);
    EXPECT_TRUE(window->IsValid(reason));

    HWND handle = window->GetHandle();
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    EXPECT_FALSE(window->IsValid(reason));
    EXPECT_EQ(reason, "tevrin::Window has HWND, but HWND does not refer to window");
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    delete window;
}

TEST_F(WindowCore, DescriptionTitleAndTraceLines)
{
    TestWindow* window = new TestWindow(TestWindow::kindPopup);
    window->SetBackground(0.0f, 0.0f, 0.0f);
    window->Create(50, 50);
    tevrin_test::DebugOutputCapture trace;
    window->SetTitle(std::string("Gr\xC3\xBC\xC3\x9F" "e"));
    EXPECT_EQ(window->GetTitle(), "Gr\xC3\xBC\xC3\x9F" "e");

    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%p (HWND %p)", static_cast<void*>(window),
                  static_cast<void*>(window->GetHandle()));
    EXPECT_EQ(window->GetDescription(), std::string(prefix) + " \"Gr\xC3\xBC\xC3\x9F" "e\" \"tevrin_0_0_0_0\"");

    // The debugger output passes through the ANSI code page, so the trace is checked
    // with a plain title.
    trace.Clear();
    window->SetTitle("Plain");
    EXPECT_NE(trace.Text().find(std::string("Title of window ") + prefix + " changed to 'Plain'\n"),
              std::string::npos)
        << trace.Text();
    EXPECT_NE(trace.Text().find("tevrin::Window::SetTitle: " + window->GetDescription() + "\n"), std::string::npos)
        << trace.Text();

    window->SetTitle(L"");
    EXPECT_EQ(window->GetDescription(), std::string(prefix) + " \"tevrin_0_0_0_0\"");
    delete window;
}

TEST_F(WindowCore, FamilyLookups)
{
    TestWindow* top = new TestWindow(TestWindow::kindMainFrame);
    top->Create(300, 300);
    TestWindow* pane = new TestWindow(TestWindow::kindChild);
    pane->Create(100, 100, top);
    TestWindow* inner = new TestWindow(TestWindow::kindChild);
    inner->Create(50, 50, pane);
    tevrin::Label* label = new tevrin::Label;
    label->Create(5, 40, 20, L"label", pane, 0);

    EXPECT_EQ(inner->GetParentWindow(), pane);
    EXPECT_EQ(pane->GetParentWindow(), top);
    EXPECT_EQ(top->GetParentWindow(), nullptr);
    EXPECT_EQ(inner->GetTopLevelWindow(), top);
    EXPECT_EQ(top->GetTopLevelWindow(), top);
    EXPECT_EQ(tevrin::Window::FindWindowObject(label->GetHandle()), pane);
    EXPECT_EQ(tevrin::Window::FromHandle(label->GetHandle()), nullptr) << "a control is no framework window";
    EXPECT_TRUE(top->IsTopLevel());
    EXPECT_TRUE(pane->IsChild());

    std::vector<tevrin::Window*> children;
    EXPECT_TRUE(pane->GetChildWindows(children));
    EXPECT_EQ(children, std::vector<tevrin::Window*>{inner});
    EXPECT_FALSE(inner->GetChildWindows(children));
    EXPECT_TRUE(children.empty());
    delete label;
    delete top;
}

TEST_F(WindowCore, ClearDeletesChildWindowsAndControls)
{
    int deletions = 0;
    TestWindow* parent = new TestWindow(TestWindow::kindMainFrame);
    parent->Create(300, 300);
    TestWindow* pane = new TestWindow(TestWindow::kindChild, &deletions);
    pane->Create(100, 100, parent);
    tevrin::Label* label = new tevrin::Label;
    label->Create(5, 40, 20, L"label", parent, 0);
    parent->CreateStaticText(6, L"bare", 0, 0, 40, 20);
    // An adopted control's object goes without its handle; Clear must still finish.
    tevrin::Label* adopted = new tevrin::Label;
    adopted->Create(6, 40, 20, L"ignored", parent, 0);

    parent->Clear();
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(GetWindow(parent->GetHandle(), GW_CHILD), nullptr);
    EXPECT_EQ(tevrin::WindowList().size(), 1u);
    delete parent;
}

TEST_F(WindowCore, FirstShowCallsFirstShowEventOnce)
{
    class ShowCounting : public TestWindow {
    public:
        ShowCounting() : TestWindow(kindPopup) {}
        bool HandleFirstShowEvent() override
        {
            ++firstShows;
            return true;
        }
        int firstShows = 0;
    };
    ShowCounting* window = new ShowCounting;
    window->Create(50, 50);
    window->Show(true);
    window->Show(false);
    window->Show(true);
    EXPECT_EQ(window->firstShows, 1);
    EXPECT_TRUE(window->IsVisible(true));
    delete window;
}

TEST_F(WindowCore, FailedCreationThrowsNamingTheWindowType)
{
    class StaleParent : public TestWindow {
    public:
        StaleParent() : TestWindow(kindMainFrame) {}
        void AdoptHandle(HWND handle) { hwnd = handle; }
    };
    // A parent whose handle no longer exists makes the platform refuse the child.
    TestWindow* scratch = new TestWindow(TestWindow::kindPopup);
    scratch->Create(10, 10);
    HWND gone = scratch->GetHandle();
    delete scratch;
    ASSERT_FALSE(IsWindow(gone));
    StaleParent* parent = new StaleParent;
    parent->AdoptHandle(gone);

    TestWindow* child = new TestWindow(TestWindow::kindChild);
    std::string message;
    try {
        child->Create(10, 10, parent);
    } catch (const char* thrown) {
        message = thrown;
    }
    EXPECT_EQ(message.rfind("can't create window of type TestWindow", 0), 0u) << message;
    EXPECT_EQ(child->GetHandle(), nullptr);
    delete child;
    parent->AdoptHandle(nullptr);
    delete parent;
}
