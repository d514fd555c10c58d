// Starts a program, waits for the message box it shows, checks the box's caption and
// text, closes it, and checks that the program then ends with exit status 0.
//   startup_box_check PROGRAM EXPECTED_CAPTION EXPECTED_TEXT
#include "support/message_box_watcher.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return std::fprintf(stderr, "usage: startup_box_check PROGRAM CAPTION TEXT\n"), 2;
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError()), 1;
    const tevrin_test::SeenMessageBox box = tevrin_test::WatchForMessageBox(60000, process.dwProcessId).get();
    const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (!ended)
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const bool passed = box.seen && box.caption == argv[2] && box.text == argv[3] && ended && exitCode == 0;
    std::wprintf(L"%ls: box captioned '%ls' saying '%ls' (expected '%ls', '%ls'); the program %ls with exit status %lu\n",
                 passed ? L"ok" : L"FAIL", box.caption.c_str(), box.text.c_str(), argv[2], argv[3],
                 ended ? L"ended" : L"did not end", exitCode);
    return passed ? 0 : 1;
}
