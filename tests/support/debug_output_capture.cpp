#include "support/debug_output_capture.h"

#include <windows.h>

#include <mutex>

#ifndef DBG_PRINTEXCEPTION_C
#define DBG_PRINTEXCEPTION_C 0x40010006
#endif

namespace tevrin_test {
namespace {

std::mutex captureLock;
std::vector<std::string> captured;

LONG CALLBACK RecordDebugString(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if (record->ExceptionCode == static_cast<DWORD>(DBG_PRINTEXCEPTION_C) && record->NumberParameters >= 2) {
        const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        std::lock_guard<std::mutex> guard(captureLock);
        // The length counts the terminating NUL.
        captured.emplace_back(text, length > 0 ? length - 1 : 0);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() : handler_(AddVectoredExceptionHandler(1, &RecordDebugString))
{
    Clear();
}

DebugOutputCapture::~DebugOutputCapture()
{
    RemoveVectoredExceptionHandler(handler_);
}

std::string DebugOutputCapture::Text() const
{
    std::string text;
    for (const std::string& piece : Pieces())
        text += piece;
    return text;
}

std::vector<std::string> DebugOutputCapture::Pieces() const
{
    std::lock_guard<std::mutex> guard(captureLock);
    return captured;
}

void DebugOutputCapture::Clear()
{
    std::lock_guard<std::mutex> guard(captureLock);
    captured.clear();
}

}  // namespace tevrin_test
