#include "support/debug_output_capture.h"
#include "tevrin/core/diagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace tevrin;
using tevrin_test::DebugOutputCapture;

namespace {

struct RecordingSink : ILogLineSink {
    struct Line {
        std::string text;
        u32 kind;
        u32 extra;
    };
    std::vector<Line> lines;
    void AddLine(const std::string& text, u32 kind, u32 extra) override { lines.push_back({text, kind, extra}); }
};

std::vector<std::string> DrainTexts()
{
    RecordingSink sink;
    drain_log_lines(&sink);
    std::vector<std::string> texts;
    for (const auto& line : sink.lines)
        texts.push_back(line.text);
    return texts;
}

class LogQueue : public ::testing::Test {
protected:
    void SetUp() override { DrainTexts(); }
};

}  // namespace

TEST_F(LogQueue, LinesWaitForASinkAndArriveInOrder)
{
    log_line("first %d", 1);
    log_line("second %s", "line");
    drain_log_lines(nullptr);
    EXPECT_EQ(pending_log_line_count(), 2u);
    log_line("third");

    RecordingSink sink;
    drain_log_lines(&sink);
    ASSERT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(sink.lines[0].text, "first 1");
    EXPECT_EQ(sink.lines[1].text, "second line");
    EXPECT_EQ(sink.lines[2].text, "third");
    for (const auto& line : sink.lines) {
        EXPECT_EQ(line.kind, 1u);
        EXPECT_EQ(line.extra, 0u);
    }
    EXPECT_EQ(pending_log_line_count(), 0u);
}

TEST_F(LogQueue, EveryLineIsEchoedToTheDebugger)
{
    DebugOutputCapture capture;
    log_line("Pressure: %d%%", 13);
    EXPECT_EQ(capture.Text(), "Pressure: 13%\n");
}

TEST_F(LogQueue, LongLinesAreEchoedIn2040BytePieces)
{
    DebugOutputCapture capture;
    const std::string line2045(2045, 'p');
    log_line("%s", line2045.c_str());
    const std::vector<std::string> pieces = capture.Pieces();
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], std::string(2040, 'p'));
    EXPECT_EQ(pieces[1], std::string(5, 'p'));
    EXPECT_EQ(pieces[2], "\n");

    capture.Clear();
    const std::string line2039(2039, 'q');
    log_line("%s", line2039.c_str());
    ASSERT_EQ(capture.Pieces().size(), 1u);
    EXPECT_EQ(capture.Pieces()[0], line2039 + "\n");
    EXPECT_EQ(DrainTexts(), (std::vector<std::string>{line2045, line2039}));
}

TEST_F(LogQueue, OverlongLinesAreCutTo2046Bytes)
{
    const std::string huge(5000, 'x');
    log_line("%s", huge.c_str());
    const std::vector<std::string> texts = DrainTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].size(), 2046u);
}

TEST_F(LogQueue, LinesFromManyThreadsAreAllKept)
{
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 4; ++writer)
        writers.emplace_back([writer] {
            for (int i = 0; i < 250; ++i)
                log_line("writer %d line %d", writer, i);
        });
    for (auto& thread : writers)
        thread.join();
    const std::vector<std::string> texts = DrainTexts();
    ASSERT_EQ(texts.size(), 1000u);
    // Each writer's own lines keep their order.
    int next[4] = {0, 0, 0, 0};
    for (const std::string& text : texts) {
        int writer = -1, index = -1;
        ASSERT_EQ(sscanf(text.c_str(), "writer %d line %d", &writer, &index), 2);
        EXPECT_EQ(index, next[writer]++);
    }
}

TEST(DebugTrace, WritesUtf8AndFallsBackToNarrowText)
{
    DebugOutputCapture capture;
    debug_trace("value %d\n", 42);
    EXPECT_EQ(capture.Text(), "value 42\n");

    capture.Clear();
    debug_trace("bad \xC3\x28 bytes\n");
    EXPECT_EQ(capture.Text(), "bad \xC3\x28 bytes\n");

    capture.Clear();
    debug_trace_w(L"wide %d %ls\n", 7, L"text");
    EXPECT_EQ(capture.Text(), "wide 7 text\n");
}

TEST(FormatToString, ReplacesTheStringAndCountsCharacters)
{
    std::string text = "old contents";
    EXPECT_EQ(format_to_string(text, "%s; No. of CPUs: %d/%d", "x64", 8, 8), 21);
    EXPECT_EQ(text, "x64; No. of CPUs: 8/8");
    const std::string huge(3000, 'y');
    format_to_string(text, "%s", huge.c_str());
    EXPECT_EQ(text.size(), 2047u);
}
