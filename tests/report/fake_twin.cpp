// Stands in for the report's x86 twin (x86\nibscope-report.exe) in the ways a twin goes
// wrong or answers otherwise, as TEVRIN_FAKE_TWIN says: "hang", "crash", "garbage", or
// the path of a JSON report to print as its own.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main()
{
    const char* behaviour = std::getenv("TEVRIN_FAKE_TWIN");
    if (!behaviour)
        return 2;
    if (std::strcmp(behaviour, "hang") == 0) {
        Sleep(INFINITE);
    } else if (std::strcmp(behaviour, "crash") == 0) {
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    } else if (std::strcmp(behaviour, "garbage") == 0) {
        std::fputs("{\"driver_library\": {\"loaded\": tru\r\nSegmentation fault\r\n", stdout);
        return 0;
    }
    FILE* report = std::fopen(behaviour, "rb");
    if (!report)
        return 2;
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, report)) > 0)
        std::fwrite(chunk, 1, got, stdout);
    std::fclose(report);
    return 0;
}
