#pragma once
// Plain Win32 windows for opening tablet contexts, and the user-log lines that
// the tablet code writes.
#include <windows.h>

#include <string>
#include <vector>

namespace tevrin_test {

class PlainWindow {
public:
    PlainWindow();
    ~PlainWindow();
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Every queued user-log line, oldest first; the queue is empty afterwards.
std::vector<std::string> TakeLogLines();

// printf into a std::string, for expected lines that carry a pointer.
std::string Format(const char* format, const void* pointer, const char* text = "");

// Dispatches every message waiting for this thread.
void PumpMessages();

}  // namespace tevrin_test
