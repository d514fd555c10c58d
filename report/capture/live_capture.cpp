#include "report/capture/live_capture.h"

#include <algorithm>
#include <cmath>

namespace nibscope_report {
namespace {

using tevrin::u32;

constexpr u32 rate_span_ms = 1000;

// The points read within the last second, oldest first.
template <typename Point>
std::vector<Point> last_second(const std::vector<Point>& points, u32 now)
{
    auto first = points.end();
    while (first != points.begin() && now - std::prev(first)->arrival <= rate_span_ms)
        --first;
    return std::vector<Point>(first, points.end());
}

double per_second(const report_value& rate)
{
    const report_value& value = rate.get("packets_per_second");
    return value.type() == report_value::kind::real      ? value.real()
           : value.type() == report_value::kind::integer ? static_cast<double>(value.integer())
                                                         : 0.0;
}

}  // namespace

void live_capture::set_context(const output_mapping& mapping, const capture_setting& setting)
{
    mapping_ = mapping;
    setting_ = setting;
}

double live_capture::share_of(const captured_packet& packet) const
{
    const double range = static_cast<double>(setting_.pressure_maximum) - setting_.pressure_minimum;
    return range > 0 ? std::clamp((packet.pressure - static_cast<double>(setting_.pressure_minimum)) / range, 0.0, 1.0)
                     : 0.0;
}

// A segment joins a point to the one before it when both are in range: a pen that
// left and came back starts a new line.
void live_capture::extend_trail(std::optional<screen_point>& last, bool near, screen_point to, double share,
                                bool contact, bool ink)
{
    if (near && last)
        trail_.push_back({*last, to, share, contact, ink});
    last = near ? std::optional<screen_point>(to) : std::nullopt;
}

void live_capture::add_packets(const std::vector<captured_packet>& batch, screen_point cursor)
{
    // An index, not a pointer: the pushes below may move the packets.
    std::optional<size_t> newestNear;
    for (const captured_packet& packet : batch) {
        if (!packets_.empty())
            lost_ += lost_between(packets_.back(), packet);
        queueErrors_ += after_queue_error(packet) ? 1 : 0;
        inProximity_ = nibscope_report::in_proximity(packet);
        if (inProximity_)
            newestNear = packets_.size();
        packets_.push_back(packet);
        const double share = share_of(packet);
        extend_trail(lastWintab_, inProximity_, map_to_screen(mapping_, packet.x, packet.y), share,
                     in_contact(packet, setting_), false);
        chart_.push_back({packet.arrival, share, false});
    }
    if (newestNear && setting_.items.position) {
        const captured_packet& near = packets_[*newestNear];
        const screen_point mapped = map_to_screen(mapping_, near.x, near.y);
        offsets_.push_back(std::hypot(mapped.x - cursor.x, mapped.y - cursor.y));
    }
}

void live_capture::add_pointer(const std::vector<pointer_sample>& points)
{
    for (const pointer_sample& sample : points) {
        pointer_.push_back(sample);
        auto pen = std::find_if(lastInk_.begin(), lastInk_.end(),
                                [&](const auto& end) { return end.first == sample.id; });
        if (pen == lastInk_.end())
            pen = lastInk_.insert(lastInk_.end(), {sample.id, std::nullopt});
        const double share = sample.in_contact ? sample.pressure / 1024.0 : 0.0;
        const screen_point at = {static_cast<double>(sample.x), static_cast<double>(sample.y)};
        extend_trail(pen->second, sample.in_range, at, share, sample.in_contact, true);
        chart_.push_back({sample.arrival, share, true});
    }
}

void live_capture::add_proximity(bool entering)
{
    (entering ? enters_ : leaves_) += 1;
    inProximity_ = entering;
}

bool live_capture::forget_chart_before(u32 now)
{
    const size_t before = chart_.size();
    while (!chart_.empty() && now - chart_.front().arrival > chart_span_ms)
        chart_.pop_front();
    return chart_.size() != before;
}

live_rates live_capture::wintab_rates(u32 now) const
{
    const std::vector<captured_packet> recent = last_second(packets_, now);
    return {per_second(contact_rate(recent, setting_, false)), per_second(contact_rate(recent, setting_, true))};
}

live_rates live_capture::pointer_rates(u32 now) const
{
    const std::vector<pointer_sample> recent = last_second(pointer_, now);
    return {per_second(pointer_rate(recent, false)), per_second(pointer_rate(recent, true))};
}

}  // namespace nibscope_report
