#include "report/capture/capture_window.h"

#include "report/machine/system_function.h"
#include "tevrin/core/callback_exception.h"
#include "tevrin/core/text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace nibscope_report {

const wchar_t* const capture_window_title = L"Nibscope report: hover and draw here";

namespace {

using tevrin::u32;

constexpr std::chrono::microseconds paint_interval(1000000 / 60);
// Often enough that a queue of 128 packets never fills at 1,000 packets a second.
constexpr UINT reading_interval_ms = 10;
constexpr UINT_PTR reading_timer = 1;
// A long trail drawn again (after a move, say) takes several paints, so that reading the
// queue between them never waits long.
constexpr size_t segments_per_paint = 5000;
constexpr UINT pointer_update = 0x0245, pointer_down = 0x0246, pointer_up = 0x0247;
constexpr COLORREF wintab_chart_colour = RGB(0, 90, 200), ink_chart_colour = RGB(230, 120, 0);

using set_awareness = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

UINT dpi_of(HWND window)
{
    using get_dpi = UINT(WINAPI*)(HWND);
    if (const auto get = system_function<get_dpi>("GetDpiForWindow"))
        if (const UINT dpi = get(window))
            return dpi;
    const int dpi = GetDeviceCaps(tevrin::acquire_window_dc(window).get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

POINT rounded(const screen_point& point)
{
    return {static_cast<LONG>(std::lround(point.x)), static_cast<LONG>(std::lround(point.y))};
}

POINT client_origin(HWND window)
{
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

}  // namespace

per_monitor_awareness::per_monitor_awareness()
{
    if (const auto set = system_function<set_awareness>("SetThreadDpiAwarenessContext"))
        previous_ = set(reinterpret_cast<DPI_AWARENESS_CONTEXT>(static_cast<std::intptr_t>(-4)));  // per monitor v2
}

per_monitor_awareness::~per_monitor_awareness()
{
    if (previous_)
        system_function<set_awareness>("SetThreadDpiAwarenessContext")(previous_);
}

capture_window::capture_window(int seconds)
    : seconds_(seconds), secondsLeft_(seconds)
{
    window_.reset(new report_window(capture_window_title, false, procedure, this));
    use_dpi(dpi_of(handle()));
    SetWindowPos(handle(), nullptr, 0, 0, scaled(640), scaled(480), SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(handle(), SW_SHOWNORMAL);
    SetForegroundWindow(handle());
}

// The messages of the window's destruction find no capture: its drawing objects go first.
capture_window::~capture_window()
{
    SetWindowLongPtrW(handle(), GWLP_USERDATA, 0);
}

capture_window::reading_through_modal_loops::reading_through_modal_loops(capture_window& window,
                                                                         std::function<void()> read)
    : window_(window)
{
    window_.read_ = std::move(read);
    SetTimer(window_.handle(), reading_timer, reading_interval_ms, nullptr);
}

capture_window::reading_through_modal_loops::~reading_through_modal_loops()
{
    KillTimer(window_.handle(), reading_timer);
    window_.read_ = nullptr;
}

// Nothing may unwind through the system's frames: a failure is kept for the program's
// loop, and until then the window is left to the system's default handling, which
// lets a modal loop's painting and moving go on as usual until it ends.
LRESULT CALLBACK capture_window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<capture_window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || tevrin::callback_failure_kept())
        return DefWindowProcW(window, message, wParam, lParam);
    return tevrin::guard_callback(LRESULT(0), [&] { return self->handle_message(message, wParam, lParam); });
}

LRESULT capture_window::handle_message(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case tevrin::WT_PROXIMITY:
        live_.add_proximity(LOWORD(lParam) != 0);
        dirty_ = true;
        return 0;
    case WM_TIMER:
        if (wParam != reading_timer)
            break;
        if (read_)
            read_();
        return 0;
    case WM_CLOSE:
        closed_ = true;
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT painting;
        paint(BeginPaint(handle(), &painting));
        EndPaint(handle(), &painting);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // the paint covers the whole client area
    case WM_MOVE:
    case WM_SIZE:
        dirty_ = true;  // the next paint puts the trail where the pen went and the chart at the bottom
        break;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        // While the window moves the trail keeps its place in the window; afterwards it
        // is drawn again where the pen went on the screen.
        movingOrSizing_ = message == WM_ENTERSIZEMOVE;
        dirty_ = true;
        break;
    case WM_DPICHANGED: {
        use_dpi(LOWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case pointer_update:
    case pointer_down:
    case pointer_up:
        live_.add_pointer(pointerInput_.pen_points(wParam, GetTickCount()));
        dirty_ = true;
        break;
    default:
        break;
    }
    return DefWindowProcW(handle(), message, wParam, lParam);
}

void capture_window::use_dpi(UINT dpi)
{
    dpi_ = dpi;
    font_ = tevrin::unique_font(CreateFontW(-MulDiv(9, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Segoe UI"));
    drawnSegments_ = 0;  // the trail's widths follow the DPI
    dirty_ = true;
}

void capture_window::add_packets(const std::vector<captured_packet>& batch, POINT cursor)
{
    live_.add_packets(batch, {static_cast<double>(cursor.x), static_cast<double>(cursor.y)});
    dirty_ = dirty_ || !batch.empty();
}

// In contact the line widens and darkens with pressure; hovering it stays thin and light.
void capture_window::draw_segment(const trail_segment& segment)
{
    const int level = static_cast<int>(170 * (1.0 - segment.share));
    const bool ink = segment.ink;
    const COLORREF colour = !segment.contact ? (ink ? RGB(250, 205, 160) : RGB(200, 200, 200))
                                             : (ink ? RGB(230, level * 3 / 4, 0) : RGB(level, level, level));
    const int width = segment.contact ? 1 + static_cast<int>(std::lround(scaled(7) * segment.share)) : 1;
    const unique_pen pen(CreatePen(PS_SOLID, width, colour));
    const gdi_selection selected(trail_->dc.get(), pen.get());
    const POINT from = rounded(segment.from), to = rounded(segment.to);
    MoveToEx(trail_->dc.get(), from.x - trailOrigin_.x, from.y - trailOrigin_.y, nullptr);
    LineTo(trail_->dc.get(), to.x - trailOrigin_.x, to.y - trailOrigin_.y);
}

void capture_window::paint_if_due(int secondsLeft)
{
    if (secondsLeft != secondsLeft_)
        dirty_ = true;
    secondsLeft_ = secondsLeft;
    dirty_ = live_.forget_chart_before(GetTickCount()) || dirty_;
    const auto now = std::chrono::steady_clock::now();
    if (!dirty_ || now - lastPaint_ < paint_interval)
        return;
    lastPaint_ = now;
    dirty_ = false;
    InvalidateRect(handle(), nullptr, FALSE);
    UpdateWindow(handle());
}

RECT capture_window::chart_area() const
{
    RECT client;
    GetClientRect(handle(), &client);
    const int margin = scaled(8);
    return {margin, client.bottom - margin - scaled(80), client.right - margin, client.bottom - margin};
}

// The buffers follow the client area's size; the trail is drawn again from its
// segments when they are made anew or the window has moved (minimising, restoring,
// resizing and moving all keep it).
void capture_window::prepare_buffers(HDC target)
{
    RECT client;
    GetClientRect(handle(), &client);
    const SIZE size = {std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
    if (!trail_ || size.cx != bufferSize_.cx || size.cy != bufferSize_.cy) {
        trail_.reset(new memory_bitmap(target, size));
        frame_.reset(new memory_bitmap(target, size));
        bufferSize_ = size;
        drawnSegments_ = 0;
    }
    const POINT origin = client_origin(handle());
    if (!movingOrSizing_ && (origin.x != trailOrigin_.x || origin.y != trailOrigin_.y))
        drawnSegments_ = 0;
    if (drawnSegments_ == 0) {
        trailOrigin_ = origin;
        const RECT all = {0, 0, size.cx, size.cy};
        FillRect(trail_->dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    const std::vector<trail_segment>& trail = live_.trail();
    const size_t last = std::min(trail.size(), drawnSegments_ + segments_per_paint);
    for (; drawnSegments_ < last; ++drawnSegments_)
        draw_segment(trail[drawnSegments_]);
    dirty_ = dirty_ || drawnSegments_ < trail.size();
}

void capture_window::paint(HDC target)
{
    if (IsIconic(handle()))
        return;
    prepare_buffers(target);
    const HDC frame = frame_->dc.get();
    BitBlt(frame, 0, 0, bufferSize_.cx, bufferSize_.cy, trail_->dc.get(), 0, 0, SRCCOPY);
    paint_chart(frame, chart_area());
    paint_readout(frame, {scaled(8), scaled(8), bufferSize_.cx - scaled(8), chart_area().top});
    BitBlt(target, 0, 0, bufferSize_.cx, bufferSize_.cy, frame, 0, 0, SRCCOPY);
}

void capture_window::paint_chart(HDC dc, const RECT& area) const
{
    const unique_brush background(CreateSolidBrush(RGB(242, 242, 242)));
    FillRect(dc, &area, background.get());
    FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    const u32 now = GetTickCount();
    const double width = area.right - area.left - 2, height = area.bottom - area.top - 2;
    const double span = live_capture::chart_span_ms;
    for (const bool ink : {false, true}) {
        std::vector<POINT> line;
        for (const chart_point& point : live_.chart())
            if (point.ink == ink)
                line.push_back({area.right - 1 - static_cast<LONG>(width * (now - point.arrival) / span),
                                area.bottom - 1 - static_cast<LONG>(height * point.share)});
        if (line.size() < 2)
            continue;
        const unique_pen pen(
            CreatePen(PS_SOLID, scaled(2), ink ? ink_chart_colour : wintab_chart_colour));
        const gdi_selection selected(dc, pen.get());
        Polyline(dc, line.data(), static_cast<int>(line.size()));
    }
}

void capture_window::paint_readout(HDC dc, const RECT& area) const
{
    char lines[5][256] = {};
    const std::vector<captured_packet>& packets = live_.packets();
    const std::vector<pointer_sample>& pointer = live_.pointer();
    const u32 now = GetTickCount();
    if (packets.empty()) {
        std::snprintf(lines[0], sizeof lines[0], "%s", pointer.empty() ? "No pen packets yet: hover the pen over this window"
                                                                        : "WinTab: no packets yet");
    } else {
        const captured_packet& p = packets.back();
        const POINT screen = rounded(map_to_screen(live_.mapping(), p.x, p.y));
        std::snprintf(lines[0], sizeof lines[0], "WinTab: tablet %d, %d  screen %ld, %ld  cursor %u  %s", p.x, p.y, screen.x,
                      screen.y, p.cursor, live_.in_proximity() ? "in proximity" : "out of proximity");
        std::snprintf(lines[4], sizeof lines[4], "Pressure %u (%.0f %% of the range)  tilt %.1f / %.1f  buttons 0x%x",
                      p.pressure, 100 * live_.share_of(p), p.azimuth / 10.0, p.altitude / 10.0, p.buttons);
    }
    const live_rates wintab = live_.wintab_rates(now);
    std::snprintf(lines[1], sizeof lines[1], "Packets: %zu; per second hovering %.0f, in contact %.0f; lost %lld, queue errors %lld",
                  packets.size(), wintab.hovering, wintab.in_contact, static_cast<long long>(live_.lost()),
                  static_cast<long long>(live_.queue_errors()));
    if (!pointerInput_.missing().empty()) {
        std::snprintf(lines[2], sizeof lines[2], "Windows Ink: this system offers no pointer input");
    } else {
        const live_rates ink = live_.pointer_rates(now);
        std::snprintf(lines[2], sizeof lines[2], "Windows Ink: %zu points; per second hovering %.0f, in contact %.0f; pressure %u",
                      pointer.size(), ink.hovering, ink.in_contact, pointer.empty() ? 0u : pointer.back().pressure);
    }
    std::snprintf(lines[3], sizeof lines[3], "Time left: %d s of %d", secondsLeft_, seconds_);
    std::string text;
    for (const int line : {0, 4, 1, 2, 3})
        text += lines[line][0] ? std::string(lines[line]) + "\n" : std::string();
    const gdi_selection selected(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT box = area;
    DrawTextW(dc, tevrin::ToUtf16(text).c_str(), -1, &box, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

}  // namespace nibscope_report
