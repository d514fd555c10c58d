// Capture statistics from known packet sequences: rates split by hover and contact,
// pressure and tilt ranges, queue errors and serial-number gaps, and what a driver
// that refused a packet item leaves unreported.
#include "report/capture_statistics.h"
#include "report/report_writers.h"

#include <gtest/gtest.h>

#include <functional>

using namespace nibscope_report;

namespace {

// 10 packets hovering 10 ms apart, then 20 in contact 5 ms apart with pressures
// 50 ... 1000, each read 3 ms after its time stamp; the change packet edit applies to each.
std::vector<captured_packet> stroke(const std::function<void(int, captured_packet&)>& edit = nullptr)
{
    std::vector<captured_packet> packets;
    tevrin::u32 time = 5000;
    for (int i = 0; i < 30; ++i) {
        const bool contact = i >= 10;
        time += i == 0 ? 0 : contact ? 5 : 10;
        captured_packet p;
        p.time = time;
        p.arrival = time + 3;
        p.serial = static_cast<tevrin::u32>(i + 1);
        p.cursor = 1;
        p.buttons = contact ? 1 : 0;
        p.pressure = contact ? static_cast<tevrin::u32>(50 * (i - 9)) : 0;
        p.azimuth = i * 100;
        p.altitude = 450 + i * 10;
        if (edit)
            edit(i, p);
        packets.push_back(p);
    }
    return packets;
}

capture_setting full_setting()
{
    capture_setting setting;
    setting.seconds = 1;
    setting.items = {true, true, true, true, true, true, true};
    setting.pressure_maximum = 1023;
    setting.device_has_orientation = true;
    setting.proximity_enters = 1;
    setting.proximity_leaves = 1;
    return setting;
}

struct Scenario {
    const char* name;
    std::vector<captured_packet> packets;
    capture_setting setting;
    const char* expectedJson;  // the summary as write_json prints it, on one line
};

std::string one_line(const std::string& json)
{
    std::string line;
    bool inText = false;
    for (char c : json) {
        if (c == '"')
            inText = !inText;
        if (inText || (c != ' ' && c != '\n'))
            line += c;
    }
    return line;
}

}  // namespace

TEST(CaptureStatistics, SummariesOfKnownSequences)
{
    capture_setting refused = full_setting();
    refused.items.serial = refused.items.orientation = refused.items.time = false;
    capture_setting noPressure = full_setting();
    noPressure.items.pressure = false;
    noPressure.device_has_orientation = false;
    capture_setting flatAxis = full_setting();
    flatAxis.pressure_maximum = 0;
    const Scenario scenarios[] = {
        {"whole stroke", stroke(), full_setting(),
         R"({"seconds":1,"packets":30,"proximity_enters":1,"proximity_leaves":1,"cursors_seen":[1],"buttons_seen":[0],)"
         R"("hovering":{"packets":10,"packets_per_second":100,"median_interval_ms":10,"p99_interval_ms":10},)"
         R"("in_contact":{"packets":20,"packets_per_second":200,"median_interval_ms":5,"p99_interval_ms":5},)"
         R"("packet_age_ms":{"median":3,"maximum":3},)"
         R"("pressure":{"minimum":0,"maximum":1000,"distinct_values":21,"share_of_range_percent":97.75},)"
         R"("tilt":{"altitude_minimum":450,"altitude_maximum":740,"azimuth_minimum":0,"azimuth_maximum":2900},)"
         R"("queue_errors":0,"lost_packets":0})"},
        {"gaps, queue errors, a late packet and an eraser",
         stroke([](int i, captured_packet& p) {
             p.serial += i >= 6 ? 2 : 0;
             p.serial += i >= 21 ? 3 : 0;
             p.status = (i == 12 || i == 25) ? 2 : 0;
             p.arrival += i == 29 ? 85 : 0;
             p.cursor = i == 29 ? 2 : 1;
             p.buttons |= i == 29 ? 4 : 0;
             p.time += i == 29 ? 45 : 0;
         }),
         full_setting(),
         R"({"seconds":1,"packets":30,"proximity_enters":1,"proximity_leaves":1,"cursors_seen":[1,2],"buttons_seen":[0,2],)"
         R"("hovering":{"packets":10,"packets_per_second":100,"median_interval_ms":10,"p99_interval_ms":10},)"
         R"("in_contact":{"packets":20,"packets_per_second":135.71,"median_interval_ms":5,"p99_interval_ms":50},)"
         R"("packet_age_ms":{"median":3,"maximum":43},)"
         R"("pressure":{"minimum":0,"maximum":1000,"distinct_values":21,"share_of_range_percent":97.75},)"
         R"("tilt":{"altitude_minimum":450,"altitude_maximum":740,"azimuth_minimum":0,"azimuth_maximum":2900},)"
         R"("queue_errors":2,"lost_packets":5})"},
        {"pen out of proximity between hover and contact breaks no interval across it",
         stroke([](int i, captured_packet& p) { p.status = i == 10 ? 1 : 0; }), full_setting(), nullptr},
        {"refused serial numbers, orientation and time stamps", stroke(), refused,
         R"({"seconds":1,"packets":30,"proximity_enters":1,"proximity_leaves":1,"cursors_seen":[1],"buttons_seen":[0],)"
         R"("hovering":{"packets":10,"packets_per_second":null,"median_interval_ms":null,"p99_interval_ms":null},)"
         R"("in_contact":{"packets":20,"packets_per_second":null,"median_interval_ms":null,"p99_interval_ms":null},)"
         R"("packet_age_ms":null,)"
         R"("pressure":{"minimum":0,"maximum":1000,"distinct_values":21,"share_of_range_percent":97.75},)"
         R"("tilt":null,"queue_errors":0,"lost_packets":null})"},
        {"contact from button 0 without pressure, device without tilt", stroke(), noPressure, nullptr},
        {"flat pressure axis", stroke(), flatAxis, nullptr},
        {"no packets", {}, full_setting(),
         R"({"seconds":1,"packets":0,"proximity_enters":1,"proximity_leaves":1,"cursors_seen":[],"buttons_seen":[],)"
         R"("hovering":{"packets":0,"packets_per_second":null,"median_interval_ms":null,"p99_interval_ms":null},)"
         R"("in_contact":{"packets":0,"packets_per_second":null,"median_interval_ms":null,"p99_interval_ms":null},)"
         R"("packet_age_ms":null,"pressure":null,"tilt":null,"queue_errors":0,"lost_packets":0})"},
    };
    for (const Scenario& scenario : scenarios) {
        const report_value summary = summarise_capture(scenario.packets, scenario.setting);
        if (scenario.expectedJson) {
            EXPECT_EQ(one_line(write_json(summary)), scenario.expectedJson) << scenario.name;
        }
    }
    // The rows without a whole expected summary: the entries that make them differ.
    const report_value apart = summarise_capture(scenarios[2].packets, scenarios[2].setting);
    EXPECT_EQ(apart.get("in_contact").get("packets_per_second").real(), 200.0) << scenarios[2].name;
    EXPECT_EQ(apart.get("hovering").get("packets").integer(), 10) << scenarios[2].name;
    const report_value buttons = summarise_capture(scenarios[4].packets, scenarios[4].setting);
    EXPECT_EQ(buttons.get("in_contact").get("packets").integer(), 20) << scenarios[4].name;
    EXPECT_TRUE(buttons.get("pressure").is_null()) << scenarios[4].name;
    EXPECT_EQ(buttons.get("tilt").text(), "the device reports no orientation") << scenarios[4].name;
    EXPECT_TRUE(summarise_capture(scenarios[5].packets, scenarios[5].setting)
                    .get("pressure").get("share_of_range_percent").is_null()) << scenarios[5].name;
}

TEST(ReportWriters, TextAndJsonCarryTheSameTree)
{
    report_value report = report_value::object();
    report.set("driver_library", report_value::object()
                                     .set("path", "C:\\tab \"1\"\n")
                                     .set("missing_entries", report_value::list())
                                     .set("size", 1234)
                                     .set("company", report_value()));
    report.set("cursors", report_value::list().add(report_value::object().set("active", true)));
    EXPECT_EQ(write_json(report), "{\n  \"driver_library\": {\n    \"path\": \"C:\\\\tab \\\"1\\\"\\n\",\n"
                                  "    \"missing_entries\": [],\n    \"size\": 1234,\n    \"company\": null\n  },\n"
                                  "  \"cursors\": [\n    {\n      \"active\": true\n    }\n  ]\n}\n");
    EXPECT_EQ(write_text(report), "Driver library:\n  Path: C:\\tab \"1\"\n\n  Missing entries: none\n  Size: 1234\n"
                                  "  Company: not reported\n\nCursors:\n  #0\n    Active: yes\n");
}
