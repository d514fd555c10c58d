// The process-wide parts of the window framework: the application window (the
// first window created), re-parenting of later main frames, modal windows, and the
// main loop ending once the last window is gone. The tests run in this file's order:
// the first one must make the process's first window.
#include "support/debug_output_capture.h"
#include "test_window.h"
#include "tevrin/ui/button.h"
#include "tevrin/ui/label.h"
#include "tevrin/ui/slider.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <memory>

using ui_test::TestWindow;

TEST(ApplicationWindow, FirstCreatedWindowIsTheApplicationWindowAndLaterMainFramesJoinIt)
{
    ASSERT_EQ(tevrin::Window::GetApplicationWindow(), nullptr) << "this must be the first test of the program";
    TestWindow* constructedFirst = new TestWindow(TestWindow::kindPopup);  // listed first, never created
    TestWindow* application = new TestWindow(TestWindow::kindMainFrame);
    application->Create(400, 300);
    EXPECT_EQ(tevrin::Window::GetApplicationWindow(), application);

    TestWindow* later = new TestWindow(TestWindow::kindMainFrame);
    later->Create(200, 100);
    EXPECT_EQ(GetAncestor(later->GetHandle(), GA_PARENT), application->GetHandle());
    EXPECT_EQ(later->GetParentWindow(), application);
    EXPECT_EQ(tevrin::Window::GetApplicationWindow(), application);

    std::string reason;
    EXPECT_FALSE(later->IsValid(reason)) << "its parent is not the first entry of the window list";
    EXPECT_EQ(reason, "tevrin::Window is top-level child but does not have app window as owner");
    delete constructedFirst;
    EXPECT_TRUE(later->IsValid(reason));

    delete application;
    EXPECT_TRUE(tevrin::WindowList().empty()) << "the re-parented window goes with its parent";
    EXPECT_EQ(tevrin::Window::GetApplicationWindow(), nullptr);
}

TEST(ModalWindow, DisablesOtherTopLevelWindowsUntilItEnds)
{
    TestWindow* owner = new TestWindow(TestWindow::kindMainFrame);
    owner->Create(400, 300, nullptr, 100, 100);
    owner->Show(true);
    TestWindow* bystander = new TestWindow(TestWindow::kindPopup);
    bystander->Create(100, 100);
    TestWindow* pane = new TestWindow(TestWindow::kindChild);
    pane->Create(50, 50, owner);

    int deletions = 0;
    int endCalls = 0;
    TestWindow* dialog = new TestWindow(TestWindow::kindDialog, &deletions);
    dialog->CreateModal(200, 100, owner, [&endCalls](tevrin::Window*) { ++endCalls; });
    EXPECT_FALSE(IsWindowEnabled(owner->GetHandle()));
    EXPECT_FALSE(IsWindowEnabled(bystander->GetHandle()));
    EXPECT_TRUE(IsWindowEnabled(pane->GetHandle())) << "children are not top-level";
    EXPECT_TRUE(IsWindowVisible(dialog->GetHandle()));
    EXPECT_EQ(GetWindow(dialog->GetHandle(), GW_OWNER), owner->GetHandle());
    EXPECT_EQ(ui_test::TestWindow::FindWindowObject(dialog->GetHandle()), dialog);

    // Centred on the owner's outer rectangle.
    RECT ownerRectangle;
    owner->GetRectangle(ownerRectangle);
    RECT dialogRectangle;
    dialog->GetRectangle(dialogRectangle);
    EXPECT_EQ(dialogRectangle.left, (ownerRectangle.left + ownerRectangle.right) / 2 - 100);
    EXPECT_EQ(dialogRectangle.top, (ownerRectangle.top + ownerRectangle.bottom) / 2 - 50);

    HWND dialogHandle = dialog->GetHandle();
    dialog->EndModal();
    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(dialogHandle));
    EXPECT_TRUE(IsWindowEnabled(owner->GetHandle()));
    EXPECT_TRUE(IsWindowEnabled(bystander->GetHandle()));
    delete bystander;
    delete owner;
}

namespace {

// The small hierarchy of the tool's shape: a main frame with a child pane, two
// buttons, a slider and labels. Like the tool's main window it owns its controls and
// deletes them inside its own destruction.
class HierarchyWindow : public TestWindow {
public:
    explicit HierarchyWindow(int* deletions) : TestWindow(kindMainFrame, deletions) {}
    ~HierarchyWindow() override { controls.clear(); }

    void HandleCreateEvent() override
    {
        pane = new TestWindow(kindChild, nullptr);
        pane->Create(200, 150, this, 10, 10);
        AddControl<tevrin::Label>()->Create(1, 80, 20, L"Label one", this, 0);
        AddControl<tevrin::Button>()->Create(10, 80, 24, this);
        AddControl<tevrin::Button>()->Create(11, 80, 24, this);
        AddControl<tevrin::Label>()->Create(2, 80, 20, L"Gamma:", this, 2);
        AddControl<tevrin::Slider>()->Create(3, 150, 30, this);
    }

    TestWindow* pane = nullptr;
    std::vector<std::unique_ptr<tevrin::Control>> controls;

private:
    template <typename T>
    T* AddControl()
    {
        controls.emplace_back(new T);
        return static_cast<T*>(controls.back().get());
    }
};

}  // namespace

TEST(MainLoop, EndsWhenTheLastWindowIsDestroyedWithoutQuitMessage)
{
    int deletions = 0;
    HierarchyWindow* main = new HierarchyWindow(&deletions);
    main->Create(500, 400);
    main->Show(true);
    HWND mainHandle = main->GetHandle();
    HWND buttonHandle = GetDlgItem(mainHandle, 10);
    ASSERT_NE(buttonHandle, nullptr);
    EXPECT_EQ(tevrin::WindowList().size(), 2u);

    PostMessageW(mainHandle, WM_CLOSE, 0, 0);
    // The same loop shape as the program's: it ends on an empty window list.
    bool sawQuit = false;
    int passes = 0;
    MSG message;
    while (!tevrin::WindowList().empty() && passes < 1000) {
        ++passes;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(10);
            continue;
        }
        if (message.message == WM_QUIT) {
            sawQuit = true;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EXPECT_TRUE(tevrin::WindowList().empty());
    EXPECT_FALSE(sawQuit);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "nobody posts WM_QUIT";
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(mainHandle));
    EXPECT_FALSE(IsWindow(buttonHandle));
}
