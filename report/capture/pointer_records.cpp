#include "report/capture/pointer_records.h"

#include <algorithm>

namespace nibscope_report {
namespace {

using tevrin::u32;
using tevrin::u64;

constexpr u32 pointer_flag_in_range = 0x2, pointer_flag_in_contact = 0x4;
constexpr u32 pen_mask_pressure = 0x1, pen_mask_tilt_x = 0x4, pen_mask_tilt_y = 0x8;
constexpr u32 pressure_top = 1024;

// Whole milliseconds of a count, without the overflow of count * 1000.
u32 milliseconds(u64 count, u64 frequency)
{
    return static_cast<u32>(count / frequency * 1000 + count % frequency * 1000 / frequency);
}

pointer_sample sample_of(const pointer_pen_info_record& pen, u32 arrival, u64 counterFrequency)
{
    const pointer_info_record& info = pen.pointerInfo;
    pointer_sample sample;
    sample.arrival = arrival;
    sample.counter_time = counterFrequency != 0 && info.PerformanceCount != 0;
    sample.time = sample.counter_time ? milliseconds(info.PerformanceCount, counterFrequency) : info.dwTime;
    sample.id = info.pointerId;
    sample.x = info.ptPixelLocation.x;
    sample.y = info.ptPixelLocation.y;
    sample.pressure = (pen.penMask & pen_mask_pressure) ? std::min(pen.pressure, pressure_top) : 0;
    sample.tilt_x = (pen.penMask & pen_mask_tilt_x) ? pen.tiltX : 0;
    sample.tilt_y = (pen.penMask & pen_mask_tilt_y) ? pen.tiltY : 0;
    sample.in_contact = (info.pointerFlags & pointer_flag_in_contact) != 0;
    sample.in_range = (info.pointerFlags & pointer_flag_in_range) != 0;
    return sample;
}

}  // namespace

std::vector<pointer_sample> pen_samples(const std::vector<pointer_pen_info_record>& records, u32 arrival,
                                        u64 counterFrequency)
{
    std::vector<pointer_sample> samples;
    for (auto record = records.rbegin(); record != records.rend(); ++record)
        samples.push_back(sample_of(*record, arrival, counterFrequency));
    return samples;
}

}  // namespace nibscope_report
