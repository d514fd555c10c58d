#include "support/message_box_watcher.h"

#include <vector>

namespace tevrin_test {
namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (process == search->processId && IsWindowVisible(window) && std::wstring(className) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring WindowText(HWND window)
{
    std::vector<wchar_t> text(4096, 0);
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(DWORD processId)
    : processId_(processId), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this] { Watch(); })
{
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    SetEvent(stop_);
    if (thread_.joinable())
        thread_.join();
    CloseHandle(stop_);
}

SeenMessageBox MessageBoxWatcher::Wait(DWORD timeoutMs)
{
    WaitForSingleObject(stop_, timeoutMs);
    SetEvent(stop_);
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void MessageBoxWatcher::Watch()
{
    while (WaitForSingleObject(stop_, 20) == WAIT_TIMEOUT) {
        Search search{processId_, nullptr};
        EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            continue;
        seen_.seen = true;
        seen_.caption = WindowText(search.found);
        // The message text of a message box is the static control with id 0xFFFF.
        seen_.text = WindowText(GetDlgItem(search.found, 0xFFFF));
        seen_.owner = GetWindow(search.found, GW_OWNER);
        PostMessageW(search.found, WM_COMMAND, IDOK, 0);
        SetEvent(stop_);
        return;
    }
}

}  // namespace tevrin_test
