#pragma once
// The drain of the user-log queue as it was before the log pane took a drain at once:
// every line appended on its own, each with its scroll-bar update and its repaint.
// Benchmarks run it beside the real drain to show the difference in one run.
#include "tevrin/core/diagnostics.h"
#include "tevrin/ui/log_view.h"

namespace nibscope_benchmark {

class LineByLineSink : public tevrin::ILogLineSink {
public:
    explicit LineByLineSink(tevrin::LogView& pane) : pane_(pane) {}
    void AddLine(const std::string& text, tevrin::u32 kind, tevrin::u32 extra) override
    {
        pane_.AddLine(text, kind, extra);
    }

private:
    tevrin::LogView& pane_;
};

}  // namespace nibscope_benchmark
