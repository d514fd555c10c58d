// Reads the state of another program's windows for end-to-end tests, through the
// ordinary Win32 calls that work across processes:  window_probe COMMAND IMAGE TITLE [ID]
// Prints one line and exits 0, or prints the reason and exits 1. The window is the
// top-level window of that title whose process runs the image of that file name, so that
// a box of another program captioned with the same title is never taken for it. Commands:
// client-origin (screen position of the client corner), control-rect ID (left top right
// bottom), control-text ID (UTF-8), slider-position ID, focus-id (of the focused control,
// 0 for none), menu-open (1 while a popup menu shows), clipboard (its Unicode text, UTF-8,
// as is), post-quit (WM_QUIT to the window's thread), proximity-burst COUNT (posts COUNT
// WT_PROXIMITY messages, the pen entering and leaving in turn, to the child window at
// client point 100,100, then keeps asking the main window for an answer; prints the
// longest wait for one and the time until the answers came quickly again, in ms).
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

int Fail(const char* reason)
{
    std::printf("%s\n", reason);
    return 1;
}

bool RunsImage(HWND window, const std::wstring& image)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const bool named = process && QueryFullProcessImageNameW(process, 0, path, &size);
    if (process)
        CloseHandle(process);
    const std::wstring file = path;
    return named && _wcsicmp(file.substr(file.find_last_of(L"\\/") + 1).c_str(), image.c_str()) == 0;
}

HWND FindTopLevel(const wchar_t* image, const wchar_t* title)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, title)) && !RunsImage(window, image)) {
    }
    return window;
}

// Binary output, so that carriage returns arrive as they are.
void PrintUtf8(const wchar_t* text)
{
    static char utf8[1 << 20];
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(utf8, 1, size > 0 ? size - 1 : 0, stdout);
}

int PrintClipboard()
{
    if (!OpenClipboard(nullptr))
        return Fail("cannot open the clipboard");
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data) {
        PrintUtf8(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return data ? 0 : Fail("no text on the clipboard");
}

// How long the window leaves the messages sent to it unanswered after a burst of
// proximity messages: sends WM_NULL every 5 ms until the answers have come within
// 50 ms for 3 s (at most 3 minutes).
int ProximityBurst(HWND window, int count)
{
    POINT inside = {100, 100};
    const HWND surface = ChildWindowFromPointEx(window, inside, CWP_SKIPINVISIBLE);
    if (!surface || surface == window)
        return Fail("no child window at 100,100");
    LARGE_INTEGER frequency, start, sent, answered;
    QueryPerformanceFrequency(&frequency);
    const auto milliseconds = [&frequency](LARGE_INTEGER from, LARGE_INTEGER to) {
        return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i)
        PostMessageW(surface, 0x7FF5, 0, MAKELPARAM(i % 2 == 0 ? 1 : 0, 1));
    double longest = 0.0, lastSlow = 0.0, now = 0.0;
    DWORD_PTR result = 0;
    while (now - lastSlow < 3000.0 && now < 180000.0) {
        QueryPerformanceCounter(&sent);
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 180000, &result))
            return Fail("the window did not answer within 3 minutes");
        QueryPerformanceCounter(&answered);
        const double wait = milliseconds(sent, answered);
        now = milliseconds(start, answered);
        longest = wait > longest ? wait : longest;
        lastSlow = wait > 50.0 ? now : lastSlow;
        Sleep(5);
    }
    return std::printf("%.1f %.1f\n", longest, lastSlow) < 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return Fail("usage: window_probe COMMAND IMAGE TITLE [ID]");
    const std::wstring command = argv[1];
    const HWND window = FindTopLevel(argv[2], argv[3]);
    const DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    POINT corner = {0, 0};
    HWND menu = nullptr;
    if (!window)
        return Fail("no such window");
    if (command == L"client-origin" && ClientToScreen(window, &corner))
        return std::printf("%ld %ld\n", corner.x, corner.y) < 0;
    if (command == L"clipboard")
        return PrintClipboard();
    if (command == L"proximity-burst" && argc > 4)
        return ProximityBurst(window, _wtoi(argv[4]));
    if (command == L"post-quit")
        return PostThreadMessageW(thread, WM_QUIT, 0, 0) ? 0 : Fail("cannot post to the window's thread");
    if (command == L"menu-open") {
        while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) && !IsWindowVisible(menu)) {
        }
        return std::printf("%d\n", menu ? 1 : 0) < 0;
    }
    // The focused window belongs to another thread: its input state tells.
    if (command == L"focus-id") {
        GUITHREADINFO input = {};
        input.cbSize = sizeof input;
        const HWND focus = GetGUIThreadInfo(thread, &input) ? input.hwndFocus : nullptr;
        return std::printf("%d\n", focus ? GetDlgCtrlID(focus) : 0) < 0;
    }
    const HWND control = argc > 4 ? GetDlgItem(window, _wtoi(argv[4])) : nullptr;
    RECT area;
    wchar_t text[512] = {};
    if (!control)
        return Fail("no such control");
    if (command == L"control-rect" && GetWindowRect(control, &area))
        return std::printf("%ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom) < 0;
    if (command == L"control-text" && GetWindowTextW(control, text, 512) >= 0) {
        PrintUtf8(text);
        return std::printf("\n") < 0;
    }
    if (command == L"slider-position")
        return std::printf("%ld\n", static_cast<long>(SendMessageW(control, TBM_GETPOS, 0, 0))) < 0;
    return Fail("unknown command");
}
