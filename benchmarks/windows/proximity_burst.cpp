// How long the real program leaves its window unanswered after a driver's burst of
// proximity messages:  proximity_burst TITLE COUNT
// Posts COUNT WT_PROXIMITY messages, the pen entering and leaving in turn, to the child
// window at client point 100,100 of the top-level window of that title (the GDI
// surface), then sends it WM_NULL every 5 ms until the answers have come within 50 ms
// for 3 s (at most 3 minutes). Prints the longest wait for an answer and when the
// last slow answer came after the burst, in milliseconds; exits 1 without the window.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr UINT proximityMessage = 0x7FF5;  // WT_PROXIMITY

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const HWND window = argc == 3 ? FindWindowW(nullptr, argv[1]) : nullptr;
    const HWND surface = window ? ChildWindowFromPointEx(window, POINT{100, 100}, CWP_SKIPINVISIBLE) : nullptr;
    if (!surface || surface == window)
        return std::printf("usage: proximity_burst TITLE COUNT, with a child window at 100,100 of that window\n"), 1;
    LARGE_INTEGER start, sent, answered;
    QueryPerformanceCounter(&start);
    for (int i = 0, count = static_cast<int>(std::wcstol(argv[2], nullptr, 10)); i < count; ++i)
        PostMessageW(surface, proximityMessage, 0, MAKELPARAM(i % 2 == 0 ? 1 : 0, 1));
    double longest = 0.0, lastSlow = 0.0, now = 0.0;
    DWORD_PTR result = 0;
    while (now - lastSlow < 3000.0 && now < 180000.0) {
        QueryPerformanceCounter(&sent);
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 180000, &result))
            return std::printf("the window did not answer within 3 minutes\n"), 1;
        QueryPerformanceCounter(&answered);
        const double wait = Milliseconds(sent, answered);
        now = Milliseconds(start, answered);
        longest = wait > longest ? wait : longest;
        lastSlow = wait > 50.0 ? now : lastSlow;
        Sleep(5);
    }
    std::printf("%.1f %.1f\n", longest, lastSlow);
    return 0;
}
