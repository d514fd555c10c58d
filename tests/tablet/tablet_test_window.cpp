#include "tablet_test_window.h"

#include "tevrin/core/diagnostics.h"

#include <cstdio>
#include <stdexcept>

namespace tevrin_test {
namespace {

const wchar_t* RegisteredClass()
{
    static const wchar_t* name = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TabletTestPlainWindow";
        RegisterClassW(&windowClass);
        return L"TabletTestPlainWindow";
    }();
    return name;
}

struct LineCollector : tevrin::ILogLineSink {
    std::vector<std::string> lines;
    void AddLine(const std::string& text, tevrin::u32, tevrin::u32) override { lines.push_back(text); }
};

}  // namespace

PlainWindow::PlainWindow()
    : hwnd_(CreateWindowExW(0, RegisteredClass(), L"tablet test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr))
{
    if (!hwnd_)
        throw std::runtime_error("CreateWindowExW failed");
}

PlainWindow::~PlainWindow()
{
    DestroyWindow(hwnd_);
}

std::vector<std::string> TakeLogLines()
{
    LineCollector collector;
    tevrin::drain_log_lines(&collector);
    return collector.lines;
}

std::string Format(const char* format, const void* pointer, const char* text)
{
    char line[512];
    std::snprintf(line, sizeof line, format, pointer, text);
    return line;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace tevrin_test
