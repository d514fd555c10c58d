#pragma once
// The window a capture runs in, showing what arrives while it arrives: the pen's trail
// (width and darkness from pressure, the hover path thin and light), a strip chart of
// the last seconds' pressure and a readout of the latest packet and the counts.
#include "report/capture/gdi_resources.h"
#include "report/capture/pen_api_statistics.h"
#include "report/capture/pointer_input.h"
#include "report/capture/report_context.h"
#include "tevrin/tablet/wintab.h"

#include <windows.h>

#include <deque>
#include <memory>
#include <vector>

namespace nibscope_report {

extern const wchar_t* const capture_window_title;

// Per-monitor DPI awareness for the capture's thread while it lives: the window then
// learns of DPI changes, and cursor and pointer positions come in the same physical
// pixels as WinTab's system area. Nothing changes where the system lacks the function.
class per_monitor_awareness {
public:
    per_monitor_awareness();
    ~per_monitor_awareness();
    per_monitor_awareness(const per_monitor_awareness&) = delete;
    per_monitor_awareness& operator=(const per_monitor_awareness&) = delete;

private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

class capture_window {
public:
    explicit capture_window(int seconds);
    ~capture_window();
    capture_window(const capture_window&) = delete;
    capture_window& operator=(const capture_window&) = delete;

    HWND handle() const { return window_->handle(); }
    bool closed() const { return closed_; }
    int proximity_enters() const { return enters_; }
    int proximity_leaves() const { return leaves_; }

    // Where the context's packets lie on the screen, and the pressure axis.
    void set_context(const output_mapping& mapping, const capture_setting& setting);

    // A batch of packets just read, and the cursor when it was read: the newest packet
    // in proximity is held against it.
    void add_packets(std::vector<captured_packet>::const_iterator first, std::vector<captured_packet>::const_iterator last,
                     POINT cursor);

    // Repaints when something changed and the last paint is a sixtieth of a second old.
    void paint_if_due(tevrin::u32 now, int secondsLeft);

    std::vector<captured_packet> take_packets() { return std::move(packets_); }
    std::vector<pointer_sample> take_pointer() { return std::move(pointer_); }
    const std::vector<pointer_sample>& pointer_points() const { return pointer_; }
    std::vector<double> take_offsets() { return std::move(offsets_); }
    const pointer_input& pointer_functions() const { return pointerInput_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle_message(UINT message, WPARAM wParam, LPARAM lParam);

    struct chart_point {
        tevrin::u32 arrival;
        double share;
        bool ink;
    };

    void add_pointer_points(WPARAM wParam);
    void draw_segment(POINT from, POINT to, double share, bool contact, bool ink);
    void paint(HDC target);
    void paint_chart(HDC dc, const RECT& area) const;
    void paint_readout(HDC dc, const RECT& area) const;
    void use_dpi(UINT dpi);
    void reset_trail();
    RECT chart_area() const;
    int scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }
    double wintab_share(const captured_packet& packet) const;
    int rate_of(bool contact, bool ink) const;  // points in the last second

    per_monitor_awareness awareness_;
    std::unique_ptr<report_window> window_;
    tevrin::unique_font font_;
    std::unique_ptr<memory_bitmap> trail_;
    SIZE trailSize_ = {0, 0};
    UINT dpi_ = 96;
    bool closed_ = false, dirty_ = true;
    int enters_ = 0, leaves_ = 0;
    tevrin::i64 lost_ = 0, queueErrors_ = 0;
    int seconds_ = 0, secondsLeft_ = 0;
    tevrin::u32 lastPaint_ = 0;
    output_mapping mapping_;
    capture_setting setting_;
    pointer_input pointerInput_;
    std::vector<captured_packet> packets_;
    std::vector<pointer_sample> pointer_;
    std::vector<double> offsets_;
    std::deque<chart_point> chart_;
    POINT lastWintab_ = {0, 0}, lastInk_ = {0, 0};
    bool haveWintab_ = false, haveInk_ = false;
    bool inProximity_ = false;  // from the newest packet or proximity message
};

}  // namespace nibscope_report
