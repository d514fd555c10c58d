#include "tevrin/core/system_report.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/processor_info.h"
#include "tevrin/core/text.h"
#include "tevrin/core/windows_handles.h"

#include <windows.h>

namespace tevrin {
namespace {

const char* const separator =
    "________________________________________________________________________________";

using rtl_get_version_function = LONG(WINAPI*)(OSVERSIONINFOEXW*);

// The version record's size as RtlGetVersion expects it for the extended form.
constexpr ULONG extendedVersionRecordSize = 284;
static_assert(sizeof(OSVERSIONINFOEXW) == extendedVersionRecordSize, "extended version record size");

bool query_real_version(os_version& version)
{
    const HMODULE ntdll = GetModuleHandleA("ntdll");
    if (!ntdll)
        return false;
    const auto rtlGetVersion =
        reinterpret_cast<rtl_get_version_function>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (!rtlGetVersion)
        return false;
    OSVERSIONINFOEXW record = {};
    record.dwOSVersionInfoSize = extendedVersionRecordSize;
    rtlGetVersion(&record);
    version.major = record.dwMajorVersion;
    version.minor = record.dwMinorVersion;
    version.build = record.dwBuildNumber;
    version.servicePackMajor = record.wServicePackMajor;
    version.servicePackMinor = record.wServicePackMinor;
    return true;
}

u16 real_architecture()
{
    // The machine's own processor: an x86 program on 64-bit Windows is told "Intel" by GetSystemInfo.
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture;
}

std::string real_processor_identifier()
{
    char buffer[260] = {};
    return processor_identifier(buffer);
}


bool real_display_mode(display_mode& mode)
{
    const unique_created_dc context(CreateCompatibleDC(nullptr));
    if (!context)
        return false;
    mode.bitsPerPixel = GetDeviceCaps(context.get(), BITSPIXEL);
    mode.width = GetDeviceCaps(context.get(), HORZRES);
    mode.height = GetDeviceCaps(context.get(), VERTRES);
    return true;
}

const char* windows_name(u32 major, u32 minor)
{
    struct named_version {
        u32 major;
        u32 minor;
        const char* name;
    };
    static const named_version names[] = {
        {10, 0, "10 (or greater)"}, {6, 3, "8.1"}, {6, 2, "8"}, {6, 1, "7"},
        {5, 2, "XP Pro x64 Edition"}, {5, 1, "XP"}, {5, 0, "2000"},
    };
    for (const named_version& entry : names) {
        if (entry.major == major && entry.minor == minor)
            return entry.name;
    }
    return "Unknown";
}

std::string operating_system_line(const system_report_sources& sources)
{
    os_version version;
    const bool known = sources.queryVersion(version);
    return operating_system_text(known ? &version : nullptr);
}

std::string processor_line(const system_report_sources& sources)
{
    i32 storedCount = 0;
    const i32 returnedCount = sources.processorCount(&storedCount);
    std::string text;
    format_to_string(text, "%s %s; No. of CPUs: %d/%d", architecture_name(sources.architecture()),
                     sources.featureList().c_str(), returnedCount, storedCount);
    return text;
}

std::string display_line(const system_report_sources& sources)
{
    display_mode mode;
    if (!sources.displayMode(mode))
        return std::string();
    std::string text;
    format_to_string(text, "Depth = %d bpp; Size = %d x %d pixels", mode.bitsPerPixel, mode.width, mode.height);
    return text;
}

}  // namespace

system_report_sources this_system()
{
    system_report_sources sources;
    sources.queryVersion = &query_real_version;
    sources.architecture = &real_architecture;
    sources.featureList = [] {
        std::string text;
        return cpu_feature_list(text);
    };
    sources.processorCount = [](i32* count) { return processor_count(count); };
    sources.processorIdentifier = &real_processor_identifier;
    sources.displayMode = &real_display_mode;
    sources.userName = [] {
        std::string name;
        return user_name(name);
    };
    return sources;
}

std::string operating_system_text(const os_version* version)
{
    if (!version || version->major == 0)
        return "Unknown";
    std::string text;
    format_to_string(text, "Microsoft Windows(R) %s, build %d, SP %d.%d", windows_name(version->major, version->minor),
                     static_cast<int>(version->build), static_cast<int>(version->servicePackMajor),
                     static_cast<int>(version->servicePackMinor));
    return text;
}

const char* architecture_name(u16 architectureCode)
{
    switch (architectureCode) {
    case 0: return "Intel";
    case 6: return "IA-64";
    case 9: return "x64";
    case 10: return "IA32 on Win64";
    case 11: return "neutral";
    case 12: return "ARM64";
    case 13: return "ARM32 on Win64";
    case 14: return "IA32 on ARM64";
    default: return "Unknown";
    }
}

const std::string& user_name(std::string& name)
{
    wchar_t buffer[257] = {};
    DWORD size = 257;
    if (!GetUserNameW(buffer, &size))
        buffer[0] = L'\0';
    name = ToUtf8(buffer);
    return name;
}

void write_system_report(const system_report_sources& sources)
{
    log_line("%s", separator);
    log_line("Operating system: %s", operating_system_line(sources).c_str());
    log_line("CPU:              %s", processor_line(sources).c_str());
    log_line("CPU desc:         %s", sources.processorIdentifier().c_str());
    log_line("Display:          %s", display_line(sources).c_str());
    log_line("User:             %s", sources.userName().c_str());
    log_line("%s", separator);
}

void write_system_report()
{
    write_system_report(this_system());
}

}  // namespace tevrin
