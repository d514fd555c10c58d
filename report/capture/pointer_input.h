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

// The pointer functions a capture reads pen points with; null where missing.
struct pointer_functions {
    BOOL(WINAPI* get_type)(UINT32, DWORD*) = nullptr;                // GetPointerType
    BOOL(WINAPI* get_pen_info)(UINT32, void*) = nullptr;             // GetPointerPenInfo
    BOOL(WINAPI* get_pen_history)(UINT32, UINT32*, void*) = nullptr;  // GetPointerPenInfoHistory
};

// user32's, looked up at run time (user32_pointer_functions.cpp). The program links
// that source and no other; a test build of it links one of its own in its place.
pointer_functions find_pointer_functions();

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
    pointer_functions functions_;
    tevrin::u64 counterFrequency_ = 0;
    std::string missing_;
};

// pointer_devices: every device GetPointerDevices lists with its type, product string,
// monitor and maximum contacts, and the pressure and tilt ranges of its properties;
// unavailable when the functions are missing.
report_value pointer_devices_section();

}  // namespace nibscope_report
