#pragma once
// The charts of a WinTab capture, drawn from its packets. Platform-free.
#include "report/capture/capture_statistics.h"
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

}  // namespace nibscope_report
