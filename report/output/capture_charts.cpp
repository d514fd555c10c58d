#include "report/output/capture_charts.h"

namespace nibscope_report {

std::vector<pen_sample> samples_of(const std::vector<captured_packet>& packets, const capture_setting& setting)
{
    std::vector<pen_sample> samples;
    for (const auto& packet : packets) {
        pen_sample sample;
        // Time stamps wrap around after 49 days; differences do not.
        sample.time_ms = static_cast<tevrin::i32>(packet.time - packets.front().time);
        sample.pressure = packet.pressure;
        sample.contact = in_contact(packet, setting);
        sample.nearby = in_proximity(packet);
        sample.x = packet.x;
        sample.y = setting.area_y_up ? setting.area_height - packet.y : packet.y;
        sample.azimuth = packet.azimuth / 10.0;
        sample.altitude = packet.altitude / 10.0;
        samples.push_back(sample);
    }
    return samples;
}

std::string wintab_charts(const std::vector<captured_packet>& packets, const capture_setting& setting)
{
    if (packets.empty())
        return std::string();
    const captured_items& items = setting.items;
    const std::vector<pen_sample> samples = samples_of(packets, setting);
    const pressure_axis axis{static_cast<double>(setting.pressure_minimum),
                             static_cast<double>(setting.pressure_maximum)};
    std::string charts;
    if (items.time && items.pressure)
        charts += pressure_over_time_chart("wintab-pressure", "WinTab", samples, axis);
    if (items.time)
        charts += interval_histogram_chart("wintab-intervals", "WinTab", samples, setting.claimed_rate);
    if (items.pressure)
        charts += pressure_distribution_chart("wintab-pressure-values", samples, axis);
    if (items.position && setting.area_width > 0 && setting.area_height > 0)
        charts += trail_chart("wintab-trail", samples, setting.area_width, setting.area_height, axis);
    if (items.time && items.orientation && setting.device_has_orientation)
        charts += tilt_chart("wintab-tilt", samples);
    return charts;
}

std::vector<pen_sample> samples_of(const std::vector<pointer_sample>& points)
{
    std::vector<pen_sample> samples;
    for (const auto& point : points) {
        pen_sample sample;
        sample.time_ms = static_cast<tevrin::i32>(point.time - points.front().time);
        sample.pressure = point.pressure;
        sample.contact = point.in_contact;
        sample.nearby = point.in_range || point.in_contact;
        sample.x = point.x;
        sample.y = point.y;
        sample.stream = point.id;
        samples.push_back(sample);
    }
    return samples;
}

std::string pointer_charts(const std::vector<pointer_sample>& points)
{
    if (points.empty())
        return std::string();
    const std::vector<pen_sample> samples = samples_of(points);
    // Pointer input claims no report rate, so the histogram marks none.
    return pressure_over_time_chart("ink-pressure", "Windows Ink", samples, {0, 1024}) +
           interval_histogram_chart("ink-intervals", "Windows Ink", samples, 0);
}

}  // namespace nibscope_report
