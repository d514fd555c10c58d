#include "report/capture/report_context.h"

#include "tevrin/core/exception.h"
#include "tevrin/tablet/guarded_reads.h"
#include "tevrin/tablet/tablet_context.h"

#include <cstring>

namespace nibscope_report {
namespace {

const wchar_t* window_class()
{
    static const wchar_t* name = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_CROSS);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = L"NibscopeReportWindow";
        RegisterClassW(&windowClass);
        return L"NibscopeReportWindow";
    }();
    return name;
}

}  // namespace

report_window::report_window(const wchar_t* title, bool visible, WNDPROC procedure, void* userData)
    : window_(CreateWindowExW(0, window_class(), title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr))
{
    if (!window_)
        throw tevrin::general_error("the report's window could not be created");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    if (visible) {
        ShowWindow(window_, SW_SHOWNORMAL);
        SetForegroundWindow(window_);
    }
}

report_window::~report_window()
{
    DestroyWindow(window_);
}

report_context::report_context(const tevrin::tablet_services& table, HWND window, tevrin::WTPKT items)
    : table_(table)
{
    tevrin::LOGCONTEXTA settings = {};
    tevrin::read_info_record(table_.WTInfoA, tevrin::WTI_DEFSYSCTX, 0, settings);
    std::strcpy(settings.lcName, "Nibscope report");
    tevrin::adapt_view_context_settings(settings, items);
    context_ = table_.WTOpenA(window, &settings, TRUE);
    if (!context_)
        return;
    queueSize_ = tevrin::set_largest_queue_size(table_.WTQueueSizeSet, context_);
    granted_ = settings;
    grantedWritten_ = tevrin::read_context_settings(table_.WTGetA, context_, granted_).written_end();
}

report_context::~report_context()
{
    if (context_)
        table_.WTClose(context_);
}

}  // namespace nibscope_report
