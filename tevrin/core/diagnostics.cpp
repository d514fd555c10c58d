#include "tevrin/core/diagnostics.h"

#include <windows.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace tevrin {
namespace {

constexpr size_t traceBufferSize = 2047;
constexpr size_t wideTraceBufferSize = 1023;
constexpr size_t logBufferSize = 2047;
constexpr size_t formatBufferSize = 2048;
constexpr size_t echoPieceSize = 2040;

// Built on first use, so lines logged during other static initialisations are kept.
std::mutex& LogLock()
{
    static std::mutex lock;
    return lock;
}

queued_log_lines& PendingLines()
{
    static queued_log_lines lines;
    return lines;
}

void WriteToDebugger(const char* text)
{
    const size_t length = std::strlen(text);
    try {
        std::vector<wchar_t> wide(length + 1, 0);
        const int written = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide.data(),
                                                static_cast<int>(wide.size()));
        if (length == 0 || written > 0) {
            OutputDebugStringW(wide.data());
            return;
        }
    } catch (const std::bad_alloc&) {
    }
    OutputDebugStringA(text);
}

void EchoLogLine(const char* text)
{
    const size_t length = std::strlen(text);
    if (length < echoPieceSize) {
        debug_trace("%s\n", text);
        return;
    }
    char piece[echoPieceSize + 1];
    for (size_t offset = 0; offset < length; offset += echoPieceSize) {
        const size_t count = length - offset < echoPieceSize ? length - offset : echoPieceSize;
        std::memcpy(piece, text + offset, count);
        piece[count] = '\0';
        debug_trace("%s", piece);
    }
    debug_trace("\n");
}

// Switches formatting to the user's locale before the entry point runs.
struct LocaleSetUp {
    LocaleSetUp()
    {
        const char* name = std::setlocale(LC_ALL, "");
        debug_trace("Current locale: %s\n", name ? name : "(null)");
        const std::lconv* conventions = std::localeconv();
        std::string thousands = conventions->thousands_sep;
        if (thousands == "\xA0")
            thousands = " ";
        debug_trace("               Current decimal point: %s\n", conventions->decimal_point);
        debug_trace("         Current thousands separator: %s\n", thousands.c_str());
    }
};

const LocaleSetUp localeSetUp;

}  // namespace

void debug_trace(const char* format, ...)
{
    char buffer[traceBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    buffer[traceBufferSize - 1] = '\0';
    WriteToDebugger(buffer);
}

void debug_trace_w(const wchar_t* format, ...)
{
    wchar_t buffer[wideTraceBufferSize];
    va_list args;
    va_start(args, format);
    std::vswprintf(buffer, wideTraceBufferSize, format, args);
    va_end(args);
    buffer[wideTraceBufferSize - 1] = L'\0';
    OutputDebugStringW(buffer);
}

void log_line(const char* format, ...)
{
    char buffer[logBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    buffer[logBufferSize - 1] = '\0';

    std::lock_guard<std::mutex> guard(LogLock());
    PendingLines().push_back(queued_log_line{buffer, 1, 0});
    EchoLogLine(buffer);
}

int format_to_string(std::string& out, const char* format, ...)
{
    char buffer[formatBufferSize];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0)
        return -1;
    buffer[formatBufferSize - 1] = '\0';
    out = buffer;
    return static_cast<int>(out.size());
}

void ILogLineSink::AddLines(const queued_log_lines& lines)
{
    for (const queued_log_line& line : lines)
        AddLine(line.text, line.kind, line.extra);
}

void drain_log_lines(ILogLineSink* sink)
{
    if (!sink)
        return;
    queued_log_lines taken;
    {
        std::lock_guard<std::mutex> guard(LogLock());
        taken.swap(PendingLines());
    }
    if (!taken.empty())
        sink->AddLines(taken);
}

size_t pending_log_line_count()
{
    std::lock_guard<std::mutex> guard(LogLock());
    return PendingLines().size();
}

}  // namespace tevrin
