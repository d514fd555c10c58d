#pragma once
// What the capture window shows, worked out apart from drawing it: every WinTab packet
// and pointer point in arrival order, the trail they leave on the screen, the strip
// chart's last seconds, the readout's counts and rates, and where WinTab's positions
// land against the cursor. Platform-free; the counts and rates follow the statistics'
// own rules, so the live window and the report agree.
#include "report/capture/pen_api_statistics.h"

#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace nibscope_report {

// A stretch of the trail between neighbouring points of one pen, in screen pixels:
// kept in screen coordinates, so that moving, resizing, minimising and restoring the
// window draw it again where the pen went.
struct trail_segment {
    screen_point from, to;
    double share = 0.0;  // pressure at the end point, 0 to 1 of the range
    bool contact = false;
    bool ink = false;    // a pointer (Windows Ink) pen rather than WinTab
};

// A point of the strip chart: when it was read and its pressure share.
struct chart_point {
    tevrin::u32 arrival = 0;
    double share = 0.0;
    bool ink = false;
};

// Points per second of one API over the last second, as the report computes its rates;
// 0 when too few points arrived to say.
struct live_rates {
    double hovering = 0.0, in_contact = 0.0;
};

class live_capture {
public:
    static constexpr tevrin::u32 chart_span_ms = 5000;

    // Where the context's packets lie on the screen, and the pressure axis.
    void set_context(const output_mapping& mapping, const capture_setting& setting);

    // A batch of packets just read, and the cursor at that moment (screen pixels): the
    // newest packet in proximity is held against it.
    void add_packets(const std::vector<captured_packet>& batch, screen_point cursor);
    void add_pointer(const std::vector<pointer_sample>& points);
    void add_proximity(bool entering);

    // Forgets chart points older than the chart's span; true when any went.
    bool forget_chart_before(tevrin::u32 now);

    const std::vector<trail_segment>& trail() const { return trail_; }
    const std::deque<chart_point>& chart() const { return chart_; }
    const std::vector<captured_packet>& packets() const { return packets_; }
    const std::vector<pointer_sample>& pointer() const { return pointer_; }
    tevrin::i64 lost() const { return lost_; }
    tevrin::i64 queue_errors() const { return queueErrors_; }
    bool in_proximity() const { return inProximity_; }
    int proximity_enters() const { return enters_; }
    int proximity_leaves() const { return leaves_; }
    const output_mapping& mapping() const { return mapping_; }

    // A packet's pressure as a share of the axis, 0 to 1.
    double share_of(const captured_packet& packet) const;
    live_rates wintab_rates(tevrin::u32 now) const;
    live_rates pointer_rates(tevrin::u32 now) const;

    std::vector<captured_packet> take_packets() { return std::move(packets_); }
    std::vector<pointer_sample> take_pointer() { return std::move(pointer_); }
    std::vector<double> take_offsets() { return std::move(offsets_); }

private:
    void extend_trail(std::optional<screen_point>& last, bool near, screen_point to, double share, bool contact,
                      bool ink);

    output_mapping mapping_;
    capture_setting setting_;
    std::vector<captured_packet> packets_;
    std::vector<pointer_sample> pointer_;
    std::vector<double> offsets_;
    std::vector<trail_segment> trail_;
    std::deque<chart_point> chart_;
    std::optional<screen_point> lastWintab_;
    std::vector<std::pair<tevrin::u32, std::optional<screen_point>>> lastInk_;  // by pointer id
    tevrin::i64 lost_ = 0, queueErrors_ = 0;
    bool inProximity_ = false;  // from the newest packet or proximity message
    int enters_ = 0, leaves_ = 0;
};

}  // namespace nibscope_report
