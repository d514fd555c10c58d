// Prints how long the real program takes from its process start to a painted main
// window: it starts the program, watches for its "Tevrin Nibscope" window to exist
// and become visible, and reads the screen until the GDI surface in that window shows
// its light grey (192) canvas. Then it closes the program with WM_CLOSE, as a user
// would, and waits for it to end before the next run. Figures only; the program fails
// only when a run shows no painted window at all.
//   startup_benchmark PATH\TO\nibscope.exe [RUNS]
#include "sample_statistics.h"
#include "screen_capture.h"
#include "stopwatch.h"
#include "tevrin/core/unique_handle.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using nibscope_benchmark::Stopwatch;

constexpr wchar_t mainWindowTitle[] = L"Tevrin Nibscope";
constexpr int surfaceSize = 360;
constexpr std::uint8_t canvasGrey = 192;
constexpr int rowsBelowFocusBar = 12;  // the focus bar may cross rows 10 and 11
constexpr double giveUpMilliseconds = 60000.0;

struct StartupRun {
    double windowMilliseconds = 0.0;   // the titled window exists
    double visibleMilliseconds = 0.0;  // and is visible
    double paintedMilliseconds = 0.0;  // and the GDI surface shows its canvas on screen
    double closeMilliseconds = 0.0;    // from WM_CLOSE to the process's end
    DWORD exitCode = 0;
};

// A process or thread handle: only this benchmark holds kernel handles.
struct kernel_handle_traits {
    using handle_type = HANDLE;
    static constexpr HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE handle) noexcept { CloseHandle(handle); }
};
using unique_kernel_handle = tevrin::unique_handle<kernel_handle_traits>;

struct StartedProcess {
    unique_kernel_handle process;
    DWORD id = 0;
};

StartedProcess StartProgram(const std::wstring& path)
{
    std::wstring commandLine = L"\"" + path + L"\"";
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        throw std::runtime_error("cannot start the program (error " + std::to_string(GetLastError()) + ")");
    const unique_kernel_handle thread(started.hThread);
    StartedProcess result;
    result.process.reset(started.hProcess);
    result.id = started.dwProcessId;
    return result;
}

HWND FindMainWindow(DWORD processId)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, mainWindowTitle)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

bool SurfaceShowsCanvas(HWND mainWindow, nibscope_benchmark::ScreenCapture& capture)
{
    POINT clientOrigin = {0, 0};  // the GDI surface sits at the client area's corner
    ClientToScreen(mainWindow, &clientOrigin);
    return capture.Capture(clientOrigin) && capture.IsUniformGrey(canvasGrey, rowsBelowFocusBar);
}

bool Exited(const StartedProcess& started)
{
    return WaitForSingleObject(started.process.get(), 0) == WAIT_OBJECT_0;
}

// Polls until the window is painted; returns the main window.
HWND WatchStartup(const StartedProcess& started, const Stopwatch& sinceStart, StartupRun& run)
{
    nibscope_benchmark::ScreenCapture capture(surfaceSize, surfaceSize);
    HWND window = nullptr;
    while (sinceStart.ElapsedMilliseconds() < giveUpMilliseconds && !Exited(started)) {
        if (!window && (window = FindMainWindow(started.id)) != nullptr)
            run.windowMilliseconds = sinceStart.ElapsedMilliseconds();
        if (window && run.visibleMilliseconds == 0.0 && IsWindowVisible(window))
            run.visibleMilliseconds = sinceStart.ElapsedMilliseconds();
        if (run.visibleMilliseconds > 0.0 && SurfaceShowsCanvas(window, capture)) {
            run.paintedMilliseconds = sinceStart.ElapsedMilliseconds();
            return window;
        }
        Sleep(1);
    }
    throw std::runtime_error(Exited(started) ? "the program ended before its window was painted"
                                             : "no painted main window within a minute");
}

void CloseProgram(HWND window, const StartedProcess& started, StartupRun& run)
{
    const Stopwatch closing;
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.process.get(), 30000) != WAIT_OBJECT_0) {
        TerminateProcess(started.process.get(), 1);
        throw std::runtime_error("the program did not end within 30 s of WM_CLOSE");
    }
    run.closeMilliseconds = closing.ElapsedMilliseconds();
    GetExitCodeProcess(started.process.get(), &run.exitCode);
}

StartupRun MeasureOneStart(const std::wstring& path)
{
    StartupRun run;
    const Stopwatch sinceStart;
    const StartedProcess started = StartProgram(path);
    const HWND window = WatchStartup(started, sinceStart, run);
    CloseProgram(window, started, run);
    return run;
}

// The previous run's grey must be gone from the screen before the next one starts, or
// a run could be timed by what its predecessor left behind.
void WaitForClearedScreen()
{
    nibscope_benchmark::ScreenCapture capture(surfaceSize, surfaceSize);
    const Stopwatch waiting;
    while (waiting.ElapsedMilliseconds() < 5000.0) {
        if (capture.Capture({0, 0}) && !capture.IsUniformGrey(canvasGrey, rowsBelowFocusBar))
            break;
        Sleep(20);
    }
    Sleep(500);  // let the desktop and the Wine server settle
}

void PrintSummary(const char* label, const std::vector<double>& samples)
{
    const nibscope_benchmark::SampleSummary s = nibscope_benchmark::Summarise(samples);
    std::printf("%-28s min %8.1f ms  median %8.1f ms  max %8.1f ms\n", label, s.minimum, s.median, s.maximum);
}

int RunsArgument(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 7;
    const int runs = _wtoi(argv[2]);
    if (runs <= 0)
        throw std::invalid_argument("the number of runs must be positive");
    return runs;
}

void Run(const std::wstring& path, int runs)
{
    std::vector<double> window, visible, painted;
    std::printf("%4s %12s %12s %12s %12s %6s\n", "run", "window ms", "visible ms", "painted ms", "close ms", "exit");
    for (int index = 1; index <= runs; ++index) {
        WaitForClearedScreen();
        const StartupRun run = MeasureOneStart(path);
        std::printf("%4d %12.1f %12.1f %12.1f %12.1f %6lu\n", index, run.windowMilliseconds, run.visibleMilliseconds,
                    run.paintedMilliseconds, run.closeMilliseconds, run.exitCode);
        std::fflush(stdout);
        window.push_back(run.windowMilliseconds);
        visible.push_back(run.visibleMilliseconds);
        painted.push_back(run.paintedMilliseconds);
    }
    PrintSummary("titled window exists", window);
    PrintSummary("window visible", visible);
    PrintSummary("GDI surface painted", painted);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::printf("usage: startup_benchmark PATH\\TO\\nibscope.exe [RUNS]\n");
        return 2;
    }
    try {
        Run(argv[1], RunsArgument(argc, argv));
    } catch (const std::exception& error) {
        std::printf("startup_benchmark failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
