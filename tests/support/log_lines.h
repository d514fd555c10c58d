#pragma once
// Takes the queued user-log lines, as the log pane would, leaving the queue empty.
#include "tevrin/core/diagnostics.h"

#include <string>
#include <vector>

namespace tevrin_test {

struct LogLine {
    std::string text;
    tevrin::u32 kind, extra;
};

inline std::vector<LogLine> TakeLogEntries()
{
    struct Collector : tevrin::ILogLineSink {
        std::vector<LogLine> lines;
        void AddLine(const std::string& text, tevrin::u32 kind, tevrin::u32 extra) override { lines.push_back({text, kind, extra}); }
    } collector;
    tevrin::drain_log_lines(&collector);
    return collector.lines;
}

inline std::vector<std::string> TakeLogLines()
{
    std::vector<std::string> texts;
    for (const LogLine& line : TakeLogEntries())
        texts.push_back(line.text);
    return texts;
}

}  // namespace tevrin_test
