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

// Rows written as they come, so a long capture's rows are on their way to the file
// rather than waiting in memory: the header row first, then one row per call.
class recording_writer {
public:
    explicit recording_writer(std::ostream& out);
    void add(const captured_packet& packet);
    void add(const pointer_sample& point);
    // Hands the rows so far to the file: a capture cut short keeps them.
    void flush();

private:
    std::ostream& out_;
};

// Rows in arrival order, WinTab packets before pointer points of the same arrival time.
void write_recording(std::ostream& out, const capture_recording& recording);

// Rows of an unknown source are skipped; a row that is no recording row throws
// std::runtime_error naming its line.
capture_recording read_recording(std::istream& in);

}  // namespace nibscope_report
