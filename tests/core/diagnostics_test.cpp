// The user-log queue, seen through its sink and through the real debugger output.
#include "support/debug_output_capture.h"
#include "support/log_lines.h"
#include "tevrin/core/diagnostics.h"

#include <gtest/gtest.h>

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
    const std::string queued[] = {"Pressure: 13%", std::string(2045, 'p'), std::string(2039, 'q'), std::string(2046, 'x')};
    const std::vector<tevrin_test::LogLine> lines = tevrin_test::TakeLogEntries();
    ASSERT_EQ(lines.size(), std::size(queued));
    for (size_t line = 0; line < lines.size(); ++line) {
        EXPECT_EQ(lines[line].text, queued[line]) << "line " << line;
        EXPECT_EQ(lines[line].kind, 1u) << "line " << line;
        EXPECT_EQ(lines[line].extra, 0u) << "line " << line;
    }
}
