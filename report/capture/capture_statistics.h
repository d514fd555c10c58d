#pragma once
// What a capture reports, from the packets in the order they arrived. Platform-free.
#include "report/tree/report_value.h"
#include "tevrin/core/types.h"

#include <vector>

namespace nibscope_report {

struct captured_packet {
    tevrin::u32 status = 0;
    tevrin::u32 time = 0;  // the driver's time stamp, milliseconds
    tevrin::u32 serial = 0;
    tevrin::u32 cursor = 0;
    tevrin::u32 buttons = 0;
    tevrin::u32 pressure = 0;
    tevrin::i32 azimuth = 0;   // tenths of a degree
    tevrin::i32 altitude = 0;
    tevrin::u32 arrival = 0;   // the tick count when the packet was read
    tevrin::i32 x = 0;  // tablet coordinates, in the context's input area
    tevrin::i32 y = 0;
};

// The packet items the driver granted; whatever depends on a refused one is not reported.
struct captured_items {
    bool status = false, time = false, serial = false, cursor = false, buttons = false, pressure = false,
         orientation = false, position = false;
};

struct capture_setting {
    int seconds = 0;
    captured_items items;
    tevrin::i32 pressure_minimum = 0;  // the device's pressure axis
    tevrin::i32 pressure_maximum = 0;
    bool device_has_orientation = false;
    int proximity_enters = 0;
    int proximity_leaves = 0;
    double claimed_rate = 0;  // packets per second, as the device says
    // The context's output area that x and y lie in; y grows downwards unless area_y_up.
    tevrin::i32 area_width = 0;
    tevrin::i32 area_height = 0;
    bool area_y_up = false;
};

// A packet is in contact when its pressure is above the axis minimum (or, without
// pressure, when button 0 is down).
bool in_contact(const captured_packet& packet, const capture_setting& setting);
bool in_proximity(const captured_packet& packet);
// Flagged as following a queue overflow.
bool after_queue_error(const captured_packet& packet);
// The packets lost between two neighbours: the gap in their serial numbers. A step of
// 2^31 or more is a step back (a repeated or reordered packet), not a loss.
tevrin::i64 lost_between(const captured_packet& before, const captured_packet& after);

// Intervals are time-stamp differences between neighbours of the same kind, both in
// proximity. Lost packets are the gaps in the serial numbers.
report_value summarise_capture(const std::vector<captured_packet>& packets, const capture_setting& setting);

// packets, packets_per_second, median_interval_ms and p99_interval_ms of a run of
// packets of one kind and the time-stamp intervals between its neighbours. Drivers
// send extra packets for a button or proximity change with their neighbour's time
// stamp: an interval of 0 is no step in time, so the rate is the steps over the span
// of time they cover, and the median and 99th percentile (nearest rank) are the steps'.
report_value rate_summary(tevrin::i64 packetCount, const std::vector<tevrin::i64>& intervals);

// hovering (contact false) or in_contact as summarise_capture reports it, for any run of packets.
report_value contact_rate(const std::vector<captured_packet>& packets, const capture_setting& setting, bool contact);
// Packets whose time stamp is their predecessor's, whatever their kind.
tevrin::i64 packets_sharing_a_time_stamp(const std::vector<captured_packet>& packets);

}  // namespace nibscope_report
