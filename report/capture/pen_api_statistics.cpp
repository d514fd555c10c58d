#include "report/capture/pen_api_statistics.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace nibscope_report {
namespace {

using tevrin::i64;

report_value rate_of(const std::vector<pointer_sample>& samples, bool contact)
{
    std::vector<i64> intervals;
    i64 count = 0;
    for (size_t index = 0; index < samples.size(); ++index) {
        if (samples[index].in_contact != contact)
            continue;
        ++count;
        const pointer_sample* before = index > 0 ? &samples[index - 1] : nullptr;
        if (before && before->in_contact == contact && before->id == samples[index].id)
            intervals.push_back(static_cast<tevrin::i32>(samples[index].time - before->time));
    }
    return rate_summary(count, intervals);
}

report_value clock_of(const std::vector<pointer_sample>& samples)
{
    if (samples.empty())
        return report_value();
    const bool counter = std::all_of(samples.begin(), samples.end(), [](const pointer_sample& s) { return s.counter_time; });
    return counter ? "performance counter" : "message time";
}

}  // namespace

screen_point map_to_screen(const output_mapping& m, tevrin::i32 x, tevrin::i32 y)
{
    const double across = m.out_width ? static_cast<double>(x - m.out_x) / m.out_width : 0.0;
    double down = m.out_height ? static_cast<double>(y - m.out_y) / std::abs(m.out_height) : 0.0;
    if (m.out_height > 0)
        down = 1.0 - down;
    return {m.screen_x + across * m.screen_width, m.screen_y + down * m.screen_height};
}

report_value summarise_mapping(std::vector<double> offsets)
{
    report_value mapping = report_value::object().set("packets_compared", static_cast<i64>(offsets.size()));
    if (offsets.empty())
        return mapping.set("median_offset_px", report_value()).set("largest_offset_px", report_value());
    std::sort(offsets.begin(), offsets.end());
    return mapping.set("median_offset_px", offsets[(offsets.size() - 1) / 2]).set("largest_offset_px", offsets.back());
}

report_value summarise_pointer(const std::vector<pointer_sample>& samples, const std::string& missing)
{
    if (!missing.empty())
        return report_value::object().set("unavailable", "this system offers no pointer input: user32 lacks " + missing);
    report_value pressure, tilt;
    if (!samples.empty()) {
        std::set<tevrin::u32> values;
        for (const auto& sample : samples)
            values.insert(sample.pressure);
        pressure = report_value::object()
                       .set("minimum", *values.begin())
                       .set("maximum", *values.rbegin())
                       .set("distinct_values", static_cast<i64>(values.size()));
        const auto x = std::minmax_element(samples.begin(), samples.end(),
            [](const pointer_sample& a, const pointer_sample& b) { return a.tilt_x < b.tilt_x; });
        const auto y = std::minmax_element(samples.begin(), samples.end(),
            [](const pointer_sample& a, const pointer_sample& b) { return a.tilt_y < b.tilt_y; });
        tilt = report_value::object()
                   .set("x_minimum", x.first->tilt_x).set("x_maximum", x.second->tilt_x)
                   .set("y_minimum", y.first->tilt_y).set("y_maximum", y.second->tilt_y);
    }
    return report_value::object()
        .set("packets", static_cast<i64>(samples.size()))
        .set("clock", clock_of(samples))
        .set("hovering", rate_of(samples, false))
        .set("in_contact", rate_of(samples, true))
        .set("pressure", pressure)
        .set("tilt", tilt);
}

report_value pointer_rate(const std::vector<pointer_sample>& samples, bool contact)
{
    return rate_of(samples, contact);
}

bool wintab_delivered_pressure(const std::vector<captured_packet>& packets, const capture_setting& setting)
{
    return setting.items.pressure && std::any_of(packets.begin(), packets.end(), [&](const captured_packet& p) {
        return static_cast<i64>(p.pressure) > setting.pressure_minimum;
    });
}

bool pointer_delivered_pressure(const std::vector<pointer_sample>& samples)
{
    return std::any_of(samples.begin(), samples.end(),
                       [](const pointer_sample& s) { return s.in_contact && s.pressure > 0; });
}

std::string pen_api_verdict(bool wintab, bool pointerAvailable, bool pointer)
{
    if (!pointerAvailable)
        return std::string(wintab ? "WinTab only" : "neither") + ": this system offers no pointer input";
    if (wintab)
        return pointer ? "WinTab and Windows Ink" : "WinTab only";
    return pointer ? "Windows Ink only: WinTab programs get no pressure" : "neither";
}

void add_pen_api_sections(report_value& section, const std::vector<captured_packet>& packets,
                          const capture_setting& setting, const std::vector<pointer_sample>& pointer,
                          const std::string& missingPointerFunctions, std::vector<double> offsets)
{
    const bool pointerAvailable = missingPointerFunctions.empty();
    const bool wintab = wintab_delivered_pressure(packets, setting), ink = pointer_delivered_pressure(pointer);
    section.set("mapping", summarise_mapping(std::move(offsets)))
        .set("pointer", summarise_pointer(pointer, missingPointerFunctions))
        .set("pen_pressure", report_value::object().set("wintab", wintab)
                                 .set("windows_ink", pointerAvailable ? report_value(ink) : report_value()))
        .set("pen_apis", pen_api_verdict(wintab, pointerAvailable, ink));
}

}  // namespace nibscope_report
