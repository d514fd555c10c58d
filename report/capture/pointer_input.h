#pragma once
// Pointer (Windows Ink) input: the functions are looked up at run time, since older
// systems and Wine lack them, and a missing one makes the pointer side unavailable
// rather than keeping the program from starting.
#include "report/capture/pen_api_statistics.h"
#include "report/tree/report_value.h"

#include <windows.h>

#include <string>
#include <vector>

namespace nibscope_report {

class pointer_input {
public:
    pointer_input();

    // The functions a capture needs that user32 lacks, comma-separated; empty when all are there.
    const std::string& missing() const { return missing_; }

    // The pen points of a WM_POINTER message, oldest first (the coalesced points from
    // the history when the system keeps one), timed by the performance counter where
    // the records carry its count (pen_samples); empty for other pointer types.
    std::vector<pointer_sample> pen_points(WPARAM wParam, tevrin::u32 arrival) const;

private:
    using get_type = BOOL(WINAPI*)(UINT32, DWORD*);
    using get_pen_info = BOOL(WINAPI*)(UINT32, void*);
    using get_pen_history = BOOL(WINAPI*)(UINT32, UINT32*, void*);

    get_type getType_ = nullptr;
    get_pen_info getPenInfo_ = nullptr;
    get_pen_history getPenHistory_ = nullptr;
    tevrin::u64 counterFrequency_ = 0;
    std::string missing_;
};

// pointer_devices: every device GetPointerDevices lists with its type, product string,
// monitor and maximum contacts, and the pressure and tilt ranges of its properties;
// unavailable when the functions are missing.
report_value pointer_devices_section();

}  // namespace nibscope_report
