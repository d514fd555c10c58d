#pragma once
// The charts of a capture, drawn from its WinTab packets and its pointer points. Platform-free.
#include "report/capture/capture_statistics.h"
#include "report/capture/pen_api_statistics.h"
#include "report/output/svg_charts.h"

#include <string>
#include <vector>

namespace nibscope_report {

// The packets as a neutral sample stream: time from the first packet's time stamp,
// angles in degrees.
std::vector<pen_sample> samples_of(const std::vector<captured_packet>& packets, const capture_setting& setting);

// Figures for what the granted items allow: pressure over time, packet intervals,
// pressure values, the trail and the tilt. Empty without packets.
std::string wintab_charts(const std::vector<captured_packet>& packets, const capture_setting& setting);

// The pointer points as samples: time from the first point's time stamp, pressure on
// the pointer's own 0 to 1024 scale, near while in range or in contact.
std::vector<pen_sample> samples_of(const std::vector<pointer_sample>& points);

// Pressure over time and intervals of Windows Ink's points; empty without points.
std::string pointer_charts(const std::vector<pointer_sample>& points);

}  // namespace nibscope_report
