#pragma once
// What a capture reports beside the WinTab statistics: the pointer (Windows Ink) side
// of the same strokes, where WinTab's positions land against the cursor, and which of
// the two APIs delivered pen pressure. Platform-free.
#include "report/capture/capture_statistics.h"
#include "report/tree/report_value.h"
#include "tevrin/core/types.h"

#include <string>
#include <vector>

namespace nibscope_report {

// One pen point of the pointer input, a coalesced one included.
struct pointer_sample {
    tevrin::u32 arrival = 0;  // the tick count when it was read
    tevrin::u32 time = 0;     // the system's time stamp, milliseconds (see pointer_records.h)
    tevrin::u32 id = 0;       // the pointer's id
    tevrin::i32 x = 0;        // screen pixels
    tevrin::i32 y = 0;
    tevrin::u32 pressure = 0;  // 0 to 1024; 0 when the device reports none
    tevrin::i32 tilt_x = 0;    // degrees, -90 to 90
    tevrin::i32 tilt_y = 0;
    bool in_contact = false;
    bool in_range = false;
    bool counter_time = false;  // time from the performance counter rather than the message time
};

// How WinTab's output area lies on the screen: a packet's position in the output area
// maps linearly onto the system area. A positive output height counts upwards.
struct output_mapping {
    tevrin::i32 out_x = 0, out_y = 0, out_width = 0, out_height = 0;
    tevrin::i32 screen_x = 0, screen_y = 0, screen_width = 0, screen_height = 0;
};

struct screen_point {
    double x = 0.0, y = 0.0;
};

screen_point map_to_screen(const output_mapping& mapping, tevrin::i32 x, tevrin::i32 y);

// Distances in pixels between mapped packet positions and the cursor at that moment:
// packets compared, median and largest offset.
report_value summarise_mapping(std::vector<double> offsets);

// Pen points, the clock of their time stamps ("performance counter" when every point's
// time came from it, "message time" otherwise), rates hovering and in contact from
// them, pressure (0 to 1024) and tilt. missing names the pointer functions the system lacks; when it is not
// empty the section says the system offers no pointer input.
report_value summarise_pointer(const std::vector<pointer_sample>& samples, const std::string& missing);

// hovering (contact false) or in_contact as summarise_pointer reports it, for any run of points.
report_value pointer_rate(const std::vector<pointer_sample>& samples, bool contact);

// Whether either API delivered pen pressure: a WinTab packet above the axis minimum,
// a pointer point in contact with pressure above 0.
bool wintab_delivered_pressure(const std::vector<captured_packet>& packets, const capture_setting& setting);
bool pointer_delivered_pressure(const std::vector<pointer_sample>& samples);

// "WinTab and Windows Ink", "WinTab only", "Windows Ink only: WinTab programs get no
// pressure" or "neither"; without pointer functions "WinTab only" or "neither" followed
// by ": this system offers no pointer input".
std::string pen_api_verdict(bool wintab, bool pointerAvailable, bool pointer);

// Adds to a capture's WinTab summary: mapping, pointer, pen_pressure (which API
// delivered it) and the pen_apis verdict.
void add_pen_api_sections(report_value& section, const std::vector<captured_packet>& packets,
                          const capture_setting& setting, const std::vector<pointer_sample>& pointer,
                          const std::string& missingPointerFunctions, std::vector<double> offsets);

}  // namespace nibscope_report
