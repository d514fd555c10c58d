#pragma once
// Records what this process writes to the debugger output, by watching the
// DBG_PRINTEXCEPTION_C exception that OutputDebugStringA raises for a debugger
// (OutputDebugStringW ends there too, with the text in the ANSI code page).
#include <string>
#include <vector>

namespace tevrin_test {

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Everything written since construction or the last Clear, in order.
    std::string Text() const;
    // The same, one entry per debugger write.
    std::vector<std::string> Pieces() const;
    void Clear();

private:
    void* handler_;
};

}  // namespace tevrin_test
