// The tablet window procedure, and attach_window, which installs it.
#include "tevrin/ui/tablet_view.h"

#include "tevrin/core/callback_exception.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/exception.h"
#include "tevrin/tablet/pen_state.h"
#include "tevrin/tablet/tablet_context.h"
#include "tevrin/ui/window.h"

#include <cstdint>

namespace tevrin {
namespace {

void handle_proximity(HWND window, tablet_context& context, LPARAM lParam)
{
    const bool entering = LOWORD(lParam) != 0;
    stylus_in_use = entering;
    debug_trace("tc %x: Changing stylus_in_use to %d\n",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&context) & 0xFFFFFFFFu), entering ? 1 : 0);
    // Packets queued before the pen left must not feed the next stroke.
    if (!entering)
        context.discard_queued_packets();
    log_line("Tablet proximity event, value: %s", entering ? "TRUE" : "FALSE");
    if (entering)
        InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

void tablet_context::attach_window(Window& view)
{
    tablet_view* tablet = dynamic_cast<tablet_view*>(&view);
    if (!tablet)
        throw invalid_argument();
    const HWND window = view.GetHandle();
    tablet->SetSavedWindowProcedure(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&tablet_window_procedure));
    view.HandleInitEvent();
}

LRESULT CALLBACK tablet_window_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    tablet_view* view = dynamic_cast<tablet_view*>(Window::FromHandle(window));
    // Once the framework has unpaired a window on its way out, only the
    // framework's own procedure is left to finish it.
    if (!view || callback_failure_kept())
        return Window::WindowProcedure(window, message, wParam, lParam);
    // As in the framework's procedure: the driver's messages may also be sent from
    // inside a system call, so the failure waits for the message loop.
    return guard_callback(LRESULT(0), [&]() -> LRESULT {
        switch (message) {
        case WT_PROXIMITY:
            handle_proximity(window, view->GetTabletContext(), lParam);
            return 1;
        case WT_INFOCHANGE:
            view->GetTabletContext().refresh_pressure_calibration();
            return 1;
        default:
            return CallWindowProcW(view->GetSavedWindowProcedure(), window, message, wParam, lParam);
        }
    });
}

}  // namespace tevrin
