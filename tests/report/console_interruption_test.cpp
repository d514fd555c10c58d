// The console's events straight to the report's handler, as the system's thread would
// deliver them: Wine turns a SIGINT into Ctrl+C (report_test.py sends one to the real
// program), but it cannot send Ctrl+Break or a closing console to a test.
#include "report/capture/console_interruption.h"
#include "support/plain_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

using namespace nibscope_report;

TEST(ConsoleInterruption, EventsEndTheCaptureNotTheProgram)
{
    const console_interruption interruption;
    const struct {
        DWORD event;
        bool capturing;
        BOOL handled;  // FALSE: the system's default, which ends the process
        const char* request;
    } rows[] = {
        {CTRL_C_EVENT, false, FALSE, nullptr},
        {CTRL_C_EVENT, true, TRUE, "Ctrl+C was pressed"},
        {CTRL_BREAK_EVENT, true, TRUE, "Ctrl+Break was pressed"},
    };
    for (const auto& row : rows) {
        std::unique_ptr<console_interruption::during_capture> capture;
        if (row.capturing)
            capture.reset(new console_interruption::during_capture(nullptr));
        EXPECT_EQ(console_interruption::handle(row.event), row.handled) << row.event;
        EXPECT_EQ(std::string(console_interruption::request() ? console_interruption::request() : "none"),
                  row.request ? row.request : "none") << row.event;
    }
    const console_interruption::during_capture next(nullptr);
    EXPECT_EQ(console_interruption::request(), nullptr) << "a new capture starts without a request";
}

// The event also cancels whatever modal loop holds the capture's window: on Windows the
// move, size and menu loops end when the window loses the mouse (Wine 8's keyboard move
// loop does not), so the capture ends at once.
TEST(ConsoleInterruption, TheCapturesWindowIsToldToCancelItsModes)
{
    const console_interruption interruption;
    const tevrin_test::PlainWindow window = tevrin_test::MakePlainWindow();
    const console_interruption::during_capture capture(window.get());
    console_interruption::handle(CTRL_C_EVENT);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window.get(), WM_CANCELMODE, WM_CANCELMODE, PM_REMOVE));
}

// A closing console ends the process once the handler returns: the handler holds it
// until the program has done its work.
TEST(ConsoleInterruption, AClosingConsoleWaitsForTheProgram)
{
    auto interruption = std::make_unique<console_interruption>();
    const console_interruption::during_capture capture(nullptr);
    auto handled = std::async(std::launch::async, [] { return console_interruption::handle(CTRL_CLOSE_EVENT); });
    EXPECT_EQ(handled.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout) << "still waiting";
    EXPECT_STREQ(console_interruption::request(), "the console was closed");
    interruption.reset();
    ASSERT_EQ(handled.wait_for(std::chrono::seconds(2)), std::future_status::ready) << "returns once the program is done";
    EXPECT_EQ(handled.get(), TRUE);
}
