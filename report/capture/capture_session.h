#pragma once
// --capture: a window the user hovers and draws in, a context on it, and every packet
// the driver delivers for the given time, summarised.
#include "report/capture/capture_statistics.h"
#include "report/output/report_value.h"
#include "tevrin/tablet/tablet_services.h"

#include <vector>

namespace nibscope_report {

extern const wchar_t* const capture_window_title;

// What a capture gives: its report section, and the packets and settings it was
// summarised from, for the writers that draw them.
struct capture_record {
    report_value section;
    std::vector<captured_packet> packets;
    capture_setting setting;
    int over_answers = 0;  // packet reads the driver answered with more than asked for
};

// Asks for status, time, serial number, cursor, buttons, position and pressure, and
// orientation when the device has it (and for the main program's items alone when the
// driver refuses those); decodes packets in the layout of the items the
// driver granted. A countdown goes to stderr. Closing the window ends it early.
capture_record capture_packets(const tevrin::tablet_services& table, capture_setting setting);

}  // namespace nibscope_report
