#pragma once
// Watches for a message box of this process from a second thread, records its
// caption and text, and closes it, so code that shows a box can run in a test.
#include <windows.h>

#include <string>
#include <thread>

namespace tevrin_test {

struct SeenMessageBox {
    bool seen = false;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

class MessageBoxWatcher {
public:
    // Watches boxes of the given process (default: this one).
    explicit MessageBoxWatcher(DWORD processId = GetCurrentProcessId());
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Waits for the watcher to finish: a box was closed or the time ran out.
    SeenMessageBox Wait(DWORD timeoutMs = 10000);

private:
    void Watch();

    DWORD processId_;
    HANDLE stop_;
    SeenMessageBox seen_;
    std::thread thread_;
};

}  // namespace tevrin_test
