// Stands in for the report's x86 twin (x86\nibscope-report.exe) in the ways a twin goes
// wrong or answers otherwise, as TEVRIN_FAKE_TWIN says: "hang", "crash", "garbage", or
// the path of a JSON report to print as its own.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
    const std::string behaviour = std::getenv("TEVRIN_FAKE_TWIN") ? std::getenv("TEVRIN_FAKE_TWIN") : "";
    if (behaviour == "hang")
        Sleep(INFINITE);
    if (behaviour == "crash")
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    if (behaviour == "garbage")
        return std::fputs("{\"driver_library\": {\"loaded\": tru\r\nSegmentation fault\r\n", stdout) < 0;
    FILE* report = std::fopen(behaviour.c_str(), "rb");
    for (int c; report && (c = std::fgetc(report)) != EOF;)
        std::fputc(c, stdout);
    return report ? std::fclose(report) : 2;
}
