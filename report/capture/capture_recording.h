#pragma once
// --record: every WinTab packet and pointer point of a capture, with its arrival
// time, as CSV; and the same file read back, so a user's recording replays in a test.
// Platform-free.
#include "report/capture/pen_api_statistics.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace nibscope_report {

struct capture_recording {
    std::vector<captured_packet> packets;
    std::vector<pointer_sample> pointer;
};

// The header row: the columns every row carries.
extern const char* const recording_header;

// Rows in arrival order, WinTab packets before pointer points of the same arrival time.
void write_recording(std::ostream& out, const capture_recording& recording);

// Rows of an unknown source are skipped; a row that is no recording row throws
// std::runtime_error naming its line.
capture_recording read_recording(std::istream& in);

}  // namespace nibscope_report
