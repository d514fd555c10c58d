// The tablet code against WinTab drivers that behave in chosen ways. The service table
// is process-wide and loaded by the first opening only, so every suite runs in a process
// of its own, beside the driver of its scenario (see CMakeLists.txt).
#include "simulated_wintab/simulated_wintab_controls.h"
#include "support/debug_output_capture.h"
#include "support/log_lines.h"
#include "support/plain_window.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/exception.h"
#include "tevrin/tablet/dynamic_code_library.h"
#include "tevrin/tablet/pen_state.h"
#include "tevrin/tablet/tablet_context.h"
#include "tevrin/ui/tablet_view.h"
#include "tevrin/ui/window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace tevrin;
using tevrin_test::DebugOutputCapture;
using tevrin_test::TakeLogLines;
using ::testing::ElementsAre;

namespace {

// A control of the simulated driver, by its type in simulated_wintab_controls.h.
#define SIMULATED(control) SimulatedControl<simulated_wintab::control>("SimulatedWintab_" #control)

template <typename Control>
Control SimulatedControl(const char* name)
{
    // Found as the tablet code finds the driver, so that a test can set the driver up
    // before the first opening loads it.
    static const HMODULE driver = LoadLibraryW(L"wintab32.dll");
    const FARPROC address = driver ? GetProcAddress(driver, name) : nullptr;
    if (!address)
        throw std::runtime_error(std::string("wintab32.dll is not the simulated driver: no ") + name);
    return reinterpret_cast<Control>(reinterpret_cast<void (*)()>(address));
}

// A context opened for a plain window, as a drawing view would hold it.
struct OpenedContext {
    tevrin_test::PlainWindow window = tevrin_test::MakePlainWindow();
    tablet_context context;
    OpenedContext() { context.open(window.get(), this); }
};

// A framework window with a tablet context, built as the drawing view is.
class TabletTestView : public Window, public tablet_context, public tablet_view {
public:
    TabletTestView() { styleKind = kindPopup; }
    ~TabletTestView() override
    {
        // The framework clears hwnd when the window's destruction deletes the view.
        if (hwnd && saved_)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
    }
    const char* GetTypeName() const override { return "TabletTestView"; }
    void HandleCreateEvent() override { attach_window(*this); }
    void HandleInitEvent() override { open(hwnd, this); }
    bool HandlePaintEvent(GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
    tablet_context& GetTabletContext() override { return *this; }
    WNDPROC GetSavedWindowProcedure() const override { return saved_; }
    void SetSavedWindowProcedure(WNDPROC procedure) override { saved_ = procedure; }

private:
    WNDPROC saved_ = nullptr;
};

// A view's address as the log lines print it.
std::string Address(const void* view)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", view);
    return text;
}

std::string ViewLine(const void* view) { return "Tablet context created for window " + Address(view); }
std::string ErrorLine(const void* view, const char* text) { return "ERROR for window " + Address(view) + ": " + text; }

// The text that the action throws; empty when it throws nothing.
template <typename Action>
std::string Failure(Action action)
{
    try {
        action();
    } catch (const char* text) {
        return text;
    } catch (const exception& failure) {
        return failure.what();
    }
    return std::string();
}

class SimulatedTablet : public ::testing::Test {
protected:
    void SetUp() override
    {
        SIMULATED(SetLargestQueueSize)(128);
        SIMULATED(SetOpenFails)(FALSE);
        // Device 2 is the contexts' device; the axis of device 0 is not theirs.
        SIMULATED(SetDefaultDevice)(2);
        SIMULATED(SetPressureAxis)(2, 0, 1023, TRUE);
        SIMULATED(SetPressureAxis)(0, 0, 1, TRUE);
        pressure_calibration = pressure_calibration_record();
        pen_state = pen_state_record();
        if (!tablet_service_table().is_loaded())
            OpenedContext loadsTheDriver;  // the first opening, tested on its own
        TakeLogLines();
    }

    static void Queue(HWND window, const tablet_packet& packet)
    {
        SIMULATED(QueuePacket)(window, packet.status, packet.cursor, packet.buttons, packet.normal_pressure);
    }
};

class TabletWindow : public SimulatedTablet {
protected:
    void SetUp() override
    {
        SimulatedTablet::SetUp();
        view->Create(120, 120, nullptr, 10, 10);
        view->Show(true);
        TakeLogLines();
    }
    HWND Handle() const { return view->GetHandle(); }

    std::unique_ptr<TabletTestView> view = std::make_unique<TabletTestView>();
};

}  // namespace

// ---- Loading the driver ----

// A driver that cannot serve; the scenario names the text of its failure.
TEST(LoadFailure, FirstOpeningLogsItLaterOnesLogTheContextErrorAndTheDriverIsReleased)
{
    const char* failure = std::getenv("TEVRIN_LOAD_ERROR");
    ASSERT_NE(failure, nullptr) << "the scenario names the load error";
    TakeLogLines();
    OpenedContext first, second;
    EXPECT_THAT(TakeLogLines(),
                ElementsAre(ErrorLine(&first, failure), ErrorLine(&second, "graphics tablet context error")));
    EXPECT_FALSE(tablet_service_table().is_loaded());
    EXPECT_EQ(GetModuleHandleW(L"wintab32.dll"), nullptr) << "the driver that failed stays loaded";
}

// A device name longer than the table's field, in the ANSI code page: read whole,
// converted to UTF-8 and cut to at most 55 bytes, never inside a character.
TEST(DeviceName, IsLoggedOnceInUtf8CutOnACharacterBoundary)
{
    // Code page 1252, Wine's for the tests' English locale: 0xE9 (e acute) and 0xFC (u
    // umlaut) take two bytes each in UTF-8, so the last e acute would end at byte 56.
    ASSERT_EQ(GetACP(), 1252u);
    SIMULATED(SetDeviceName)(("Stift \xE9\xFC" + std::string(44, 'x') + "\xE9" + std::string(30, 'y')).c_str());
    TakeLogLines();
    OpenedContext first, second;
    const std::string name = "Stift \xC3\xA9\xC3\xBC" + std::string(44, 'x');
    EXPECT_THAT(TakeLogLines(), ElementsAre("Tablet device found, id = '" + name + "'", ViewLine(&first),
                                            ViewLine(&second)));
    EXPECT_EQ(SIMULATED(InfoQueryCount)(0, 0), 1) << "the second opening loaded the driver again";
}

// How a failed load names the library. The program loads "wintab32.dll" only; its
// failures are the load-failure scenarios above.
TEST(DynamicCodeLibrary, LoadFailuresSayWhatWentWrong)
{
    const std::string missing = "Requested DLL file \"absent_driver.dll\" non-existant.";
    const std::string longest(1023, 'a');
    struct Row { const char* what; std::string name, failure; };
    const Row rows[] = {
        {"a name in a folder", "C:\\no\\such\\folder\\absent_driver.dll", missing},
        {"a folder with slashes", "C:/no/such/folder/absent_driver.dll", missing},
        {"one trailing separator", "absent_driver.dll\\", missing},
        {"the longest name", longest, "Requested DLL file \"" + longest + "\" non-existant."},
        {"a name too long", longest + "a", "object (string?) has invalid length"},
        {"a name that is no UTF-8", "bad\xC3(name.dll", "invalid codepoints for UTF-8 to UTF-16 conversion"},
        {"a library of the system", "kernel32.dll", ""},
    };
    for (const auto& row : rows) {
        dynamic_code_library library;
        EXPECT_EQ(Failure([&] { library.load(row.name.c_str()); }), row.failure) << row.what;
        EXPECT_EQ(library.is_loaded(), row.failure.empty()) << row.what;
    }
}

// ---- Later openings ----

TEST_F(SimulatedTablet, OpeningAsksForTheSystemContextAndChangesOnlyWhatTheToolNeeds)
{
    OpenedContext opened;
    LOGCONTEXTA requested, expected;
    HWND window = nullptr;
    BOOL enable = FALSE;
    ASSERT_TRUE(SIMULATED(LastOpenRequest)(&requested, &window, &enable));
    EXPECT_EQ(window, opened.window.get());
    EXPECT_TRUE(enable) << "not opened enabled";
    ASSERT_EQ(SimulatedControl<WTInfoA_entry>("WTInfoA")(WTI_DEFSYSCTX, 0, &expected), sizeof expected);
    std::snprintf(expected.lcName, sizeof expected.lcName, "NibscopeView %p", static_cast<void*>(&opened));
    expected.lcPktData = expected.lcMoveMask = 0x5EA;
    expected.lcPktMode = 0;
    expected.lcBtnUpMask = expected.lcBtnDnMask;
    expected.lcOutOrgX = expected.lcOutOrgY = 0;
    expected.lcOutExtX = GetSystemMetrics(SM_CXSCREEN);
    expected.lcOutExtY = -GetSystemMetrics(SM_CYSCREEN);
    EXPECT_STREQ(requested.lcName, expected.lcName);
    EXPECT_EQ(std::memcmp(&requested, &expected, sizeof requested), 0) << "a setting of the driver's default changed";
}

// What the driver grants decides the opening: the largest queue it accepts, or no
// context. Every row reads once after 200 packets were queued; a driver that refuses
// every size leaves no queue and no buffer to read into.
TEST_F(SimulatedTablet, OpeningTakesTheLargestQueueGrantedOrLogsTheRefusal)
{
    struct Row { const char* what; int largestQueue; BOOL refused; int readMaximum; const char* readTrace; };
    const Row rows[] = {
        {"any queue size", 1000, FALSE, 128, "128 packets found\n"},
        {"a queue of 50 at most", 50, FALSE, 50, "50 packets found\n"},
        {"a queue of 1 at most", 1, FALSE, 1, "1 packets found\n"},
        {"every queue size refused", 0, FALSE, 0, "0 packets found\nno tablet packets\n"},
        {"the context refused", 128, TRUE, -1, "tablet context n/a\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SIMULATED(SetLargestQueueSize)(row.largestQueue);
        SIMULATED(SetOpenFails)(row.refused);
        const int contexts = SIMULATED(OpenContextCount)();
        const int overlaps = SIMULATED(EntryCallCount)("WTOverlap to top");
        {
            OpenedContext opened;
            const int open = row.refused ? 0 : 1;
            const std::string refusal = ErrorLine(&opened, "graphics tablet context could not be created");
            EXPECT_THAT(TakeLogLines(), ElementsAre(open ? ViewLine(&opened) : refusal));
            EXPECT_EQ(SIMULATED(OpenContextCount)(), contexts + open);
            opened.context.bring_to_top();
            EXPECT_EQ(SIMULATED(EntryCallCount)("WTOverlap to top"), overlaps + open) << "only open ones go on top";
            for (DWORD raw = 0; raw < 200; ++raw)
                Queue(opened.window.get(), {0, 0, 1, 0, 0, 0, raw});
            pen_state.pressure = 0.25f;
            DebugOutputCapture trace;
            int maximum = -1;
            BOOL buffer = FALSE;
            SIMULATED(TakeLastPacketsRequest)(&maximum, &buffer);
            const bool read = opened.context.read_latest_packet();
            EXPECT_EQ(trace.Text(), row.readTrace);
            EXPECT_FLOAT_EQ(pen_state.pressure, read ? 199.0f / 1023.0f : 0.25f);
            EXPECT_EQ(SIMULATED(TakeLastPacketsRequest)(&maximum, &buffer), row.readMaximum >= 0);
            EXPECT_EQ(maximum, row.readMaximum) << "the packets asked for";
            EXPECT_EQ(buffer != FALSE, row.readMaximum > 0) << "a buffer only for a queue";
        }
        EXPECT_EQ(SIMULATED(OpenContextCount)(), contexts) << "destroying the context left it open in the driver";
    }
}

// Each reading takes all queued packets in one driver call and uses the newest one
// without the queue-error bit; without one the pen state stays as it was.
TEST_F(SimulatedTablet, ReadingUsesTheNewestGoodPacketAndEmptiesTheQueue)
{
    OpenedContext opened;
    const u32 error = TPS_QUEUE_ERR;
    struct Row { const char* what; std::vector<tablet_packet> packets; const char* trace; f32 pressure; };
    const Row rows[] = {
        {"errors after good packets",
         {{0, 0, 1, 0, 0, 0, 100}, {TPS_PROXIMITY, 0, 1, 0, 0, 0, 200}, {error, 0, 1, 0, 0, 0, 300},
          {error | TPS_PROXIMITY, 0, 1, 0, 0, 0, 400}},
         "4 packets found\n", 200.0f / 1023.0f},
        {"the queue the last reading emptied", {}, "0 packets found\nno tablet packets\n", 200.0f / 1023.0f},
        {"errors only", {{error, 0, 1, 0, 0, 0, 10}, {error, 0, 1, 0, 0, 0, 20}},
         "2 packets found\nno good tablet packet found\n", 200.0f / 1023.0f},
    };
    for (const auto& row : rows) {
        for (const tablet_packet& packet : row.packets)
            Queue(opened.window.get(), packet);
        const int calls = SIMULATED(EntryCallCount)("WTPacketsGet");
        DebugOutputCapture trace;
        opened.context.read_latest_packet();
        EXPECT_EQ(SIMULATED(EntryCallCount)("WTPacketsGet"), calls + 1) << row.what;
        EXPECT_EQ(trace.Text(), row.trace) << row.what;
        EXPECT_FLOAT_EQ(pen_state.pressure, row.pressure) << row.what;
    }
}

// ---- The tablet window procedure on a framework window ----

// Raw pressure to normalised pressure, by the calibration the driver gives for the
// packet's cursor and the context's device. Every row takes a cursor of its own, whose
// first packet reads the calibration; a second packet of that cursor reads it no more,
// until the driver's information-change message arrives.
TEST_F(TabletWindow, PressureFollowsTheCalibrationOfTheCursorAndDevice)
{
    const BYTE swapped[] = {0, 2, 1};  // logical button 1 is physical button 2, value 4
    struct Row { const char* what; LONG minimum, maximum; BOOL answered; BYTE button;
                 DWORD pressMark, buttons, raw; f32 pressure; };
    const Row rows[] = {
        {"the axis minimum", 100, 1100, TRUE, 0, 0, 0, 100, 0.0f},
        {"the middle of the axis", 100, 1100, TRUE, 0, 0, 0, 600, 0.5f},
        {"the axis maximum", 100, 1100, TRUE, 0, 0, 0, 1100, 1.0f},
        {"below the axis", 100, 1100, TRUE, 0, 0, 0, 40, 0.0f},
        {"beyond the axis", 100, 1100, TRUE, 0, 0, 0, 90000, 1.0f},
        {"a raw value that wraps to a negative difference", 100, 1100, TRUE, 0, 0, 0, 0xFFFFFFFF, 0.0f},
        {"a zero range at its origin", 500, 500, TRUE, 0, 0, 0, 500, 0.0f},
        {"a zero range above its origin", 500, 500, TRUE, 0, 0, 0, 501, 1.0f},
        {"a zero range below its origin", 500, 500, TRUE, 0, 0, 0, 499, 0.0f},
        {"an unanswered axis query, raw 0", 0, 0, FALSE, 0, 0, 0, 0, 0.0f},
        {"an unanswered axis query, raw 7", 0, 0, FALSE, 0, 0, 0, 7, 1.0f},
        {"the press mark, pressure button down", 0, 1023, TRUE, 1, 300, 4, 300, 0.0f},
        {"a third above the press mark", 0, 1023, TRUE, 1, 300, 4, 541, 1.0f / 3.0f},
        {"the axis maximum, pressure button down", 0, 1023, TRUE, 1, 300, 4, 1023, 1.0f},
        {"below the press mark", 0, 1023, TRUE, 1, 300, 4, 200, 0.0f},
        {"the logical button's own bit", 0, 1023, TRUE, 1, 300, 2, 300, 300.0f / 1023.0f},
        {"a button beyond the map, modulo 32", 0, 1023, TRUE, 33, 500, 2, 500, 0.0f},
        {"no button named (255), bit 31", 0, 1000, TRUE, 255, 500, 1u << 31, 500, 0.0f},
    };
    DWORD cursor = 10;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SIMULATED(SetPressureAxis)(2, row.minimum, row.maximum, row.answered);
        SIMULATED(SetCursorButtons)(++cursor, row.button, swapped, sizeof swapped, 0, row.pressMark);
        for (int reading = 0; reading < 2; ++reading) {
            Queue(Handle(), {0, 0, cursor, row.buttons, 0, 0, row.raw});
            ASSERT_TRUE(view->read_latest_packet());
            EXPECT_FLOAT_EQ(pen_state.pressure, row.pressure) << "reading " << reading;
            SIMULATED(SetPressureAxis)(2, 0, 400, TRUE);
        }
    }
    EXPECT_EQ(SendMessageW(Handle(), WT_INFOCHANGE, 0, 0), 1);
    Queue(Handle(), {0, 0, cursor, 0, 0, 0, 100});
    ASSERT_TRUE(view->read_latest_packet());
    EXPECT_FLOAT_EQ(pen_state.pressure, 0.25f) << "the information change was not read";
}

// The pen entering or leaving: the flag and a log line; entering repaints the whole
// view, leaving drops the packets queued so far.
TEST_F(TabletWindow, ProximityMessagesSetTheFlagAndAreLogged)
{
    for (const bool entering : {true, false}) {
        SCOPED_TRACE(entering ? "entering" : "leaving");
        stylus_in_use = !entering;
        Queue(Handle(), {0, 0, 1, 0, 0, 0, 100});
        ValidateRect(Handle(), nullptr);
        SIMULATED(PostProximity)(Handle(), entering);
        MSG message;
        ASSERT_TRUE(PeekMessageW(&message, Handle(), WT_PROXIMITY, WT_PROXIMITY, PM_REMOVE));
        EXPECT_EQ(DispatchMessageW(&message), 1);

        EXPECT_EQ(stylus_in_use, entering);
        EXPECT_THAT(TakeLogLines(),
                    ElementsAre(std::string("Tablet proximity event, value: ") + (entering ? "TRUE" : "FALSE")));
        RECT dirty = {}, client;
        GetClientRect(Handle(), &client);
        GetUpdateRect(Handle(), &dirty, FALSE);
        EXPECT_EQ(EqualRect(&dirty, &client) != FALSE, entering) << "only entering repaints, and the whole view";
        EXPECT_EQ(SIMULATED(QueuedPacketCount)(Handle()), entering ? 1 : 0) << "only leaving drops the packets";
    }
}

// The tablet procedure passes every other message on to the framework (the end-to-end
// pressure test sees the pointer's press and release), so destroying the view's window
// through its handle, as the main window's destruction destroys its surfaces, deletes
// the view, which closes its context.
TEST_F(TabletWindow, DestroyingItsWindowClosesTheContext)
{
    const int contexts = SIMULATED(OpenContextCount)();
    EXPECT_TRUE(DestroyWindow(view.release()->GetHandle()));
    EXPECT_EQ(SIMULATED(OpenContextCount)(), contexts - 1);
}
