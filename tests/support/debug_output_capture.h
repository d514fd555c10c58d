#pragma once
// Records what this process writes to the debugger output, by watching the
// DBG_PRINTEXCEPTION_C exception that OutputDebugStringA raises for a debugger
// (OutputDebugStringW ends there too, with the text in the ANSI code page).
#include <windows.h>

#include <mutex>
#include <numeric>
#include <string>
#include <vector>

namespace tevrin_test {

class DebugOutputCapture {
public:
    DebugOutputCapture() : handler_(AddVectoredExceptionHandler(1, &Record)) { Clear(); }
    ~DebugOutputCapture() { RemoveVectoredExceptionHandler(handler_); }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // One entry per debugger write since construction or the last Clear.
    std::vector<std::string> Pieces() const { const std::lock_guard<std::mutex> guard(lock_); return pieces_; }
    std::string Text() const
    {
        const std::vector<std::string> pieces = Pieces();
        return std::accumulate(pieces.begin(), pieces.end(), std::string());
    }
    void Clear() { const std::lock_guard<std::mutex> guard(lock_); pieces_.clear(); }

private:
    static LONG CALLBACK Record(EXCEPTION_POINTERS* exception)
    {
        const EXCEPTION_RECORD* record = exception->ExceptionRecord;
        if (record->ExceptionCode == 0x40010006 /* DBG_PRINTEXCEPTION_C */ && record->NumberParameters >= 2) {
            const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);  // counts the NUL
            std::lock_guard<std::mutex> guard(lock_);
            pieces_.emplace_back(reinterpret_cast<const char*>(record->ExceptionInformation[1]), length ? length - 1 : 0);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline std::mutex lock_;
    static inline std::vector<std::string> pieces_;
    void* handler_;
};

}  // namespace tevrin_test
