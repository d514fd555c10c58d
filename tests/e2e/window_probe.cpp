// Reads the state of another program's windows for end-to-end tests, through the
// ordinary Win32 calls that work across processes. Prints one line and exits 0, or
// prints the reason and exits 1. The window is the top-level window of that title whose
// process runs the image of that file name, so that a box of another program captioned
// with the same title is never taken for it.
//   window_probe client-origin IMAGE TITLE       screen position of the client area's corner
//   window_probe control-rect IMAGE TITLE ID     screen rectangle: left top right bottom
//   window_probe control-text IMAGE TITLE ID     the control's text, UTF-8
//   window_probe slider-position IMAGE TITLE ID  a trackbar's position
//   window_probe focus-id IMAGE TITLE            control id of the focused window, 0 for none
//   window_probe menu-open IMAGE TITLE           1 while a popup menu is shown, else 0
//   window_probe clipboard IMAGE TITLE           the Windows clipboard's Unicode text, UTF-8, as is
//   window_probe post-quit IMAGE TITLE           posts WM_QUIT to the thread that owns the window
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

std::string Utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// The focused window belongs to another thread: attach to its input state to ask.
HWND FocusOf(HWND window)
{
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

int PrintClipboard()
{
    if (!OpenClipboard(nullptr))
        return Fail("cannot open the clipboard");
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::string text;
    if (data) {
        text = Utf8(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    // Binary output, so that carriage returns arrive as they are.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return data ? 0 : Fail("no text on the clipboard");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return Fail("usage: window_probe COMMAND IMAGE TITLE [ID]");
    const std::wstring command = argv[1];
    HWND window = FindTopLevel(argv[2], argv[3]);
    if (!window)
        return Fail("no such window");
    if (command == L"client-origin") {
        POINT corner = {0, 0};
        ClientToScreen(window, &corner);
        std::printf("%ld %ld\n", corner.x, corner.y);
        return 0;
    }
    if (command == L"clipboard")
        return PrintClipboard();
    if (command == L"post-quit") {
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        return PostThreadMessageW(thread, WM_QUIT, 0, 0) ? 0 : Fail("cannot post to the window's thread");
    }
    if (command == L"menu-open") {
        HWND menu = nullptr;
        while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) && !IsWindowVisible(menu)) {
        }
        std::printf("%d\n", menu ? 1 : 0);
        return 0;
    }
    if (command == L"focus-id") {
        HWND focus = FocusOf(window);
        std::printf("%d\n", focus ? GetDlgCtrlID(focus) : 0);
        return 0;
    }
    if (argc < 5)
        return Fail("this command needs a control id");
    HWND control = GetDlgItem(window, _wtoi(argv[4]));
    if (!control)
        return Fail("no such control");
    if (command == L"control-rect") {
        RECT area;
        GetWindowRect(control, &area);
        std::printf("%ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom);
    } else if (command == L"control-text") {
        wchar_t text[512] = {};
        GetWindowTextW(control, text, 512);
        std::printf("%s\n", Utf8(text).c_str());
    } else if (command == L"slider-position") {
        std::printf("%ld\n", static_cast<long>(SendMessageW(control, TBM_GETPOS, 0, 0)));
    } else {
        return Fail("unknown command");
    }
    return 0;
}
