#pragma once
// Closes the next message box that a process shows, from a second thread, and tells its
// caption, text and owner, so that code which shows a box can run in a test:
//   auto box = tevrin_test::WatchForMessageBox();  (show it)  box.get().text
#include <windows.h>

#include <future>
#include <string>

namespace tevrin_test {

struct SeenMessageBox {
    bool seen = false;
    std::wstring caption, text;
    HWND owner = nullptr;
};

// Looks every 20 ms until the deadline; a timeout of 0 looks once.
inline std::future<SeenMessageBox> WatchForMessageBox(DWORD timeoutMs = 10000, DWORD processId = GetCurrentProcessId())
{
    return std::async(std::launch::async, [timeoutMs, processId] {
        const auto ofProcess = [processId](HWND window) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            return process == processId && IsWindowVisible(window);
        };
        const auto textOf = [](HWND window) {
            std::wstring text(4096, L'\0');
            return text.substr(0, GetWindowTextW(window, &text[0], 4096));
        };
        for (const DWORD start = GetTickCount();; Sleep(20)) {
            HWND box = nullptr;  // the next top-level dialog window
            while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) && !ofProcess(box)) {
            }
            if (box) {
                // The message text of a message box is its static control with id 0xFFFF.
                SeenMessageBox seen{true, textOf(box), textOf(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER)};
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return seen;
            }
            if (GetTickCount() - start >= timeoutMs)
                return SeenMessageBox{};
        }
    });
}

}  // namespace tevrin_test
