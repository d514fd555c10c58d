#pragma once
// A window and a tablet context opened for it as the main program opens its own:
// from the driver's default system context, with the main program's changes and
// the largest queue the driver accepts.
#include "tevrin/tablet/tablet_services.h"

namespace nibscope_report {

class report_window {
public:
    // A top-level window; the procedure finds its own data through user_data.
    report_window(const wchar_t* title, bool visible, WNDPROC procedure, void* userData);
    ~report_window();
    report_window(const report_window&) = delete;
    report_window& operator=(const report_window&) = delete;

    HWND handle() const { return window_; }

private:
    HWND window_;
};

class report_context {
public:
    report_context(const tevrin::tablet_services& table, HWND window, tevrin::WTPKT items);
    ~report_context();
    report_context(const report_context&) = delete;
    report_context& operator=(const report_context&) = delete;

    bool opened() const { return context_ != nullptr; }
    tevrin::HCTX handle() const { return context_; }
    int queue_size() const { return queueSize_; }
    // The settings as the driver holds them after opening: the items it granted.
    const tevrin::LOGCONTEXTA& granted() const { return granted_; }
    // The bytes WTGetA wrote for them; more than the record's size is a lie.
    size_t granted_written() const { return grantedWritten_; }

private:
    const tevrin::tablet_services& table_;
    tevrin::HCTX context_ = nullptr;
    int queueSize_ = 0;
    tevrin::LOGCONTEXTA granted_ = {};
    size_t grantedWritten_ = 0;
};

}  // namespace nibscope_report
