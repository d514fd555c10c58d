// What the capture window shows, from batches of packets as the window reads them: the
// trail in screen pixels, the counts, the cursor offsets and the rates of the last
// second (pointer points: pointer_records_test.cpp).
#include "report/capture/live_capture.h"

#include <gmock/gmock.h>

#include <sstream>

using namespace nibscope_report;

namespace {

// The output area 0..1000 (y downwards) onto the screen's pixels 0..1000, a 0..1000 pressure axis.
const output_mapping identity{0, 0, 1000, -1000, 0, 0, 1000, 1000};
const capture_setting every_item{1, {true, true, true, true, true, true, true, true}, 0, 1000, true, 0, 0};
constexpr tevrin::u32 left_proximity = 0x01, queue_error = 0x02;

captured_packet packet(tevrin::u32 serial, int x, int y, tevrin::u32 pressure = 0, tevrin::u32 status = 0)
{
    captured_packet p;
    p.serial = serial, p.time = p.arrival = 10 * serial;
    p.x = x, p.y = y, p.pressure = pressure, p.status = status;
    return p;
}

// "x,y>x,y" per segment, then c (contact) or h (hovering) and i for a pointer pen.
std::string trail_of(const live_capture& live)
{
    std::ostringstream text;
    for (const trail_segment& s : live.trail())
        text << s.from.x << ',' << s.from.y << '>' << s.to.x << ',' << s.to.y << (s.contact ? 'c' : 'h')
             << (s.ink ? "i " : " ");
    return text.str();
}

}  // namespace

TEST(LiveCapture, TrailCountsAndOffsetsOfBatches)
{
    const screen_point cursor{100, 100};
    const struct {
        const char* name;
        std::vector<std::vector<captured_packet>> batches;
        const char* trail;
        tevrin::i64 lost, queueErrors;
        std::vector<double> offsets;  // one per batch with a packet in proximity
        bool inProximity;
    } rows[] = {
        {"a stroke in one batch", {{packet(1, 100, 100), packet(2, 110, 100, 500), packet(3, 120, 100, 1000), packet(4, 130, 100)}},
         "100,100>110,100c 110,100>120,100c 120,100>130,100h ", 0, 0, {30}, true},
        // The newest packet in proximity is the one before the last: the window once kept a
        // pointer to it across the pushes that followed.
        {"the pen leaves at the end of a batch and comes back in the next",
         {{packet(1, 100, 100), packet(2, 103, 104, 300), packet(3, 0, 0, 0, left_proximity)},
          {packet(4, 200, 200), packet(5, 200, 210)}},
         "100,100>103,104c 200,200>200,210h ", 0, 0, {5, std::hypot(100, 110)}, true},
        {"a batch that ends out of proximity and one wholly out", {{packet(1, 100, 100, 0, left_proximity)}, {}},
         "", 0, 0, {}, false},
        {"serial gaps and a queue error across batches",
         {{packet(1, 100, 100), packet(2, 100, 100)}, {packet(5, 100, 100, 0, queue_error), packet(6, 100, 100)},
          {packet(6, 100, 100)}},
         "100,100>100,100h 100,100>100,100h 100,100>100,100h 100,100>100,100h ", 2, 1, {0, 0, 0}, true},
    };
    for (const auto& row : rows) {
        live_capture live;
        live.set_context(identity, every_item);
        for (const auto& batch : row.batches)
            live.add_packets(batch, cursor);
        EXPECT_EQ(trail_of(live), row.trail) << row.name;
        EXPECT_EQ(live.lost(), row.lost) << row.name;
        EXPECT_EQ(live.queue_errors(), row.queueErrors) << row.name;
        EXPECT_EQ(live.in_proximity(), row.inProximity) << row.name;
        std::vector<double> offsets = live.take_offsets();
        EXPECT_THAT(offsets, testing::Pointwise(testing::DoubleEq(), row.offsets)) << row.name;
        size_t packets = 0;
        for (const auto& batch : row.batches)
            packets += batch.size();
        EXPECT_EQ(live.packets().size(), packets) << row.name;
        EXPECT_EQ(live.chart().size(), packets) << row.name;
    }
}

// A second of hovering at 100 packets per second, then one in contact at 200: a second
// later only the contact counts, and the chart forgets what is five seconds old.
TEST(LiveCapture, RatesOfTheLastSecondAndTheChartsSpan)
{
    live_capture live;
    live.set_context(identity, every_item);
    std::vector<captured_packet> hover, contact;
    for (tevrin::u32 i = 0; i < 100; ++i)
        hover.push_back(packet(i + 1, 0, 0)), hover.back().time = hover.back().arrival = 1000 + 10 * i;
    for (tevrin::u32 i = 0; i < 200; ++i)
        contact.push_back(packet(i + 101, 0, 0, 500)), contact.back().time = contact.back().arrival = 2000 + 5 * i;
    live.add_packets(hover, {});
    const live_rates during = live.wintab_rates(1990);
    live.add_packets(contact, {});
    const live_rates after = live.wintab_rates(2995);
    EXPECT_DOUBLE_EQ(during.hovering, 100);
    EXPECT_DOUBLE_EQ(during.in_contact, 0);
    EXPECT_DOUBLE_EQ(after.hovering, 0);
    EXPECT_DOUBLE_EQ(after.in_contact, 200);
    EXPECT_FALSE(live.forget_chart_before(6000));
    EXPECT_TRUE(live.forget_chart_before(6995));
    EXPECT_EQ(live.chart().size(), 200u);
    EXPECT_DOUBLE_EQ(live.chart().front().share, 0.5);
}
