// Capture statistics of packet sequences report_test.py cannot send the real program; the report writers.
#include "report/capture/capture_statistics.h"
#include "report/output/report_writers.h"

#include <gmock/gmock.h>

#include <functional>
#include <regex>

using namespace nibscope_report;

namespace {

// 10 packets hovering 10 ms apart, then 20 in contact 5 ms apart with pressures 50 ... 1000,
// each read 3 ms after its time stamp; edit changes packet i.
std::vector<captured_packet> stroke(const std::function<void(int, captured_packet&)>& edit = nullptr)
{
    std::vector<captured_packet> packets(30);
    for (int i = 0; i < 30; ++i) {
        const bool contact = i >= 10;
        const auto time = static_cast<tevrin::u32>(contact ? 5045 + 5 * i : 5000 + 10 * i);
        packets[i] = {0, time, static_cast<tevrin::u32>(i + 1), 1, contact ? 1u : 0u,
                      contact ? 50u * static_cast<tevrin::u32>(i - 9) : 0u, i * 100, 450 + i * 10, time + 3};
        if (edit)
            edit(i, packets[i]);
    }
    return packets;
}

struct Row {
    const char* name;
    std::vector<captured_packet> packets;
    capture_setting setting;
    std::vector<const char*> parts;  // of the summary as write_json prints it, on one line
};

}  // namespace

TEST(CaptureStatistics, SummariesOfKnownSequences)
{
    const capture_setting full{1, {true, true, true, true, true, true, true}, 0, 1023, true, 1, 1};
    capture_setting buttonsOnly = full, flatAxis = full, atFifty = full;
    atFifty.pressure_minimum = 50;
    buttonsOnly.items.pressure = buttonsOnly.device_has_orientation = false;
    flatAxis.pressure_maximum = 0;
    const Row rows[] = {
        {"gaps, queue errors, a late packet and an eraser", stroke([](int i, captured_packet& p) {
             p.serial += (i >= 6 ? 2 : 0) + (i >= 21 ? 3 : 0);
             p.status = (i == 12 || i == 25) ? 2 : 0;
             if (i == 29)  // the eraser with button 2, 45 ms late and read 43 ms after its time stamp
                 p = {0, p.time + 45, p.serial, 2, 5, p.pressure, p.azimuth, p.altitude, p.arrival + 85};
         }), full,
         {R"("packets":30,"proximity_enters":1,"proximity_leaves":1,"cursors_seen":[1,2],"buttons_seen":[0,2],)"
          R"("hovering":{"packets":10,"packets_per_second":100,"median_interval_ms":10,"p99_interval_ms":10},)"
          R"("in_contact":{"packets":20,"packets_per_second":135.71,"median_interval_ms":5,"p99_interval_ms":50},)"
          R"("packet_age_ms":{"median":3,"maximum":43},)"
          R"("pressure":{"minimum":0,"maximum":1000,"distinct_values":21,"share_of_range_percent":97.75},)"
          R"("tilt":{"altitude_minimum":450,"altitude_maximum":740,"azimuth_minimum":0,"azimuth_maximum":2900},)"
          R"("queue_errors":2,"lost_packets":5})"}},
        {"no interval on either side of a packet out of proximity", stroke([](int i, captured_packet& p) {
             p.status = i == 20;  // 100 ms after packet 19 and before packet 21
             p.time += i >= 21 ? 200 : i == 20 ? 100 : 0;
         }), full,
         {R"("in_contact":{"packets":20,"packets_per_second":200,"median_interval_ms":5,"p99_interval_ms":5})"}},
        {"contact from button 0 without pressure, device without tilt", stroke(), buttonsOnly,
         {R"("in_contact":{"packets":20,)", R"("pressure":null,"tilt":"the device reports no orientation")"}},
        {"flat pressure axis", stroke(), flatAxis, {R"("share_of_range_percent":null})"}},
        {"clocks and serial numbers that wrap around", stroke([](int, captured_packet& p) {
             p.serial -= 16, p.time -= 5120, p.arrival -= 5120;  // all three pass 0xFFFFFFFF at packet 15
         }), full,
         {R"("in_contact":{"packets":20,"packets_per_second":200,"median_interval_ms":5,"p99_interval_ms":5},)",
          R"("packet_age_ms":{"median":3,"maximum":3},)", R"("lost_packets":0})"}},
        {"the largest serial step forward: 2^31 - 2 packets lost", stroke([](int i, captured_packet& p) {
             p.serial += i >= 20 ? 0x7FFFFFFEu : 0;
         }), full, {R"("lost_packets":2147483646})"}},
        {"a serial step of 2^31 goes back: none lost", stroke([](int i, captured_packet& p) {
             p.serial += i >= 20 ? 0x7FFFFFFFu : 0;
         }), full, {R"("lost_packets":0})"}},
        {"a repeated serial: none lost", stroke([](int i, captured_packet& p) { p.serial -= i >= 20 ? 1 : 0; }), full,
         {R"("lost_packets":0})"}},
        {"pressure at the axis minimum hovers, one above is contact", stroke(), atFifty,
         {R"("hovering":{"packets":11,)", R"("in_contact":{"packets":19,)"}},
        {"buttons 0 and 31", stroke([](int i, captured_packet& p) { p.buttons = i == 3 ? 0x80000001u : 0; }), full,
         {R"("buttons_seen":[0,31],)"}},
        {"no packets", {}, full,
         {R"("cursors_seen":[],"buttons_seen":[],)", R"("packet_age_ms":null,"pressure":null,"tilt":null,)"}},
    };
    for (const Row& row : rows) {
        const std::string summary = std::regex_replace(write_json(summarise_capture(row.packets, row.setting)),
                                                       std::regex("\n *|(:) "), "$1");
        for (const char* part : row.parts)
            EXPECT_THAT(summary, testing::HasSubstr(part)) << row.name;
    }
}

TEST(ReportWriters, TextAndJsonCarryTheSameTree)
{
    report_value report = report_value::object();
    report.set("driver_library", report_value::object().set("path", "C:\\tab \"1\"\n").set("missing_entries",
        report_value::list()).set("size", 1234).set("company", report_value()));
    report.set("cursors", report_value::list().add(report_value::object().set("active", true)));
    EXPECT_EQ(write_json(report), "{\n  \"driver_library\": {\n    \"path\": \"C:\\\\tab \\\"1\\\"\\n\",\n"
                                  "    \"missing_entries\": [],\n    \"size\": 1234,\n    \"company\": null\n  },\n"
                                  "  \"cursors\": [\n    {\n      \"active\": true\n    }\n  ]\n}\n");
    EXPECT_EQ(write_text(report), "Driver library:\n  Path: C:\\tab \"1\"\n\n  Missing entries: none\n  Size: 1234\n"
                                  "  Company: not reported\n\nCursors:\n  #0\n    Active: yes\n");
}
