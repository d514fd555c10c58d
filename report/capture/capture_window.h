#pragma once
// The window a capture runs in, showing what arrives while it arrives: the pen's trail
// (width and darkness from pressure, the hover path thin and light), a strip chart of
// the last seconds' pressure and a readout of the latest packet and the counts, as
// live_capture works them out.
#include "report/capture/gdi_resources.h"
#include "report/capture/live_capture.h"
#include "report/capture/pen_api_statistics.h"
#include "report/capture/pointer_input.h"
#include "report/capture/report_context.h"
#include "tevrin/tablet/wintab.h"

#include <windows.h>

#include <chrono>
#include <functional>
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
    live_capture& live() { return live_; }
    const pointer_input& pointer_functions() const { return pointerInput_; }

    // A batch of packets just read, and the cursor when it was read.
    void add_packets(const std::vector<captured_packet>& batch, POINT cursor);

    // Repaints when something changed and the last paint is a sixtieth of a second old.
    void paint_if_due(int secondsLeft);

    // While it lives, read runs from a timer as well: moving or sizing the window,
    // opening its menu or any other loop the system runs inside a call keeps the
    // program's own loop waiting, but timers still fire there. A failure in read, or
    // in any handling of the window's messages, is kept for the program's loop to throw
    // (tevrin::rethrow_callback_exception) and the window handles nothing more.
    class reading_through_modal_loops {
    public:
        reading_through_modal_loops(capture_window& window, std::function<void()> read);
        ~reading_through_modal_loops();
        reading_through_modal_loops(const reading_through_modal_loops&) = delete;
        reading_through_modal_loops& operator=(const reading_through_modal_loops&) = delete;

    private:
        capture_window& window_;
    };

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle_message(UINT message, WPARAM wParam, LPARAM lParam);

    void draw_segment(const trail_segment& segment);
    void paint(HDC target);
    void prepare_buffers(HDC target);
    void paint_chart(HDC dc, const RECT& area) const;
    void paint_readout(HDC dc, const RECT& area) const;
    void use_dpi(UINT dpi);
    RECT chart_area() const;
    int scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

    per_monitor_awareness awareness_;
    std::unique_ptr<report_window> window_;
    tevrin::unique_font font_;
    // The trail drawn so far, and the frame each paint composes before it goes to the
    // screen: both kept between paints, made again when the client area's size changes.
    std::unique_ptr<memory_bitmap> trail_, frame_;
    SIZE bufferSize_ = {0, 0};
    POINT trailOrigin_ = {0, 0};  // the client area's corner on the screen when the trail was drawn
    size_t drawnSegments_ = 0;
    bool movingOrSizing_ = false;
    UINT dpi_ = 96;
    bool closed_ = false, dirty_ = true;
    int seconds_ = 0, secondsLeft_ = 0;
    std::chrono::steady_clock::time_point lastPaint_;
    std::function<void()> read_;
    live_capture live_;
    pointer_input pointerInput_;
};

}  // namespace nibscope_report
