// The user-log queue, seen through its sink and through the real debugger output.
#include "support/debug_output_capture.h"
#include "tevrin/core/diagnostics.h"

#include <gtest/gtest.h>

using namespace tevrin;

namespace {

std::vector<std::string> Drain()
{
    struct : ILogLineSink {
        std::vector<std::string> lines;
        void AddLine(const std::string& text, u32 kind, u32 extra) override
        {
            lines.push_back(text + (kind == 1 && extra == 0 ? "" : " (wrong kind or extra)"));
        }
    } sink;
    drain_log_lines(&sink);
    return sink.lines;
}

}  // namespace

TEST(Diagnostics, LogLinesWaitForASinkAndAreEchoedToTheDebuggerInPieces)
{
    Drain();
    tevrin_test::DebugOutputCapture capture;
    log_line("Pressure: %d%%", 13);
    drain_log_lines(nullptr);
    EXPECT_EQ(pending_log_line_count(), 1u);
    log_line("%s", std::string(2045, 'p').c_str());  // the debugger takes 2040 bytes a write
    log_line("%s", std::string(2039, 'q').c_str());
    log_line("%s", std::string(5000, 'x').c_str());  // the queue keeps 2046
    const std::vector<std::string> pieces = capture.Pieces();
    ASSERT_GE(pieces.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(pieces.begin(), pieces.begin() + 5),
              (std::vector<std::string>{"Pressure: 13%\n", std::string(2040, 'p'), "ppppp", "\n",
                                        std::string(2039, 'q') + "\n"}));
    EXPECT_EQ(Drain(), (std::vector<std::string>{"Pressure: 13%", std::string(2045, 'p'), std::string(2039, 'q'),
                                                 std::string(2046, 'x')}));
}
