// Reads the state of another program's windows for end-to-end tests, through the
// ordinary Win32 calls that work across processes:  window_probe COMMAND IMAGE TITLE [ID]
// Prints one line and exits 0, or prints the reason and exits 1. The window is the
// top-level window of that title whose process runs the image of that file name, so that
// a box of another program captioned with the same title is never taken for it. Commands:
// client-origin (screen position of the client corner), control-rect ID (left top right
// bottom), control-text ID (UTF-8), slider-position ID, focus-id (of the focused control,
// 0 for none), menu-open (1 while a popup menu shows), clipboard (its Unicode text, UTF-8,
// as is), post-quit (WM_QUIT to the window's thread).
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

bool RunsImage(HWND window, const wchar_t* image)
{
    DWORD id = 0, size = MAX_PATH;
    GetWindowThreadProcessId(window, &id);
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    wchar_t path[MAX_PATH] = {};
    const bool named = process && QueryFullProcessImageNameW(process, 0, path, &size);
    if (process)
        CloseHandle(process);
    const std::wstring file = path;
    return named && _wcsicmp(file.substr(file.find_last_of(L"\\/") + 1).c_str(), image) == 0;
}

// The first top-level window of the class (any when null) and title for which pick holds.
template <typename Pick>
HWND FindTopLevel(const wchar_t* className, const wchar_t* title, Pick pick)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, title)) && !pick(window)) {
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
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data) {
        PrintUtf8(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return data ? 0 : Fail("no text on the clipboard");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return Fail("usage: window_probe COMMAND IMAGE TITLE [ID]");
    const std::wstring command = argv[1];
    const wchar_t* image = argv[2];
    const HWND window = FindTopLevel(nullptr, argv[3], [image](HWND found) { return RunsImage(found, image); });
    const DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    POINT corner = {0, 0};
    if (!window)
        return Fail("no such window");
    if (command == L"client-origin" && ClientToScreen(window, &corner))
        return std::printf("%ld %ld\n", corner.x, corner.y) < 0;
    if (command == L"clipboard")
        return PrintClipboard();
    if (command == L"post-quit")
        return PostThreadMessageW(thread, WM_QUIT, 0, 0) ? 0 : Fail("cannot post to the window's thread");
    if (command == L"menu-open")
        return std::printf("%d\n", FindTopLevel(L"#32768", nullptr, IsWindowVisible) ? 1 : 0) < 0;
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
