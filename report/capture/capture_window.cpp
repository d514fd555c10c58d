#include "report/capture/capture_window.h"

#include "report/machine/system_function.h"
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

constexpr u32 paint_interval_ms = 1000 / 60;
constexpr u32 chart_span_ms = 5000;
constexpr u32 out_of_proximity = 0x01, queue_error = 0x02;  // TPS_PROXIMITY, TPS_QUEUE_ERR
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

LRESULT CALLBACK capture_window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<capture_window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle_message(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT capture_window::handle_message(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case tevrin::WT_PROXIMITY:
        (LOWORD(lParam) ? enters_ : leaves_) += 1;
        inProximity_ = LOWORD(lParam) != 0;
        dirty_ = true;
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
    case WM_SIZE:
        reset_trail();
        return 0;
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
        add_pointer_points(wParam);
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
    dirty_ = true;
}

// The trail lives in a bitmap of the client area's size; a new size starts a new trail.
void capture_window::reset_trail()
{
    RECT client;
    GetClientRect(handle(), &client);
    trailSize_ = {std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
    const tevrin::unique_window_dc screen = tevrin::acquire_window_dc(handle());
    trail_.reset(new memory_bitmap(screen.get(), trailSize_));
    const RECT all = {0, 0, trailSize_.cx, trailSize_.cy};
    FillRect(trail_->dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    haveWintab_ = haveInk_ = false;
    dirty_ = true;
}

void capture_window::set_context(const output_mapping& mapping, const capture_setting& setting)
{
    mapping_ = mapping;
    setting_ = setting;
}

double capture_window::wintab_share(const captured_packet& packet) const
{
    const double range = static_cast<double>(setting_.pressure_maximum) - setting_.pressure_minimum;
    return range > 0 ? std::clamp((packet.pressure - static_cast<double>(setting_.pressure_minimum)) / range, 0.0, 1.0)
                     : 0.0;
}

void capture_window::add_packets(std::vector<captured_packet>::const_iterator first,
                                 std::vector<captured_packet>::const_iterator last, POINT cursor)
{
    const captured_packet* newestNear = nullptr;
    for (auto packet = first; packet != last; ++packet) {
        if (!packets_.empty()) {
            const u32 step = packet->serial - packets_.back().serial;
            lost_ += step > 1 && step < 0x80000000u ? step - 1 : 0;
        }
        queueErrors_ += (packet->status & queue_error) ? 1 : 0;
        packets_.push_back(*packet);
        const bool inProximity = !(packet->status & out_of_proximity);
        const double share = wintab_share(*packet);
        const bool contact = share > 0 || packet->buttons != 0;  // drivers number the tip differently
        POINT point = rounded(map_to_screen(mapping_, packet->x, packet->y));
        if (inProximity)
            newestNear = &packets_.back();
        ScreenToClient(handle(), &point);
        if (inProximity && haveWintab_)
            draw_segment(lastWintab_, point, share, contact, false);
        lastWintab_ = point;
        haveWintab_ = inProximity_ = inProximity;
        chart_.push_back({packet->arrival, share, false});
    }
    if (newestNear && setting_.items.position) {
        const screen_point mapped = map_to_screen(mapping_, newestNear->x, newestNear->y);
        offsets_.push_back(std::hypot(mapped.x - cursor.x, mapped.y - cursor.y));
    }
    dirty_ = dirty_ || first != last;
}

void capture_window::add_pointer_points(WPARAM wParam)
{
    for (const pointer_sample& sample : pointerInput_.pen_points(wParam, GetTickCount())) {
        pointer_.push_back(sample);
        POINT point = {sample.x, sample.y};
        ScreenToClient(handle(), &point);
        const double share = sample.pressure / 1024.0;
        if (sample.in_range && haveInk_)
            draw_segment(lastInk_, point, share, sample.in_contact, true);
        lastInk_ = point;
        haveInk_ = sample.in_range;
        chart_.push_back({sample.arrival, sample.in_contact ? share : 0.0, true});
        dirty_ = true;
    }
}

// In contact the line widens and darkens with pressure; hovering it stays thin and light.
void capture_window::draw_segment(POINT from, POINT to, double share, bool contact, bool ink)
{
    const int level = static_cast<int>(170 * (1.0 - share));
    const COLORREF colour = !contact ? (ink ? RGB(250, 205, 160) : RGB(200, 200, 200))
                                     : (ink ? RGB(230, level * 3 / 4, 0) : RGB(level, level, level));
    if (!trail_)
        reset_trail();
    const int width = contact ? 1 + static_cast<int>(std::lround(scaled(7) * share)) : 1;
    const unique_pen pen(CreatePen(PS_SOLID, width, colour));
    const gdi_selection selected(trail_->dc.get(), pen.get());
    MoveToEx(trail_->dc.get(), from.x, from.y, nullptr);
    LineTo(trail_->dc.get(), to.x, to.y);
}

void capture_window::paint_if_due(u32 now, int secondsLeft)
{
    if (secondsLeft != secondsLeft_)
        dirty_ = true;
    secondsLeft_ = secondsLeft;
    while (!chart_.empty() && now - chart_.front().arrival > chart_span_ms) {
        chart_.pop_front();
        dirty_ = true;
    }
    if (!dirty_ || now - lastPaint_ < paint_interval_ms)
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

void capture_window::paint(HDC target)
{
    if (!trail_)
        reset_trail();
    const memory_bitmap frame(target, trailSize_);
    BitBlt(frame.dc.get(), 0, 0, trailSize_.cx, trailSize_.cy, trail_->dc.get(), 0, 0, SRCCOPY);
    paint_chart(frame.dc.get(), chart_area());
    paint_readout(frame.dc.get(), {scaled(8), scaled(8), trailSize_.cx - scaled(8), chart_area().top});
    BitBlt(target, 0, 0, trailSize_.cx, trailSize_.cy, frame.dc.get(), 0, 0, SRCCOPY);
}

void capture_window::paint_chart(HDC dc, const RECT& area) const
{
    const unique_brush background(CreateSolidBrush(RGB(242, 242, 242)));
    FillRect(dc, &area, background.get());
    FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    const u32 now = GetTickCount();
    const double width = area.right - area.left - 2, height = area.bottom - area.top - 2;
    for (const bool ink : {false, true}) {
        std::vector<POINT> line;
        for (const chart_point& point : chart_)
            if (point.ink == ink)
                line.push_back({area.right - 1 - static_cast<LONG>(width * (now - point.arrival) / chart_span_ms),
                                area.bottom - 1 - static_cast<LONG>(height * point.share)});
        if (line.size() < 2)
            continue;
        const unique_pen pen(
            CreatePen(PS_SOLID, scaled(2), ink ? ink_chart_colour : wintab_chart_colour));
        const gdi_selection selected(dc, pen.get());
        Polyline(dc, line.data(), static_cast<int>(line.size()));
    }
}

int capture_window::rate_of(bool contact, bool ink) const
{
    const u32 now = GetTickCount();
    int count = 0;
    for (auto point = chart_.rbegin(); point != chart_.rend() && now - point->arrival <= 1000; ++point)
        count += point->ink == ink && (point->share > 0) == contact ? 1 : 0;
    return count;
}

void capture_window::paint_readout(HDC dc, const RECT& area) const
{
    char lines[5][256] = {};
    if (packets_.empty()) {
        std::snprintf(lines[0], sizeof lines[0], "%s", pointer_.empty() ? "No pen packets yet: hover the pen over this window"
                                                                         : "WinTab: no packets yet");
    } else {
        const captured_packet& p = packets_.back();
        const POINT screen = rounded(map_to_screen(mapping_, p.x, p.y));
        std::snprintf(lines[0], sizeof lines[0], "WinTab: tablet %d, %d  screen %ld, %ld  cursor %u  %s", p.x, p.y, screen.x,
                      screen.y, p.cursor, inProximity_ ? "in proximity" : "out of proximity");
        std::snprintf(lines[4], sizeof lines[4], "Pressure %u (%.0f %% of the range)  tilt %.1f / %.1f  buttons 0x%x",
                      p.pressure, 100 * wintab_share(p), p.azimuth / 10.0, p.altitude / 10.0, p.buttons);
    }
    std::snprintf(lines[1], sizeof lines[1], "Packets: %zu; per second hovering %d, in contact %d; lost %lld, queue errors %lld",
                  packets_.size(), rate_of(false, false), rate_of(true, false), static_cast<long long>(lost_),
                  static_cast<long long>(queueErrors_));
    if (!pointerInput_.missing().empty())
        std::snprintf(lines[2], sizeof lines[2], "Windows Ink: this system offers no pointer input");
    else
        std::snprintf(lines[2], sizeof lines[2], "Windows Ink: %zu points; per second hovering %d, in contact %d; pressure %u",
                      pointer_.size(), rate_of(false, true), rate_of(true, true), pointer_.empty() ? 0u : pointer_.back().pressure);
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
