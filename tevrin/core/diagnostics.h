#pragma once
// The two diagnostic channels: the debugger output (for developers) and the user
// log (queued lines that the log pane shows; each is echoed to the debugger too).
#include "tevrin/core/types.h"

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

// Whatever receives the queued log lines (the log pane).
class ILogLineSink {
public:
    virtual ~ILogLineSink() = default;
    virtual void AddLine(const std::string& text, u32 kind, u32 extra) = 0;
};

// Moves every queued line into the sink, oldest first, under the log lock.
// Without a sink the lines stay queued. The sink must not call log_line.
void drain_log_lines(ILogLineSink* sink);

// Number of lines waiting in the queue.
size_t pending_log_line_count();

}  // namespace tevrin
