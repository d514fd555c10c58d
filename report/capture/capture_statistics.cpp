#include "report/capture/capture_statistics.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace nibscope_report {
namespace {

using tevrin::i32;
using tevrin::i64;
using tevrin::u32;

// The packet status bits TPS_PROXIMITY and TPS_QUEUE_ERR of the published interface;
// tevrin/tablet/wintab.h declares them too, but it needs the platform and this file must not.
constexpr u32 out_of_proximity = 0x01;
constexpr u32 queue_error = 0x02;

// Nearest rank: the smallest value with at least share of the values at or below it.
i64 percentile(std::vector<i64> values, double share)
{
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[rank > 0 ? rank - 1 : 0];
}

report_value rate_of(const std::vector<captured_packet>& packets, const capture_setting& setting, bool contact)
{
    std::vector<i64> intervals;
    i64 packetCount = 0;
    for (size_t index = 0; index < packets.size(); ++index) {
        const captured_packet& packet = packets[index];
        if (in_contact(packet, setting) != contact)
            continue;
        ++packetCount;
        if (index == 0 || !setting.items.time)
            continue;
        const captured_packet& before = packets[index - 1];
        const bool bothNear = in_proximity(packet) && in_proximity(before);
        if (in_contact(before, setting) == contact && bothNear)
            intervals.push_back(static_cast<i32>(packet.time - before.time));
    }
    return rate_summary(packetCount, intervals);
}

report_value ages_of(const std::vector<captured_packet>& packets)
{
    std::vector<i64> ages;
    for (const auto& packet : packets)
        ages.push_back(static_cast<i32>(packet.arrival - packet.time));
    return report_value::object()
        .set("median", percentile(ages, 0.5))
        .set("maximum", *std::max_element(ages.begin(), ages.end()));
}

report_value pressure_of(const std::vector<captured_packet>& packets, const capture_setting& setting)
{
    std::set<u32> values;
    for (const auto& packet : packets)
        values.insert(packet.pressure);
    const double range = static_cast<double>(setting.pressure_maximum) - setting.pressure_minimum;
    const double reached = static_cast<double>(*values.rbegin()) - *values.begin();
    return report_value::object()
        .set("minimum", static_cast<i64>(*values.begin()))
        .set("maximum", static_cast<i64>(*values.rbegin()))
        .set("distinct_values", static_cast<i64>(values.size()))
        .set("share_of_range_percent", range > 0 ? report_value(100.0 * reached / range) : report_value());
}

report_value tilt_of(const std::vector<captured_packet>& packets)
{
    const auto altitudes = std::minmax_element(packets.begin(), packets.end(),
        [](const captured_packet& a, const captured_packet& b) { return a.altitude < b.altitude; });
    const auto azimuths = std::minmax_element(packets.begin(), packets.end(),
        [](const captured_packet& a, const captured_packet& b) { return a.azimuth < b.azimuth; });
    return report_value::object()
        .set("altitude_minimum", altitudes.first->altitude)
        .set("altitude_maximum", altitudes.second->altitude)
        .set("azimuth_minimum", azimuths.first->azimuth)
        .set("azimuth_maximum", azimuths.second->azimuth);
}

i64 lost_packets(const std::vector<captured_packet>& packets)
{
    i64 lost = 0;
    for (size_t index = 1; index < packets.size(); ++index)
        lost += lost_between(packets[index - 1], packets[index]);
    return lost;
}

template <typename Field>
report_value distinct(const std::vector<captured_packet>& packets, Field field)
{
    std::set<i64> seen;
    for (const auto& packet : packets)
        field(packet, seen);
    report_value list = report_value::list();
    for (const i64 value : seen)
        list.add(value);
    return list;
}

// Pressure while no button is down, the tip included: a pen that reads pressure in
// the air paints a line before it touches. Drivers number the tip differently (Wine
// makes it button 1), so any button down counts as touching.
i64 pressure_while_tip_up(const std::vector<captured_packet>& packets, const capture_setting& setting)
{
    i64 count = 0;
    for (const auto& packet : packets)
        count += packet.buttons == 0 && static_cast<i64>(packet.pressure) > setting.pressure_minimum ? 1 : 0;
    return count;
}

}  // namespace

bool in_contact(const captured_packet& packet, const capture_setting& setting)
{
    if (setting.items.pressure)
        return static_cast<i64>(packet.pressure) > setting.pressure_minimum;
    return setting.items.buttons && (packet.buttons & 1u);
}

bool in_proximity(const captured_packet& packet)
{
    return !(packet.status & out_of_proximity);
}

bool after_queue_error(const captured_packet& packet)
{
    return (packet.status & queue_error) != 0;
}

i64 lost_between(const captured_packet& before, const captured_packet& after)
{
    const u32 step = after.serial - before.serial;
    return step > 1 && step < 0x80000000u ? step - 1 : 0;
}

report_value contact_rate(const std::vector<captured_packet>& packets, const capture_setting& setting, bool contact)
{
    return rate_of(packets, setting, contact);
}

report_value rate_summary(i64 packetCount, const std::vector<i64>& intervals)
{
    report_value rate = report_value::object().set("packets", packetCount);
    std::vector<i64> steps;
    for (const i64 interval : intervals)
        if (interval != 0)
            steps.push_back(interval);
    if (steps.empty())
        return rate.set("packets_per_second", report_value()).set("median_interval_ms", report_value())
            .set("p99_interval_ms", report_value());
    i64 span = 0;
    for (const i64 step : steps)
        span += step;
    const report_value perSecond = span > 0 ? report_value(1000.0 * static_cast<double>(steps.size()) / span)
                                            : report_value();
    return rate.set("packets_per_second", perSecond)
        .set("median_interval_ms", percentile(steps, 0.5))
        .set("p99_interval_ms", percentile(steps, 0.99));
}

i64 packets_sharing_a_time_stamp(const std::vector<captured_packet>& packets)
{
    i64 count = 0;
    for (size_t index = 1; index < packets.size(); ++index)
        count += packets[index].time == packets[index - 1].time ? 1 : 0;
    return count;
}

report_value summarise_capture(const std::vector<captured_packet>& packets, const capture_setting& setting)
{
    const captured_items& items = setting.items;
    const bool any = !packets.empty();
    i64 queueErrors = 0;
    for (const auto& packet : packets)
        queueErrors += after_queue_error(packet) ? 1 : 0;
    report_value tilt;
    if (!setting.device_has_orientation)
        tilt = "the device reports no orientation";
    else if (items.orientation && any)
        tilt = tilt_of(packets);
    const bool contactKnown = items.pressure || items.buttons;
    return report_value::object()
        .set("seconds", setting.seconds)
        .set("packets", static_cast<i64>(packets.size()))
        .set("proximity_enters", setting.proximity_enters)
        .set("proximity_leaves", setting.proximity_leaves)
        .set("cursors_seen", items.cursor ? distinct(packets, [](const captured_packet& p, std::set<i64>& s) {
            s.insert(p.cursor);
        }) : report_value())
        .set("buttons_seen", items.buttons ? distinct(packets, [](const captured_packet& p, std::set<i64>& s) {
            for (int bit = 0; bit < 32; ++bit)
                if (p.buttons & (1u << bit))
                    s.insert(bit);
        }) : report_value())
        .set("hovering", rate_of(packets, setting, false))
        .set("in_contact", contactKnown ? rate_of(packets, setting, true) : report_value())
        .set("packet_age_ms", items.time && any ? ages_of(packets) : report_value())
        .set("pressure", items.pressure && any ? pressure_of(packets, setting) : report_value())
        .set("pressure_while_tip_up", items.pressure && items.buttons ? report_value(pressure_while_tip_up(packets, setting))
                                                                      : report_value())
        .set("tilt", tilt)
        .set("packets_sharing_a_time_stamp", items.time ? report_value(packets_sharing_a_time_stamp(packets)) : report_value())
        .set("queue_errors", items.status ? report_value(queueErrors) : report_value())
        .set("lost_packets", items.serial ? report_value(lost_packets(packets)) : report_value());
}

}  // namespace nibscope_report
