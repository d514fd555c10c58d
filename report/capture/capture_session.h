#pragma once
// --capture: a window the user hovers and draws in, a context on it, and every packet
// the driver delivers for the given time, summarised.
#include "report/capture/pen_api_statistics.h"
#include "report/tree/report_value.h"
#include "tevrin/tablet/tablet_services.h"

#include <string>
#include <vector>

namespace nibscope_report {

// What a capture gives: its report section, and the WinTab packets, pointer points and
// settings it was summarised from, for the writers that draw them.
struct capture_record {
    report_value section;
    std::vector<captured_packet> packets;
    std::vector<pointer_sample> pointer;
    capture_setting setting;
    int over_answers = 0;  // packet reads the driver answered with more than asked for
};

// Asks for status, time, serial number, cursor, buttons, position and pressure, and
// orientation when the device has it (and for the main program's items alone when the
// driver refuses those); decodes packets in the layout of the items the
// driver granted. The window shows what arrives and takes pointer input for the same
// strokes. A countdown goes to stderr. Closing the window ends it early.
// recordPath (UTF-8), when not empty: --record, every packet and point written as CSV
// (capture_recording.h) as it comes. Throws when that file cannot be written, before
// the capture starts when it cannot be opened.
capture_record capture_packets(const tevrin::tablet_services& table, capture_setting setting,
                               const std::string& recordPath = "");

}  // namespace nibscope_report
