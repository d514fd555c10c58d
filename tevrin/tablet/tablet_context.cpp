#include "tevrin/tablet/tablet_context.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/exception.h"
#include "tevrin/tablet/guarded_reads.h"
#include "tevrin/tablet/pen_state.h"

#include <cstdio>
#include <string>

namespace tevrin {
namespace {

bool servicesInitialised = false;
constexpr int largest_queue_size = 128;

// Only the first opening of the process loads the driver; it alone reports the outcome.
void load_services_once()
{
    if (servicesInitialised)
        return;
    servicesInitialised = true;
    load_tablet_services();
    if (!tablet_services_load_error().empty())
        throw tablet_services_load_error().c_str();
    log_line("Tablet device found, id = '%s'", tablet_service_table().device_name);
}

}  // namespace

tablet_context::~tablet_context()
{
    if (context && services_ready())
        services->WTClose(context);
}

void tablet_context::open(HWND window, const void* view)
{
    try {
        open_with_services(window, view);
    } catch (const exception& failure) {
        log_line("ERROR for window %p: %s", view, failure.what());
    } catch (const char* text) {
        log_line("ERROR for window %p: %s", view, text);
    }
}

void tablet_context::open_with_services(HWND window, const void* view)
{
    load_services_once();
    services = &tablet_service_table();
    if (!services->is_loaded())
        throw tablet_context_error();
    read_info_record(services->WTInfoA, WTI_DEFSYSCTX, 0, settings);
    adapt_default_settings(view);
    context = services->WTOpenA(window, &settings, TRUE);
    if (!context)
        throw tablet_context_creation_error();
    choose_queue_size();
    log_line("Tablet context created for window %p", view);
}

// Everything not set here stays as the driver's default system context has it, so
// the pen keeps driving the system cursor as the user configured it.
void adapt_view_context_settings(LOGCONTEXTA& settings, WTPKT items)
{
    settings.lcPktData = items;
    settings.lcPktMode = 0;
    settings.lcMoveMask = items;
    settings.lcBtnUpMask = settings.lcBtnDnMask;
    settings.lcOutOrgX = 0;
    settings.lcOutOrgY = 0;
    settings.lcOutExtX = GetSystemMetrics(SM_CXSCREEN);
    // Negative: output y grows downwards from the top of the screen.
    settings.lcOutExtY = -GetSystemMetrics(SM_CYSCREEN);
}

// Drivers differ in the queue they grant; the largest accepted size wins.
int set_largest_queue_size(WTQueueSizeSet_entry setQueueSize, HCTX context)
{
    int size = largest_queue_size;
    while (size > 0 && !setQueueSize(context, size))
        --size;
    return size;
}

void tablet_context::adapt_default_settings(const void* view)
{
    std::snprintf(settings.lcName, sizeof settings.lcName, "NibscopeView %p", view);
    adapt_view_context_settings(settings, tablet_packet_items);
}

void tablet_context::choose_queue_size()
{
    queueSize = set_largest_queue_size(services->WTQueueSizeSet, context);
    if (queueSize > 0)
        packets.reset(new tablet_packet[guarded_packet_slots(queueSize)]());
}

bool tablet_context::read_latest_packet()
{
    if (!context) {
        debug_trace("tablet context n/a\n");
        return false;
    }
    if (!services_ready()) {
        debug_trace("tablet n/a\n");
        return false;
    }
    // Clamped: a driver that answers more packets than asked must not send the scan past the buffer.
    const int count = get_packets(services->WTPacketsGet, context, queueSize, packets.get()).count;
    debug_trace("%d packets found\n", count);
    if (count <= 0) {
        debug_trace("no tablet packets\n");
        return false;
    }
    const tablet_packet* packet = newest_usable_packet(count);
    if (!packet) {
        debug_trace("no good tablet packet found\n");
        return false;
    }
    take_packet(*packet);
    return true;
}

const tablet_packet* tablet_context::newest_usable_packet(int count) const
{
    for (int index = count - 1; index >= 0; --index) {
        if (!(packets[static_cast<size_t>(index)].status & TPS_QUEUE_ERR))
            return &packets[static_cast<size_t>(index)];
    }
    return nullptr;
}

void tablet_context::take_packet(const tablet_packet& packet)
{
    pen_state.alternate_cursor = packet.cursor != 1;
    pen_state.button1 = (packet.buttons & 2u) != 0;
    pen_state.button2 = (packet.buttons & 4u) != 0;
    pen_state.aux1 = 0.0f;
    pen_state.aux2 = 1.0f;
    pen_state.aux3 = 0;
    pressure_calibration.current_cursor = packet.cursor;
    if (static_cast<i32>(packet.cursor) != pressure_calibration.last_calibrated_cursor) {
        refresh_pressure_calibration();
        pressure_calibration.last_calibrated_cursor = static_cast<i32>(packet.cursor);
    }
    pen_state.pressure = normalised_pressure(packet.normal_pressure, packet.buttons, pressure_calibration);
}

void tablet_context::bring_to_top()
{
    if (services_ready() && context)
        services->WTOverlap(context, TRUE);
}

void tablet_context::refresh_pressure_calibration()
{
    if (!context || !services_ready())
        return;
    const UINT cursorCategory = WTI_CURSORS + pressure_calibration.current_cursor;
    read_pressure_button(cursorCategory);
    const AXIS axis = read_pressure_axis();
    pressure_calibration.pressure_minimum = static_cast<u32>(axis.axMin);
    pressure_calibration.pressure_range = static_cast<u32>(axis.axMax) - static_cast<u32>(axis.axMin);
    pressure_calibration.press_mark = read_press_mark(cursorCategory);
    pressure_calibration.press_range = static_cast<u32>(axis.axMax) - pressure_calibration.press_mark;
}

// The driver names a logical button; packets report physical ones.
void tablet_context::read_pressure_button(UINT cursorCategory)
{
    pressure_calibration.pressure_button = 255;
    read_info_record(services->WTInfoA, cursorCategory, CSR_NPBUTTON, pressure_calibration.pressure_button);
    u8 buttonMap[32] = {};
    const UINT mapped = read_info_record(services->WTInfoA, cursorCategory, CSR_BUTTONMAP, buttonMap);
    if (pressure_calibration.pressure_button < mapped)
        pressure_calibration.pressure_button = buttonMap[pressure_calibration.pressure_button];
}

// A driver that does not answer leaves the axis at zero.
AXIS tablet_context::read_pressure_axis() const
{
    LOGCONTEXTA current = {};
    read_context_settings(services->WTGetA, context, current);
    AXIS axis = {};
    read_info_record(services->WTInfoA, WTI_DEVICES + current.lcDevice, DVC_NPRESSURE, axis);
    return axis;
}

u32 tablet_context::read_press_mark(UINT cursorCategory) const
{
    u32 releaseAndPressMarks[2] = {0, 0};
    read_info_record(services->WTInfoA, cursorCategory, CSR_NPBTNMARKS, releaseAndPressMarks);
    return releaseAndPressMarks[1];
}

void tablet_context::discard_queued_packets()
{
    if (context && services_ready())
        services->WTPacketsGet(context, 0, nullptr);
}

}  // namespace tevrin
