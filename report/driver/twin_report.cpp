#include "report/driver/twin_report.h"

#include "report/tree/json_reading.h"
#include "tevrin/core/text.h"
#include "tevrin/core/windows_handles.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

namespace nibscope_report {
namespace {

const char* const twin_name = "x86\\nibscope-report.exe";
constexpr size_t largest_twin_output = 16u << 20;

struct kernel_handle_traits : tevrin::null_handle_traits<HANDLE> {
    static void close(HANDLE handle) noexcept { CloseHandle(handle); }
};
using unique_kernel_handle = tevrin::unique_handle<kernel_handle_traits>;

// Why the twin gave no report, in the one sentence the section shows.
struct twin_failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::wstring twin_path()
{
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + tevrin::ToUtf16(twin_name);
}

bool has_32bit_half()
{
    wchar_t folder[MAX_PATH];
    return GetSystemWow64DirectoryW(folder, MAX_PATH) != 0;
}

// Opened for the twin to inherit: its input and its error output go nowhere.
unique_kernel_handle null_device()
{
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE device = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                OPEN_EXISTING, 0, nullptr);
    return unique_kernel_handle(device == INVALID_HANDLE_VALUE ? nullptr : device);
}

struct twin_run {
    std::string output;
    DWORD exit_status = 0;
};

// Runs the twin with its output in a pipe, read on a thread of its own so that a twin
// that fills the pipe and one that never ends are told apart by the wait alone.
twin_run run_twin(const std::wstring& path, bool keepNames)
{
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0))
        throw twin_failure("The 32-bit report could not be started: no pipe for its output.");
    unique_kernel_handle reading(readEnd), writing(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const unique_kernel_handle nowhere = null_device();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nowhere.get();
    startup.hStdOutput = writeEnd;
    startup.hStdError = nowhere.get();
    std::wstring commandLine = L"\"" + path + L"\" --json --check" + (keepNames ? L" --keep-names" : L"");
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        throw twin_failure("The 32-bit report " + std::string(twin_name) + " could not be started (error " +
                           std::to_string(GetLastError()) + ").");
    const unique_kernel_handle process(started.hProcess), thread(started.hThread);
    writing.reset();  // the pipe ends when the twin's copy of its write end closes
    twin_run run;
    std::thread reader([&run, readEnd] {
        char chunk[4096];
        DWORD got = 0;
        // Read to the end, so the twin never blocks on a full pipe; kept only up to a size no report reaches.
        while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
            if (run.output.size() < largest_twin_output)
                run.output.append(chunk, got);
    });
    const bool finished = WaitForSingleObject(process.get(), twin_wait_ms) == WAIT_OBJECT_0;
    if (!finished) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);
    }
    reader.join();
    if (!finished)
        throw twin_failure("The 32-bit report did not finish within " + std::to_string(twin_wait_ms / 1000) +
                           " seconds and was stopped.");
    GetExitCodeProcess(process.get(), &run.exit_status);
    return run;
}

// Exception codes (0xC0000005 and the like) are what a crashed Windows program exits with.
bool crashed(DWORD exitStatus)
{
    return exitStatus >= 0xC0000000u;
}

std::string hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

report_value twin_report(const twin_run& run)
{
    if (crashed(run.exit_status))
        throw twin_failure("The 32-bit report crashed (exception " + hex(run.exit_status) + ").");
    report_value report;
    try {
        report = read_json(run.output);
    } catch (const json_error&) {
        report = report_value();
    }
    if (report.type() != report_value::kind::object || report.get("driver_library").is_null())
        throw twin_failure("The 32-bit report printed something that is not its report (exit status " +
                           std::to_string(run.exit_status) + ").");
    return report;
}

// A 32-bit process sees the 32-bit system folder under the 64-bit one's name (file
// system redirection): the section names the folder where the file really lies, as the
// listing of the 32-bit wintab32.dll does.
std::string where_it_lies(const std::string& seenByTwin)
{
    wchar_t system[MAX_PATH], wow64[MAX_PATH];
    const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
    const UINT wow64Length = GetSystemWow64DirectoryW(wow64, MAX_PATH);
    if (systemLength == 0 || systemLength >= MAX_PATH || wow64Length == 0 || wow64Length >= MAX_PATH)
        return seenByTwin;
    const std::wstring path = tevrin::ToUtf16(seenByTwin);
    const std::wstring folder = std::wstring(system, systemLength) + L"\\";
    if (path.size() <= folder.size() ||
        CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(), static_cast<int>(folder.size()),
                             TRUE) != CSTR_EQUAL)
        return seenByTwin;
    return tevrin::ToUtf8(std::wstring(wow64, wow64Length) + L"\\" + path.substr(folder.size()));
}

report_value library_where_it_lies(const report_value& library)
{
    if (library.get("path").type() != report_value::kind::text)
        return library;
    report_value moved = report_value::object();
    for (const auto& entry : library.entries())
        moved.set(entry.first, entry.first == "path" ? report_value(where_it_lies(entry.second.text())) : entry.second);
    return moved;
}

}  // namespace

report_value driver_32bit_section(bool keepNames)
{
    // The x86 report is the twin itself: 32-bit programs are what it reports on.
    if (sizeof(void*) != 8 || !has_32bit_half())
        return report_value();
    report_value section = report_value::object().set("program", twin_name);
    const std::wstring path = twin_path();
    try {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            throw twin_failure("The 32-bit report " + std::string(twin_name) + " is missing beside this program.");
        const twin_run run = run_twin(path, keepNames);
        const report_value twin = twin_report(run);
        section.set("exit_status", static_cast<unsigned long>(run.exit_status));
        section.set("driver_library", library_where_it_lies(twin.get("driver_library")));
        for (const char* key : {"interface", "devices", "contexts", "checks"})
            section.set(key, twin.get(key));
    } catch (const twin_failure& failure) {
        section.set("unavailable", failure.what());
    }
    return section;
}

}  // namespace nibscope_report
