// The tablet window procedure on framework windows, with the simulated driver
// posting its proximity and information-change messages.
#include "simulated_driver.h"
#include "support/debug_output_capture.h"
#include "tablet_test_view.h"
#include "tablet_test_window.h"
#include "tevrin/tablet/pen_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

using namespace tevrin;
using namespace tevrin_test;
using ::testing::ElementsAre;

namespace {

class SimulatedTabletWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver.SetPressureAxis(0, 0, 1023, TRUE);
        pressure_calibration = pressure_calibration_record();
        view = new TabletTestView;
        view->Create(120, 120, nullptr, 10, 10);
        view->Show(true);
        PumpMessages();
        TakeLogLines();
    }

    void TearDown() override
    {
        delete view;
        PumpMessages();
    }

    std::string ProximityTrace(int value) const
    {
        char line[64];
        std::snprintf(line, sizeof line, "tc %x: Changing stylus_in_use to %d\n",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(static_cast<tablet_context*>(view))),
                      value);
        return line;
    }

    HWND Handle() const { return view->GetHandle(); }

    tevrin_test::SimulatedDriver driver;
    TabletTestView* view = nullptr;
};

}  // namespace

TEST_F(SimulatedTabletWindow, CreationInstallsTheTabletProcedureAndOpensTheContext)
{
    EXPECT_EQ(view->initEvents, 1);
    EXPECT_TRUE(view->is_open());
    EXPECT_EQ(GetWindowLongPtrW(Handle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&tablet_window_procedure));
    EXPECT_EQ(view->GetSavedWindowProcedure(), &Window::WindowProcedure);
}

TEST_F(SimulatedTabletWindow, OtherMessagesReachTheFrameworkProcedure)
{
    SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    EXPECT_EQ(view->lastPointerDown, 1);
}

TEST_F(SimulatedTabletWindow, PenEnteringSetsTheFlagAndRepaintsTheView)
{
    stylus_in_use = false;
    ValidateRect(Handle(), nullptr);
    DebugOutputCapture trace;
    driver.PostProximity(Handle(), TRUE);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, Handle(), WT_PROXIMITY, WT_PROXIMITY, PM_REMOVE));
    EXPECT_EQ(DispatchMessageW(&message), 1);

    EXPECT_TRUE(stylus_in_use);
    // The log line is echoed to the debugger after the trace line.
    EXPECT_EQ(trace.Text(), ProximityTrace(1) + "Tablet proximity event, value: TRUE\n");
    EXPECT_THAT(TakeLogLines(), ElementsAre("Tablet proximity event, value: TRUE"));
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(Handle(), &dirty, FALSE)) << "the view was not invalidated";
    RECT client;
    GetClientRect(Handle(), &client);
    EXPECT_TRUE(EqualRect(&dirty, &client));
}

TEST_F(SimulatedTabletWindow, PenLeavingEmptiesTheQueue)
{
    stylus_in_use = true;
    for (DWORD pressure : {100u, 200u, 300u})
        driver.QueuePacket(Handle(), 0, 1, 0, pressure);
    ValidateRect(Handle(), nullptr);
    DebugOutputCapture trace;
    driver.PostProximity(Handle(), FALSE);
    PumpMessages();

    EXPECT_FALSE(stylus_in_use);
    EXPECT_EQ(trace.Text(), ProximityTrace(0) + "Tablet proximity event, value: FALSE\n");
    EXPECT_THAT(TakeLogLines(), ElementsAre("Tablet proximity event, value: FALSE"));
    EXPECT_EQ(driver.QueuedPacketCount(Handle()), 0);
    EXPECT_FALSE(GetUpdateRect(Handle(), nullptr, FALSE)) << "leaving needs no repaint";

    trace.Clear();
    EXPECT_FALSE(view->read_latest_packet());
    EXPECT_EQ(trace.Text(), "0 packets found\nno tablet packets\n");
}

TEST_F(SimulatedTabletWindow, InformationChangeRereadsTheCalibration)
{
    driver.QueuePacket(Handle(), 0, 1, 0, 100);
    ASSERT_TRUE(view->read_latest_packet());
    EXPECT_FLOAT_EQ(pen_state.pressure, 100.0f / 1023.0f);

    driver.SetPressureAxis(0, 0, 400, TRUE);
    driver.PostInfoChange(Handle());
    PumpMessages();
    driver.QueuePacket(Handle(), 0, 1, 0, 100);
    ASSERT_TRUE(view->read_latest_packet());
    EXPECT_FLOAT_EQ(pen_state.pressure, 0.25f);
}

namespace {

// A framework window with a tablet context that does not offer the view interface.
class ViewWithoutTabletInterface : public Window, public tablet_context {
public:
    ViewWithoutTabletInterface() { styleKind = kindPopup; }
    const char* GetTypeName() const override { return "ViewWithoutTabletInterface"; }
    bool HandlePaintEvent(GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
};

}  // namespace

TEST_F(SimulatedTabletWindow, AttachingToAWindowWithoutTheViewInterfaceIsRefused)
{
    auto* window = new ViewWithoutTabletInterface;
    window->Create(50, 50, nullptr, 0, 0);
    EXPECT_THROW(window->attach_window(*window), invalid_argument);
    EXPECT_EQ(GetWindowLongPtrW(window->GetHandle(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&Window::WindowProcedure));
    EXPECT_FALSE(window->is_open());
    delete window;
}

TEST_F(SimulatedTabletWindow, WindowDestroyedThroughItsHandleDeletesTheViewOnce)
{
    int deletions = 0;
    auto* doomed = new TabletTestView;
    doomed->deletions = &deletions;
    doomed->restoreProcedure = false;
    doomed->Create(60, 60, nullptr, 0, 0);
    const HWND handle = doomed->GetHandle();
    ASSERT_EQ(GetWindowLongPtrW(handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&tablet_window_procedure));
    const int openContexts = driver.OpenContextCount();

    EXPECT_TRUE(DestroyWindow(handle));
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(driver.OpenContextCount(), openContexts - 1) << "the view's context was not closed";
}
