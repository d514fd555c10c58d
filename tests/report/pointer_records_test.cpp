// Pen points from the records of the pointer functions: the history's order, the clock
// of their times, flags, pen mask and pressure; and the trail they leave in the window.
#include "report/capture/live_capture.h"
#include "report/capture/pointer_records.h"

#include <gmock/gmock.h>

#include <sstream>

using namespace nibscope_report;

namespace {

constexpr tevrin::u32 flag_in_range = 0x2, flag_in_contact = 0x4, pressure_and_tilt = 0x1 | 0x4 | 0x8;
constexpr tevrin::u64 ten_megahertz = 10000000;

pointer_pen_info_record record(tevrin::u32 id, tevrin::u32 flags, tevrin::u32 messageTime, tevrin::u64 count,
                               tevrin::u32 pressure = 0, int x = 0)
{
    pointer_pen_info_record pen = {};
    pen.pointerInfo.pointerType = 3;
    pen.pointerInfo.pointerId = id;
    pen.pointerInfo.pointerFlags = flags;
    pen.pointerInfo.ptPixelLocation = {x, 20};
    pen.pointerInfo.dwTime = messageTime;
    pen.pointerInfo.PerformanceCount = count;
    pen.penMask = pressure_and_tilt;
    pen.pressure = pressure, pen.tiltX = -10, pen.tiltY = 30;
    return pen;
}

// "id@time x,y pressure tiltX/tiltY" and r (in range), c (in contact), per point.
std::string points_of(const std::vector<pointer_sample>& samples)
{
    std::ostringstream text;
    for (const pointer_sample& s : samples)
        text << s.id << '@' << s.time << ' ' << s.x << ',' << s.y << ' ' << s.pressure << ' ' << s.tilt_x << '/'
             << s.tilt_y << ' ' << (s.in_range ? "r" : "") << (s.in_contact ? "c" : "") << "; ";
    return text.str();
}

}  // namespace

TEST(PointerRecords, PenPointsOldestFirstOnTheBestClock)
{
    auto noMask = record(1, flag_in_range, 500, 0, 800);
    noMask.penMask = 0;
    const tevrin::u64 wrapCount = (0x100000000ull - 4) * 10000;  // 4 ms before the millisecond count wraps
    const struct {
        const char* name;
        std::vector<pointer_pen_info_record> records;  // newest first, as Windows gives them
        tevrin::u64 frequency;
        const char* points;
        const char* clock;
    } rows[] = {
        {"a history of one, timed by the counter", {record(1, flag_in_range | flag_in_contact, 999, 123456789, 512)}, ten_megahertz,
         "1@12345 0,20 512 -10/30 rc; ", "performance counter"},
        {"a history of many, reversed", {record(1, flag_in_range, 0, 70000), record(1, flag_in_range, 0, 32500), record(1, flag_in_range, 0, 10000)},
         ten_megahertz, "1@1 0,20 0 -10/30 r; 1@3 0,20 0 -10/30 r; 1@7 0,20 0 -10/30 r; ", "performance counter"},
        {"no counter frequency: the message time", {record(1, flag_in_range, 16, 70000)}, 0, "1@16 0,20 0 -10/30 r; ", "message time"},
        {"a record without a count keeps its message time", {record(1, flag_in_range, 32, 0), record(1, flag_in_range, 16, 10000)},
         ten_megahertz, "1@1 0,20 0 -10/30 r; 1@32 0,20 0 -10/30 r; ", "message time"},
        {"pressure above the scale, and a pen mask without pressure or tilt",
         {noMask, record(1, flag_in_range | flag_in_contact, 400, 0, 4000)}, 0, "1@400 0,20 1024 -10/30 rc; 1@500 0,20 0 0/0 r; ",
         "message time"},
        {"a counter whose milliseconds wrap", {record(1, flag_in_range, 0, wrapCount + 80000), record(1, flag_in_range, 0, wrapCount)},
         ten_megahertz, "1@4294967292 0,20 0 -10/30 r; 1@4 0,20 0 -10/30 r; ", "performance counter"},
    };
    for (const auto& row : rows) {
        const std::vector<pointer_sample> samples = pen_samples(row.records, 77, row.frequency);
        EXPECT_EQ(points_of(samples), row.points) << row.name;
        EXPECT_EQ(summarise_pointer(samples, "").get("clock").text(), row.clock) << row.name;
        for (const pointer_sample& sample : samples)
            EXPECT_EQ(sample.arrival, 77u) << row.name;
    }
    const std::vector<pointer_sample> wrapped = pen_samples(rows[5].records, 0, ten_megahertz);
    EXPECT_EQ(pointer_rate(wrapped, false).get("median_interval_ms").integer(), 8) << "across the wrap";
}

// Messages of two pens interleaved, one leaving and coming back: each pen's points
// join its own, and none across its gap out of range.
TEST(PointerRecords, TrailsOfInterleavedPens)
{
    const std::vector<std::vector<pointer_pen_info_record>> messages = {
        {record(7, flag_in_range, 10, 0, 0, 100)}, {record(8, flag_in_range | flag_in_contact, 11, 0, 512, 500)},
        {record(7, flag_in_range | flag_in_contact, 12, 0, 256, 110)}, {record(8, 0, 13, 0, 0, 510)},
        {record(8, flag_in_range, 15, 0, 0, 530), record(8, flag_in_range, 14, 0, 0, 520)}};
    live_capture live;
    for (const auto& records : messages)
        live.add_pointer(pen_samples(records, 0, 0));
    std::ostringstream trail;
    for (const trail_segment& s : live.trail())
        trail << s.from.x << '>' << s.to.x << (s.contact ? 'c' : 'h') << ' ';
    EXPECT_EQ(trail.str(), "100>110c 520>530h ");
    EXPECT_EQ(points_of(live.pointer()).substr(0, 29), "7@10 100,20 0 -10/30 r; 8@11 ");
}
