#pragma once
// The two diagnostic channels: the debugger output (for developers) and the user
// log (queued lines that the log pane shows; each is echoed to the debugger too).
#include "tevrin/core/types.h"

#include <deque>
#include <string>

#if defined(__MINGW32__)
#define TEVRIN_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__)
#define TEVRIN_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define TEVRIN_PRINTF_FORMAT(fmt, args)
#endif

namespace tevrin {

// Debugger output; callers end their formats with "\n" themselves.
void debug_trace(const char* format, ...) TEVRIN_PRINTF_FORMAT(1, 2);
void debug_trace_w(const wchar_t* format, ...);

// One user-log line, without a line break.
void log_line(const char* format, ...) TEVRIN_PRINTF_FORMAT(1, 2);

// Replaces the contents of out; returns the characters written or -1.
int format_to_string(std::string& out, const char* format, ...) TEVRIN_PRINTF_FORMAT(2, 3);

// One line of the user-log queue.
struct queued_log_line {
    std::string text;
    u32 kind;  // log_line writes 1
    u32 extra;  // always 0
};

using queued_log_lines = std::deque<queued_log_line>;

// Whatever receives the queued log lines (the log pane).
class ILogLineSink {
public:
    virtual ~ILogLineSink() = default;
    virtual void AddLine(const std::string& text, u32 kind, u32 extra) = 0;
    // Every line that was queued at one drain, oldest first; one AddLine each unless
    // the sink can take them together.
    virtual void AddLines(const queued_log_lines& lines);
};

// Moves every queued line into the sink, oldest first. The log lock is held only to
// take the whole queue, so that threads logging meanwhile never wait for the sink.
// Without a sink the lines stay queued.
void drain_log_lines(ILogLineSink* sink);

// Number of lines waiting in the queue.
size_t pending_log_line_count();

}  // namespace tevrin
