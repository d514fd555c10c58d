// Tablet contexts against WinTab drivers that behave in chosen ways. Each suite is
// one driver scenario and runs in a process of its own (see CMakeLists.txt): the
// service table is process-wide and loaded by the first opening only.
#include "simulated_driver.h"
#include "support/debug_output_capture.h"
#include "tablet_test_window.h"
#include "tevrin/tablet/pen_state.h"
#include "tevrin/tablet/tablet_context.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace tevrin;
using namespace tevrin_test;
using ::testing::ElementsAre;

namespace {

// A context opened for a plain window, as a drawing view would hold it.
struct OpenedContext {
    PlainWindow window;
    tablet_context context;
    OpenedContext() { context.open(window.Handle(), this); }
};

std::string ErrorLine(const void* view, const char* text)
{
    return Format("ERROR for window %p: %s", view, text);
}

std::string CreatedLine(const void* view)
{
    return Format("Tablet context created for window %p", view);
}

// ---- The simulated driver, set up per test ----

class SimulatedDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver.SetLargestQueueSize(128);
        driver.SetOpenFails(FALSE);
        driver.SetDefaultDevice(0);
        driver.SetPressureAxis(0, 0, 1023, TRUE);
        // Every test starts from a calibration that the next packet rereads.
        pressure_calibration = pressure_calibration_record();
        pen_state = pen_state_record();
        // The first opening of the process loads the driver and logs the device;
        // the tests here are about later openings.
        if (!tablet_service_table().is_loaded())
            OpenedContext loadsTheDriver;
        TakeLogLines();
    }

    // A context whose opening has loaded the driver; the device line of the first one is dropped.
    std::unique_ptr<OpenedContext> Open()
    {
        auto opened = std::make_unique<OpenedContext>();
        TakeLogLines();
        return opened;
    }

    void Queue(OpenedContext& opened, DWORD status, DWORD cursor, DWORD buttons, DWORD pressure)
    {
        driver.QueuePacket(opened.window.Handle(), status, cursor, buttons, pressure);
    }

    f32 PressureOf(OpenedContext& opened, DWORD pressure, DWORD buttons = 0, DWORD cursor = 1)
    {
        Queue(opened, 0, cursor, buttons, pressure);
        EXPECT_TRUE(opened.context.read_latest_packet());
        return pen_state.pressure;
    }

    SimulatedDriver driver;
};

}  // namespace

// The suite name that CMakeLists.txt filters on.
class SimulatedTablet : public SimulatedDriverTest {};

TEST_F(SimulatedTablet, OpeningAsksForTheSystemContextAndChangesOnlyWhatTheToolNeeds)
{
    PlainWindow window;
    tablet_context context;
    context.open(window.Handle(), &context);

    LOGCONTEXTA requested;
    HWND requestedWindow = nullptr;
    BOOL enable = FALSE;
    ASSERT_TRUE(driver.LastOpenRequest(&requested, &requestedWindow, &enable));
    EXPECT_EQ(requestedWindow, window.Handle());
    EXPECT_TRUE(enable);

    LOGCONTEXTA expected;
    ASSERT_EQ(driver.WTInfoA(WTI_DEFSYSCTX, 0, &expected), sizeof expected);
    std::snprintf(expected.lcName, sizeof expected.lcName, "NibscopeView %p", static_cast<void*>(&context));
    expected.lcPktData = 0x5EA;
    expected.lcPktMode = 0;
    expected.lcMoveMask = 0x5EA;
    expected.lcBtnUpMask = expected.lcBtnDnMask;
    expected.lcOutOrgX = 0;
    expected.lcOutOrgY = 0;
    expected.lcOutExtX = GetSystemMetrics(SM_CXSCREEN);
    expected.lcOutExtY = -GetSystemMetrics(SM_CYSCREEN);
    EXPECT_STREQ(requested.lcName, expected.lcName);
    EXPECT_EQ(std::memcmp(&requested, &expected, sizeof requested), 0) << "a setting of the driver's default changed";
    EXPECT_EQ(std::memcmp(&context.context_settings(), &expected, sizeof expected), 0);
    EXPECT_TRUE(context.is_open());
    EXPECT_THAT(TakeLogLines(), ElementsAre(CreatedLine(&context)));
}

TEST_F(SimulatedTablet, QueueSizeIsTheLargestTheDriverAccepts)
{
    driver.SetLargestQueueSize(50);
    auto opened = Open();
    EXPECT_EQ(opened->context.queue_size(), 50);

    for (DWORD i = 0; i < 60; ++i)
        Queue(*opened, 0, 1, 0, i);
    DebugOutputCapture trace;
    EXPECT_TRUE(opened->context.read_latest_packet());
    EXPECT_EQ(trace.Text(), "50 packets found\n");
}

TEST_F(SimulatedTablet, DriverAcceptingNoQueueSizeLeavesAnOpenContextThatNeverFindsPackets)
{
    driver.SetLargestQueueSize(0);
    PlainWindow window;
    tablet_context context;
    context.open(window.Handle(), &context);
    EXPECT_TRUE(context.is_open());
    EXPECT_EQ(context.queue_size(), 0);
    EXPECT_THAT(TakeLogLines(), ElementsAre(CreatedLine(&context)));

    driver.QueuePacket(window.Handle(), 0, 1, 0, 512);
    pen_state.pressure = 0.25f;
    for (int reading = 0; reading < 2; ++reading) {
        DebugOutputCapture trace;
        EXPECT_FALSE(context.read_latest_packet());
        EXPECT_EQ(trace.Text(), "0 packets found\nno tablet packets\n");
    }
    EXPECT_EQ(pen_state.pressure, 0.25f);
}

TEST_F(SimulatedTablet, RefusedContextIsLoggedAndReadingThenFindsNoContext)
{
    driver.SetOpenFails(TRUE);
    PlainWindow window;
    tablet_context context;
    context.open(window.Handle(), &context);
    EXPECT_FALSE(context.is_open());
    EXPECT_THAT(TakeLogLines(), ElementsAre(ErrorLine(&context, "graphics tablet context could not be created")));

    DebugOutputCapture trace;
    EXPECT_FALSE(context.read_latest_packet());
    EXPECT_EQ(trace.Text(), "tablet context n/a\n");
}

TEST_F(SimulatedTablet, ContextNeverOpenedReadsNothing)
{
    tablet_context context;
    DebugOutputCapture trace;
    EXPECT_FALSE(context.read_latest_packet());
    EXPECT_EQ(trace.Text(), "tablet context n/a\n");
}

TEST_F(SimulatedTablet, DestroyingTheContextClosesItInTheDriver)
{
    const int before = driver.OpenContextCount();
    {
        auto opened = Open();
        EXPECT_EQ(driver.OpenContextCount(), before + 1);
    }
    EXPECT_EQ(driver.OpenContextCount(), before);
}

TEST_F(SimulatedTablet, BringingToTopAsksTheDriverOnlyForAnOpenContext)
{
    auto opened = Open();
    const int before = driver.EntryCallCount("WTOverlap to top");
    opened->context.bring_to_top();
    EXPECT_EQ(driver.EntryCallCount("WTOverlap to top") - before, 1);

    tablet_context neverOpened;
    neverOpened.bring_to_top();
    EXPECT_EQ(driver.EntryCallCount("WTOverlap to top") - before, 1);
}

TEST_F(SimulatedTablet, NewestPacketWithoutQueueErrorIsUsed)
{
    auto opened = Open();
    Queue(*opened, 0, 1, 0, 100);
    Queue(*opened, TPS_PROXIMITY, 1, 0, 200);
    Queue(*opened, TPS_QUEUE_ERR, 1, 0, 300);
    Queue(*opened, TPS_QUEUE_ERR | TPS_PROXIMITY, 1, 0, 400);

    DebugOutputCapture trace;
    EXPECT_TRUE(opened->context.read_latest_packet());
    EXPECT_EQ(trace.Text(), "4 packets found\n");
    EXPECT_FLOAT_EQ(pen_state.pressure, 200.0f / 1023.0f);
}

TEST_F(SimulatedTablet, QueueErrorOnEveryPacketLeavesThePenStateAlone)
{
    auto opened = Open();
    pen_state.pressure = 0.75f;
    pen_state.button1 = true;
    pen_state.aux2 = 7.0f;
    for (DWORD pressure : {10u, 20u, 30u})
        Queue(*opened, TPS_QUEUE_ERR, 2, 0, pressure);

    DebugOutputCapture trace;
    EXPECT_FALSE(opened->context.read_latest_packet());
    EXPECT_EQ(trace.Text(), "3 packets found\nno good tablet packet found\n");
    EXPECT_EQ(pen_state.pressure, 0.75f);
    EXPECT_TRUE(pen_state.button1);
    EXPECT_FALSE(pen_state.alternate_cursor);
    EXPECT_EQ(pen_state.aux2, 7.0f);
}

TEST_F(SimulatedTablet, ReadingEmptiesTheQueueSoOlderPacketsNeverFollowNewerOnes)
{
    auto opened = Open();
    Queue(*opened, 0, 1, 0, 1023);
    Queue(*opened, 0, 1, 0, 0);
    EXPECT_TRUE(opened->context.read_latest_packet());
    EXPECT_EQ(pen_state.pressure, 0.0f);
    EXPECT_EQ(driver.QueuedPacketCount(opened->window.Handle()), 0);

    DebugOutputCapture trace;
    EXPECT_FALSE(opened->context.read_latest_packet());
    EXPECT_EQ(trace.Text(), "0 packets found\nno tablet packets\n");
    EXPECT_EQ(pen_state.pressure, 0.0f);
}

TEST_F(SimulatedTablet, BurstOfThousandsOfPacketsCostsOneDriverCall)
{
    auto opened = Open();
    for (DWORD i = 0; i < 5000; ++i)
        Queue(*opened, 0, 1, 0, i % 1000);
    Queue(*opened, 0, 1, 0, 1023);
    Queue(*opened, TPS_QUEUE_ERR, 1, 0, 5);

    const int callsBefore = driver.EntryCallCount("WTPacketsGet");
    DebugOutputCapture trace;
    EXPECT_TRUE(opened->context.read_latest_packet());
    EXPECT_EQ(driver.EntryCallCount("WTPacketsGet") - callsBefore, 1);
    EXPECT_EQ(trace.Text(), "128 packets found\n");
    EXPECT_EQ(pen_state.pressure, 1.0f);
}

TEST_F(SimulatedTablet, PenFlagsComeFromTheUsedPacket)
{
    auto opened = Open();
    pen_state.aux1 = 5.0f;
    pen_state.aux2 = 5.0f;
    pen_state.aux3 = 5;

    Queue(*opened, 0, 1, 2, 100);
    ASSERT_TRUE(opened->context.read_latest_packet());
    EXPECT_FALSE(pen_state.alternate_cursor);
    EXPECT_TRUE(pen_state.button1);
    EXPECT_FALSE(pen_state.button2);
    EXPECT_EQ(pen_state.aux1, 0.0f);
    EXPECT_EQ(pen_state.aux2, 1.0f);
    EXPECT_EQ(pen_state.aux3, 0u);

    Queue(*opened, 0, 1, 4, 100);
    ASSERT_TRUE(opened->context.read_latest_packet());
    EXPECT_FALSE(pen_state.button1);
    EXPECT_TRUE(pen_state.button2);
}

TEST_F(SimulatedTablet, SwitchingToTheEraserRereadsTheCalibrationOnce)
{
    auto opened = Open();
    PressureOf(*opened, 100, 0, 1);
    EXPECT_FALSE(pen_state.alternate_cursor);
    const int eraserQueries = driver.InfoQueryCount(WTI_CURSORS + 2, CSR_NPBUTTON);
    const int axisQueries = driver.InfoQueryCount(WTI_DEVICES, DVC_NPRESSURE);

    for (int reading = 0; reading < 3; ++reading)
        PressureOf(*opened, 100, 0, 2);
    EXPECT_TRUE(pen_state.alternate_cursor);
    EXPECT_EQ(driver.InfoQueryCount(WTI_CURSORS + 2, CSR_NPBUTTON) - eraserQueries, 1);
    EXPECT_EQ(driver.InfoQueryCount(WTI_DEVICES, DVC_NPRESSURE) - axisQueries, 1);
    EXPECT_EQ(pressure_calibration.current_cursor, 2u);
    EXPECT_EQ(pressure_calibration.last_calibrated_cursor, 2);
}

TEST_F(SimulatedTablet, PressureWithoutThePressureButtonRunsFromTheAxisMinimum)
{
    driver.SetPressureAxis(0, 100, 1100, TRUE);
    auto opened = Open();
    EXPECT_EQ(PressureOf(*opened, 100), 0.0f);
    EXPECT_FLOAT_EQ(PressureOf(*opened, 600), 0.5f);
    EXPECT_EQ(PressureOf(*opened, 1100), 1.0f);
    EXPECT_EQ(PressureOf(*opened, 40), 0.0f) << "below the axis";
    EXPECT_EQ(PressureOf(*opened, 90000), 1.0f) << "beyond the axis";
    EXPECT_EQ(PressureOf(*opened, 0xFFFFFFFFu), 0.0f) << "a raw value that wraps to a negative difference";
}

TEST_F(SimulatedTablet, PressureWithThePressureButtonRunsFromThePressMark)
{
    // Cursor 3's normal pressure acts on logical button 1, which the map sends to
    // physical button 2 (buttons value 4); press mark 300 on an axis of 0..1023.
    const BYTE buttonMap[] = {0, 2, 1};
    driver.SetCursorButtons(3, 1, buttonMap, 3, 40, 300);
    auto opened = Open();
    EXPECT_EQ(PressureOf(*opened, 300, 4, 3), 0.0f);
    EXPECT_FLOAT_EQ(PressureOf(*opened, 300 + 723 / 3.0f, 4, 3), 1.0f / 3.0f);
    EXPECT_EQ(PressureOf(*opened, 1023, 4, 3), 1.0f);
    EXPECT_EQ(PressureOf(*opened, 200, 4, 3), 0.0f) << "below the press mark";
    EXPECT_EQ(pressure_calibration.pressure_button, 2);

    // The logical button's own bit (value 2) is not the pressure button.
    EXPECT_FLOAT_EQ(PressureOf(*opened, 300, 2, 3), 300.0f / 1023.0f);
}

TEST_F(SimulatedTablet, PressureButtonOutsideTheButtonMapIsTakenAsPhysical)
{
    const BYTE buttonMap[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                              16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 0};
    // Button 33 is beyond the 32-byte map; its bit is 33 modulo 32, value 2.
    driver.SetCursorButtons(4, 33, buttonMap, 32, 0, 500);
    auto opened = Open();
    EXPECT_EQ(PressureOf(*opened, 500, 2, 4), 0.0f);
    EXPECT_EQ(pressure_calibration.pressure_button, 33);
}

TEST_F(SimulatedTablet, ZeroRangesGiveNoPressureAtTheOriginAndFullPressureAboveIt)
{
    driver.SetPressureAxis(0, 500, 500, TRUE);
    auto opened = Open();
    EXPECT_EQ(PressureOf(*opened, 500), 0.0f);
    EXPECT_EQ(PressureOf(*opened, 501), 1.0f);
    EXPECT_EQ(PressureOf(*opened, 499), 0.0f);
}

TEST_F(SimulatedTablet, UnansweredAxisQueryLeavesAZeroCalibration)
{
    driver.SetPressureAxis(0, 0, 0, FALSE);
    auto opened = Open();
    EXPECT_EQ(PressureOf(*opened, 0), 0.0f);
    EXPECT_EQ(pressure_calibration.pressure_minimum, 0u);
    EXPECT_EQ(pressure_calibration.pressure_range, 0u);
    EXPECT_EQ(PressureOf(*opened, 7), 1.0f);
}

TEST_F(SimulatedTablet, CalibrationUsesTheAxisOfTheContextsDevice)
{
    driver.SetDefaultDevice(2);
    driver.SetPressureAxis(2, 0, 255, TRUE);
    auto opened = Open();
    EXPECT_EQ(PressureOf(*opened, 255), 1.0f);
    EXPECT_FLOAT_EQ(PressureOf(*opened, 51), 0.2f);
}

TEST_F(SimulatedTablet, RefreshRereadsTheCalibrationForTheCurrentCursor)
{
    auto opened = Open();
    PressureOf(*opened, 100, 0, 1);
    driver.SetPressureAxis(0, 0, 200, TRUE);
    EXPECT_FLOAT_EQ(PressureOf(*opened, 100, 0, 1), 100.0f / 1023.0f) << "same cursor: no reread";
    opened->context.refresh_pressure_calibration();
    EXPECT_FLOAT_EQ(PressureOf(*opened, 100, 0, 1), 0.5f);
}

TEST_F(SimulatedTablet, SecondViewOpensWithoutReloadingTheDriver)
{
    const int loads = driver.InfoQueryCount(0, 0);
    OpenedContext first;
    OpenedContext second;
    EXPECT_THAT(TakeLogLines(), ElementsAre(CreatedLine(&first), CreatedLine(&second)));
    EXPECT_EQ(driver.InfoQueryCount(0, 0), loads);
    EXPECT_TRUE(second.context.is_open());
}

// ---- Scenarios whose driver must be set up before the first opening ----

namespace {

// The first opening of the process, with the driver configured beforehand.
class FirstOpening : public ::testing::Test {
protected:
    void SetUp() override { TakeLogLines(); }
    SimulatedDriver driver;
};

}  // namespace

class InterfaceUnavailable : public FirstOpening {};

TEST_F(InterfaceUnavailable, FirstOpeningLogsTheLoadErrorAndLaterOnesTheContextError)
{
    driver.SetInterfaceAvailable(FALSE);
    OpenedContext first;
    OpenedContext second;
    OpenedContext third;
    EXPECT_THAT(TakeLogLines(), ElementsAre(ErrorLine(&first, "WTInfoA returned FALSE"),
                                            ErrorLine(&second, "graphics tablet context error"),
                                            ErrorLine(&third, "graphics tablet context error")));
    EXPECT_EQ(tablet_services_load_error(), "WTInfoA returned FALSE");
    EXPECT_FALSE(tablet_service_table().is_loaded());
    EXPECT_EQ(driver.InfoQueryCount(0, 0), 1);
    EXPECT_EQ(driver.EntryCallCount("WTOpenA"), 0);
    EXPECT_FALSE(first.context.is_open());
    EXPECT_FALSE(third.context.is_open());
}

class LongDeviceName : public FirstOpening {};

TEST_F(LongDeviceName, NameIsReadWholeAndCutTo55BytesAndLoggedOnce)
{
    std::string name = "Simulated Pen Display 24 with an unusually long device name of 80 chars";
    name.resize(80, '!');
    driver.SetDeviceName(name.c_str());
    OpenedContext first;
    OpenedContext second;
    const std::string expected = name.substr(0, 55);
    EXPECT_THAT(TakeLogLines(), ElementsAre("Tablet device found, id = '" + expected + "'", CreatedLine(&first),
                                            CreatedLine(&second)));
    EXPECT_STREQ(tablet_service_table().device_name, expected.c_str());
    EXPECT_TRUE(tablet_service_table().is_loaded());
    EXPECT_EQ(driver.InfoQueryCount(WTI_DEVICES, DVC_NAME), 2) << "one query for the size, one for the name";
}

class AnsiDeviceName : public FirstOpening {};

TEST_F(AnsiDeviceName, NameIsConvertedToUtf8AndNeverCutInsideACharacter)
{
    // Code page 1252 is Wine's ANSI code page for the English locale that the test
    // runs in; 0xE9 is e acute and 0xFC u umlaut there, two bytes each in UTF-8.
    ASSERT_EQ(GetACP(), 1252u);
    const std::string ansi = "Stift \xE9\xFC" + std::string(44, 'x') + "\xE9";
    driver.SetDeviceName(ansi.c_str());
    OpenedContext opened;
    // 10 bytes of "Stift éü", 44 of x: the last é would end at byte 56, so it goes whole.
    const std::string expected = "Stift \xC3\xA9\xC3\xBC" + std::string(44, 'x');
    EXPECT_THAT(TakeLogLines(),
                ElementsAre("Tablet device found, id = '" + expected + "'", CreatedLine(&opened)));
    EXPECT_STREQ(tablet_service_table().device_name, expected.c_str());
}

// ---- Driver libraries that cannot serve ----

class MissingEntry : public ::testing::Test {};

TEST_F(MissingEntry, LoadingFailsWithTheFirstMissingEntryAndReleasesTheLibrary)
{
    const char* entry = std::getenv("TEVRIN_MISSING_ENTRY");
    ASSERT_NE(entry, nullptr) << "the scenario names the entry its driver lacks";
    TakeLogLines();
    OpenedContext first;
    OpenedContext second;
    const std::string failure = "function '" + std::string(entry) + "' not found";
    EXPECT_THAT(TakeLogLines(), ElementsAre(ErrorLine(&first, failure.c_str()),
                                            ErrorLine(&second, "graphics tablet context error")));
    EXPECT_FALSE(tablet_service_table().is_loaded());
    EXPECT_EQ(GetModuleHandleW(L"wintab32.dll"), nullptr) << "the incomplete driver stays loaded";
}

class NotExecutable : public ::testing::Test {};

TEST_F(NotExecutable, FileOfTheDriversNameThatIsNoLibraryGivesError193)
{
    TakeLogLines();
    OpenedContext opened;
    EXPECT_THAT(TakeLogLines(),
                ElementsAre(ErrorLine(&opened, "LoadLibrary call failed, error code 193, "
                                               "DLL considered unexecutable (not Win32 format)")));
    EXPECT_FALSE(tablet_service_table().is_loaded());
}

class NoLibrary : public ::testing::Test {};

TEST_F(NoLibrary, MissingDriverIsReportedOnceByFileName)
{
    TakeLogLines();
    OpenedContext first;
    OpenedContext second;
    EXPECT_THAT(TakeLogLines(), ElementsAre(ErrorLine(&first, "Requested DLL file \"wintab32.dll\" non-existant."),
                                            ErrorLine(&second, "graphics tablet context error")));
    DebugOutputCapture trace;
    EXPECT_FALSE(second.context.read_latest_packet());
    EXPECT_EQ(trace.Text(), "tablet context n/a\n");
}

class WineBuiltinDriver : public ::testing::Test {};

TEST_F(WineBuiltinDriver, WithoutATabletTheInterfaceAnswersZero)
{
    TakeLogLines();
    OpenedContext first;
    OpenedContext second;
    EXPECT_THAT(TakeLogLines(), ElementsAre(ErrorLine(&first, "WTInfoA returned FALSE"),
                                            ErrorLine(&second, "graphics tablet context error")));
    EXPECT_FALSE(tablet_service_table().is_loaded());
}
