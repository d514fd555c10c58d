// The user-log queue, seen through its sink and through the real debugger output.
#include "support/debug_output_capture.h"
#include "support/log_lines.h"
#include "tevrin/core/diagnostics.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tevrin;

TEST(Diagnostics, LogLinesWaitForASinkAndAreEchoedToTheDebuggerInPieces)
{
    tevrin_test::TakeLogLines();
    tevrin_test::DebugOutputCapture capture;
    log_line("Pressure: %d%%", 13);
    drain_log_lines(nullptr);
    EXPECT_EQ(pending_log_line_count(), 1u);
    log_line("%s", std::string(2045, 'p').c_str());  // the debugger takes 2040 bytes a write
    log_line("%s", std::string(2039, 'q').c_str());
    log_line("%s", std::string(5000, 'x').c_str());  // the queue keeps 2046
    const std::vector<std::string> pieces = capture.Pieces();
    ASSERT_GE(pieces.size(), 5u);
    const std::string echoed[] = {"Pressure: 13%\n", std::string(2040, 'p'), "ppppp", "\n", std::string(2039, 'q') + "\n"};
    for (size_t piece = 0; piece < std::size(echoed); ++piece)
        EXPECT_EQ(pieces[piece], echoed[piece]) << "debugger write " << piece;
    std::vector<std::tuple<std::string, u32, u32>> queued;  // text, kind, extra
    for (const tevrin_test::LogLine& line : tevrin_test::TakeLogEntries())
        queued.emplace_back(line.text, line.kind, line.extra);
    EXPECT_EQ(queued, (decltype(queued){{"Pressure: 13%", 1, 0}, {std::string(2045, 'p'), 1, 0}, {std::string(2039, 'q'), 1, 0},
                                        {std::string(2046, 'x'), 1, 0}}));
}
