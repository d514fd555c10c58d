#pragma once
// One WinTab context bound to one drawing view's window. The drawing view derives
// from it; opening reports its failures in the log and leaves the view without a
// context, so the view goes on drawing with the mouse.
#include "tevrin/tablet/tablet_services.h"
#include "tevrin/tablet/wintab.h"

#include <memory>

namespace tevrin {

class Window;

// A view's context settings, made from the driver's default system context: the
// packet items (all absolute, all reported on moves), buttons reported up as down,
// output over the whole screen with y growing downwards. Nothing else changes.
void adapt_view_context_settings(LOGCONTEXTA& settings, WTPKT items);

// Tries queue sizes from 128 down and returns the first the driver accepts; 0 for none.
int set_largest_queue_size(WTQueueSizeSet_entry setQueueSize, HCTX context);

class tablet_context {
public:
    tablet_context() = default;
    virtual ~tablet_context();
    tablet_context(const tablet_context&) = delete;
    tablet_context& operator=(const tablet_context&) = delete;

    // Installs tablet_window_procedure on the view's window, remembering the one it
    // replaces in the view, then calls the view's HandleInitEvent, which opens the
    // context. The view must implement tablet_view; both live with the window
    // framework (tevrin/ui/tablet_view.h), which the console report does without.
    void attach_window(Window& view);

    // Opens the context for the window; view names the context and its log lines.
    // The first opening of the process loads the driver. Logs every failure it meets.
    void open(HWND window, const void* view);

    // Drains the driver's queue and updates pen_state from the newest usable packet;
    // false (pen state untouched) when there is none.
    bool read_latest_packet();

    // Rereads the pressure calibration for the current cursor.
    void refresh_pressure_calibration();

    // Empties the driver's queue for this context.
    void discard_queued_packets();

    // Puts this context on top of the driver's overlap order, when it is open.
    void bring_to_top();

private:
    void open_with_services(HWND window, const void* view);
    void adapt_default_settings(const void* view);
    void choose_queue_size();
    bool services_ready() const { return services && services->is_loaded(); }
    const tablet_packet* newest_usable_packet(int count) const;
    void take_packet(const tablet_packet& packet);
    void read_pressure_button(UINT cursorCategory);
    AXIS read_pressure_axis() const;
    u32 read_press_mark(UINT cursorCategory) const;

    HCTX context = nullptr;
    LOGCONTEXTA settings = {};
    tablet_services* services = nullptr;
    i32 queueSize = 0;
    std::unique_ptr<tablet_packet[]> packets;  // guarded_packet_slots(queueSize)
};

}  // namespace tevrin
