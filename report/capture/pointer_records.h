#pragma once
// The records of the pointer (Windows Ink) functions as Windows lays them out, and the
// pen points a capture makes of them. The headers declare the records only for builds
// that require Windows 8, which this program does not, so they are declared here in
// fixed-size types (handles as pointers, which keep the layout of x64 and x86) and
// checked against the published sizes at compile time. Platform-free.
#include "report/capture/pen_api_statistics.h"
#include "tevrin/core/types.h"

#include <vector>

namespace nibscope_report {

struct pointer_position {
    tevrin::i32 x, y;
};

struct pointer_info_record {  // POINTER_INFO
    tevrin::u32 pointerType;
    tevrin::u32 pointerId;
    tevrin::u32 frameId;
    tevrin::u32 pointerFlags;
    void* sourceDevice;
    void* hwndTarget;
    pointer_position ptPixelLocation;
    pointer_position ptHimetricLocation;
    pointer_position ptPixelLocationRaw;
    pointer_position ptHimetricLocationRaw;
    tevrin::u32 dwTime;
    tevrin::u32 historyCount;
    tevrin::i32 InputData;
    tevrin::u32 dwKeyStates;
    tevrin::u64 PerformanceCount;
    tevrin::i32 ButtonChangeType;
};

struct pointer_pen_info_record {  // POINTER_PEN_INFO
    pointer_info_record pointerInfo;
    tevrin::u32 penFlags;
    tevrin::u32 penMask;
    tevrin::u32 pressure;
    tevrin::u32 rotation;
    tevrin::i32 tiltX;
    tevrin::i32 tiltY;
};

constexpr bool pointer_records_of_x64 = sizeof(void*) == 8;
static_assert(sizeof(pointer_info_record) == (pointer_records_of_x64 ? 96 : 88), "POINTER_INFO's size");
static_assert(sizeof(pointer_pen_info_record) == (pointer_records_of_x64 ? 120 : 112), "POINTER_PEN_INFO's size");

// The pen points of one pointer message's records, oldest first, as the capture keeps
// them. records run newest first, as GetPointerPenInfoHistory gives them (the latest
// record alone when there is no history). Each point's time is its PerformanceCount in
// milliseconds when counterFrequency (QueryPerformanceFrequency) and the count are not
// 0, its dwTime otherwise; either wraps as a 32-bit millisecond count. Pressure is
// limited to 0..1024 and, like the tilts, 0 where the pen mask says the pen has none.
std::vector<pointer_sample> pen_samples(const std::vector<pointer_pen_info_record>& records, tevrin::u32 arrival,
                                        tevrin::u64 counterFrequency);

}  // namespace nibscope_report
