#include "report/machine/machine_report.h"

#include "report/machine/system_function.h"
#include "tevrin/core/callback_exception.h"
#include "tevrin/core/system_report.h"
#include "tevrin/core/text.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace nibscope_report {
namespace {

// The awareness functions came with Windows 10; before them only "aware" or not.
std::string dpi_awareness()
{
    using get_context = void*(WINAPI*)();
    using awareness_of = int(WINAPI*)(void*);
    const auto getContext = system_function<get_context>("GetThreadDpiAwarenessContext");
    const auto awareness = system_function<awareness_of>("GetAwarenessFromDpiAwarenessContext");
    if (getContext && awareness) {
        switch (awareness(getContext())) {
        case 0: return "unaware";
        case 1: return "system aware";
        case 2: return "per-monitor aware";
        default: return "unknown";
        }
    }
    return IsProcessDPIAware() ? "system aware" : "unaware";
}

std::string utc_now()
{
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u UTC", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

report_value rectangle(const RECT& area)
{
    return report_value::list().add(area.left).add(area.top).add(area.right - area.left).add(area.bottom - area.top);
}

struct library_releaser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using owned_library = std::unique_ptr<std::remove_pointer<HMODULE>::type, library_releaser>;

// GetDpiForMonitor lives in shcore.dll from Windows 8.1; it is loaded from the system
// folder alone.
class monitor_dpi {
public:
    monitor_dpi() : shcore_(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
    {
        get_ = system_function<get_dpi>("GetDpiForMonitor", shcore_.get());
    }

    report_value of(HMONITOR monitor) const
    {
        UINT x = 0, y = 0;
        return get_ && get_(monitor, 0, &x, &y) == S_OK ? report_value(x) : report_value();
    }

private:
    using get_dpi = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    owned_library shcore_;
    get_dpi get_ = nullptr;
};

void add_monitor(HMONITOR monitor, report_value& list)
{
    static const monitor_dpi dpi;
    MONITORINFOEXW info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return;
    list.add(report_value::object()
        .set("name", tevrin::ToUtf8(info.szDevice))
        .set("rectangle", rectangle(info.rcMonitor))
        .set("work_area", rectangle(info.rcWork))
        .set("dpi", dpi.of(monitor))
        .set("primary", (info.dwFlags & MONITORINFOF_PRIMARY) != 0));
}

// A failure stops the enumeration and is thrown once EnumDisplayMonitors has returned.
BOOL CALLBACK enumerated_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    return tevrin::guard_callback(FALSE, [&] {
        add_monitor(monitor, *reinterpret_cast<report_value*>(list));
        return TRUE;
    });
}

}  // namespace

report_value system_section()
{
    tevrin::os_version version;
    const bool known = tevrin::this_system().queryVersion(version);
    return report_value::object()
        .set("windows", tevrin::operating_system_text(known ? &version : nullptr))
        .set("version", known ? report_value(std::to_string(version.major) + "." + std::to_string(version.minor)) : report_value())
        .set("build", known ? report_value(version.build) : report_value())
        .set("ansi_code_page", GetACP())
        .set("dpi_awareness", dpi_awareness())
        .set("report_time_utc", utc_now());
}

report_value displays_section(const report_value& defaultContext)
{
    report_value monitors = report_value::list();
    EnumDisplayMonitors(nullptr, nullptr, enumerated_monitor, reinterpret_cast<LPARAM>(&monitors));
    tevrin::rethrow_callback_exception();
    const RECT virtualScreen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    report_value context;
    if (!defaultContext.get("output_extent").is_null())
        context = report_value::object()
                      .set("output_origin", defaultContext.get("output_origin"))
                      .set("output_extent", defaultContext.get("output_extent"))
                      .set("system_origin", defaultContext.get("system_origin"))
                      .set("system_extent", defaultContext.get("system_extent"));
    return report_value::object()
        .set("monitors", monitors)
        .set("virtual_screen", rectangle(virtualScreen))
        .set("default_context_area", context);
}

}  // namespace nibscope_report
