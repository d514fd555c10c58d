// Starts a program, waits for the message box it shows, checks the box's caption and
// text, closes it, and checks that the program then ends with exit status 0.
//   startup_box_check PROGRAM EXPECTED_CAPTION EXPECTED_TEXT
#include "support/message_box_watcher.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool Check(bool condition, const char* what)
{
    std::printf("%s: %s\n", condition ? "ok" : "FAIL", what);
    return condition;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_box_check PROGRAM CAPTION TEXT\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    tevrin_test::MessageBoxWatcher watcher(process.dwProcessId);
    const tevrin_test::SeenMessageBox box = watcher.Wait(60000);
    const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (!ended)
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::wprintf(L"box caption: '%ls'\nbox text: '%ls'\nexit code: %lu\n", box.caption.c_str(), box.text.c_str(),
                 exitCode);
    bool passed = Check(box.seen, "a message box appeared");
    passed = Check(box.caption == argv[2], "the caption is the expected one") && passed;
    passed = Check(box.text == argv[3], "the text is the expected one") && passed;
    passed = Check(ended, "the program ended after the box was closed") && passed;
    passed = Check(exitCode == 0, "the exit status is 0") && passed;
    return passed ? 0 : 1;
}
