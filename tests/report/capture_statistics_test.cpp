// Capture statistics of packet sequences report_test.py cannot send the real program: WinTab's,
// the pointer side's, the verdict on the two and the capture checks; recordings; the report writers,
// name removal and the capture charts.
#include "report/capture/capture_recording.h"
#include "report/capture/capture_statistics.h"
#include "report/checks/capture_checks.h"
#include "report/checks/check_findings.h"
#include "report/output/capture_charts.h"
#include "report/output/html_writer.h"
#include "report/output/name_redaction.h"
#include "report/output/report_labels.h"
#include "report/output/report_summary.h"
#include "report/output/report_writers.h"
#include "report/output/svg_charts.h"

#include <gmock/gmock.h>

#include <functional>
#include <set>
#include <regex>
#include <sstream>

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

// The same stroke through pointer input: 10 points hovering 8 ms apart, then 20 in
// contact 4 ms apart with pressures 50 ... 1000 (0 without pressure), tilt leaning right.
std::vector<pointer_sample> ink_stroke(bool pressure)
{
    std::vector<pointer_sample> samples(30);
    for (int i = 0; i < 30; ++i) {
        const bool contact = i >= 10;
        const auto time = static_cast<tevrin::u32>(contact ? 7040 + 4 * i : 7000 + 8 * i);
        const auto level = static_cast<tevrin::u32>(pressure && contact ? 50 * (i - 9) : 0);
        samples[i] = {time + 2, time, 7, 100 + i, 200, level, i - 5, 0, contact, true};
    }
    return samples;
}

// Every key in the tree that has no declared label, with the path it stands at.
void undeclared_keys(const report_value& tree, const std::string& parent, const std::string& path,
                     std::vector<std::string>& found)
{
    for (const auto& entry : tree.entries()) {
        if (!declared_label(parent, entry.first))
            found.push_back(path + entry.first);
        undeclared_keys(entry.second, entry.first, path + entry.first + ".", found);
    }
    for (const auto& item : tree.items())
        undeclared_keys(item, parent, path + "#.", found);
}

std::string compact_json(const report_value& value)
{
    return std::regex_replace(write_json(value), std::regex("\n *|(\":) "), "$1");
}

// A second of every packet item, a device with tilt and a 0..1023 pressure axis, the pen in and out once.
const capture_setting setting{1, {true, true, true, true, true, true, true, true}, 0, 1023, true, 1, 1};

struct Row {
    const char* name;
    std::vector<captured_packet> packets;
    capture_setting setting;
    std::vector<const char*> parts;  // of the summary as write_json prints it, on one line
};

}  // namespace

TEST(CaptureStatistics, SummariesOfKnownSequences)
{
    capture_setting buttonsOnly = setting, flatAxis = setting, atFifty = setting;
    atFifty.pressure_minimum = 50;
    buttonsOnly.items.pressure = buttonsOnly.device_has_orientation = false;
    flatAxis.pressure_maximum = 0;
    const Row rows[] = {
        {"gaps, queue errors, a late packet and an eraser", stroke([](int i, captured_packet& p) {
             p.serial += (i >= 6 ? 2 : 0) + (i >= 21 ? 3 : 0);
             p.status = (i == 12 || i == 25) ? 2 : 0;
             if (i == 29)  // the eraser with button 2, 45 ms late and read 43 ms after its time stamp
                 p = {0, p.time + 45, p.serial, 2, 5, p.pressure, p.azimuth, p.altitude, p.arrival + 85};
         }), setting,
         {R"("packets":30,"proximity_enters":1,"proximity_leaves":1,"cursors_seen":[1,2],"buttons_seen":[0,2],)"
          R"("hovering":{"packets":10,"packets_per_second":100,"median_interval_ms":10,"p99_interval_ms":10},)"
          R"("in_contact":{"packets":20,"packets_per_second":135.71,"median_interval_ms":5,"p99_interval_ms":50},)"
          R"("packet_age_ms":{"median":3,"maximum":43},)"
          R"("pressure":{"minimum":0,"maximum":1000,"distinct_values":21,"share_of_range_percent":97.75},"pressure_while_tip_up":0,)"
          R"("tilt":{"altitude_minimum":450,"altitude_maximum":740,"azimuth_minimum":0,"azimuth_maximum":2900},)"
          R"("packets_sharing_a_time_stamp":0,"queue_errors":2,"lost_packets":5})"}},
        {"no interval on either side of a packet out of proximity", stroke([](int i, captured_packet& p) {
             p.status = i == 20;  // 100 ms after packet 19 and before packet 21
             p.time += i >= 21 ? 200 : i == 20 ? 100 : 0;
         }), setting,
         {R"("in_contact":{"packets":20,"packets_per_second":200,"median_interval_ms":5,"p99_interval_ms":5})"}},
        {"contact from button 0 without pressure, device without tilt", stroke(), buttonsOnly,
         {R"("in_contact":{"packets":20,)", R"("pressure":null,"pressure_while_tip_up":null,"tilt":"the device reports no orientation")"}},
        {"flat pressure axis", stroke(), flatAxis, {R"("share_of_range_percent":null})"}},
        {"clocks and serial numbers that wrap around", stroke([](int, captured_packet& p) {
             p.serial -= 16, p.time -= 5120, p.arrival -= 5120;  // all three pass 0xFFFFFFFF at packet 15
         }), setting,
         {R"("in_contact":{"packets":20,"packets_per_second":200,"median_interval_ms":5,"p99_interval_ms":5},)",
          R"("packet_age_ms":{"median":3,"maximum":3},)", R"("lost_packets":0})"}},
        {"the largest serial step forward: 2^31 - 2 packets lost", stroke([](int i, captured_packet& p) {
             p.serial += i >= 20 ? 0x7FFFFFFEu : 0;
         }), setting, {R"("lost_packets":2147483646})"}},
        {"a serial step of 2^31 goes back: none lost", stroke([](int i, captured_packet& p) {
             p.serial += i >= 20 ? 0x7FFFFFFFu : 0;
         }), setting, {R"("lost_packets":0})"}},
        {"a single lost packet: a serial step of 2", stroke([](int i, captured_packet& p) { p.serial += i >= 20 ? 1 : 0; }),
         setting, {R"("lost_packets":1})"}},
        {"two lost across the wrap: 0xFFFFFFFE then 1", stroke([](int i, captured_packet& p) {
             p.serial += (i >= 15 ? 2 : 0) - 17;  // packet 14 is 0xFFFFFFFE, packet 15 is 1
         }), setting, {R"("lost_packets":2})"}},
        {"pressure at the axis minimum hovers, one above is contact", stroke(), atFifty,
         {R"("hovering":{"packets":11,)", R"("in_contact":{"packets":19,)"}},
        {"pairs of hovering packets sharing a time stamp count as one step in time", stroke([](int i, captured_packet& p) {
             p.time -= i < 10 ? static_cast<tevrin::u32>(10 * (i % 2)) : 0;  // 0 20 20 40 40 ... 80 80 ms
         }), setting,
         {R"("hovering":{"packets":10,"packets_per_second":50,"median_interval_ms":20,"p99_interval_ms":20},)",
          R"("packets_sharing_a_time_stamp":5,)"}},
        {"buttons 0 and 31", stroke([](int i, captured_packet& p) { p.buttons = i == 3 ? 0x80000001u : 0; }), setting,
         {R"("buttons_seen":[0,31],)"}},
        {"no packets", {}, setting,
         {R"("cursors_seen":[],"buttons_seen":[],)", R"("packet_age_ms":null,"pressure":null,"pressure_while_tip_up":0,"tilt":null,)"}},
    };
    for (const Row& row : rows) {
        const std::string summary = compact_json(summarise_capture(row.packets, row.setting));
        for (const char* part : row.parts)
            EXPECT_THAT(summary, testing::HasSubstr(part)) << row.name;
    }
}

TEST(PenApis, VerdictsAndCaptureChecks)
{
    const auto weakSlowAndHoverPressure = stroke([](int i, captured_packet& p) {
        p.pressure /= 2;
        p.time += static_cast<tevrin::u32>(5 * std::max(i - 10, 0));  // 10 ms apart in contact: 100 per second
        if (i == 25)
            p.buttons = 0;  // pressure in the air
    });
    const auto noPressure = stroke([](int, captured_packet& p) { p.pressure = 0; });
    const auto lostAndNoPressure = stroke([](int i, captured_packet& p) {
        p.pressure = 0;
        p.serial += i >= 15 ? 3 : 0;
    });
    const struct {
        const char* name;
        std::vector<captured_packet> packets;
        std::vector<pointer_sample> pointer;
        const char* missing;
        std::vector<double> offsets;
        const char* verdict;
        const char* outcomes;  // pen-apis mapping hover-pressure pressure-reach packet-loss report-rate
        std::vector<const char*> parts;
    } rows[] = {
        {"both", stroke(), ink_stroke(true), "", {1.0, 2.5, 2.0}, "WinTab and Windows Ink", "PASS PASS PASS PASS PASS PASS",
         {R"("mapping":{"packets_compared":3,"median_offset_px":2,"largest_offset_px":2.5})",
          R"("pointer":{"packets":30,"clock":"message time","hovering":{"packets":10,"packets_per_second":125,"median_interval_ms":8,)",
          R"("in_contact":{"packets":20,"packets_per_second":250,"median_interval_ms":4,"p99_interval_ms":4},)"
          R"("pressure":{"minimum":0,"maximum":1000,"distinct_values":21},)"
          R"("tilt":{"x_minimum":-5,"x_maximum":24,"y_minimum":0,"y_maximum":0}})",
          R"("pen_pressure":{"wintab":true,"windows_ink":true})"}},
        {"WinTab only, pressure in the air, a weak press, slow, off the cursor", weakSlowAndHoverPressure,
         ink_stroke(false), "", {5.0, 4.0, 9.0}, "WinTab only", "WARN WARN WARN WARN PASS WARN",
         {R"("pressure_while_tip_up":1,)", R"("pen_pressure":{"wintab":true,"windows_ink":false})"}},
        {"Windows Ink only, with lost packets", lostAndNoPressure, ink_stroke(true), "", {},
         "Windows Ink only: WinTab programs get no pressure", "WARN WARN PASS WARN FAIL WARN", {R"("lost_packets":3,)"}},
        {"neither", noPressure, ink_stroke(false), "", {0.0}, "neither", "FAIL PASS PASS WARN PASS WARN", {}},
        {"no pointer functions", stroke(), {}, "GetPointerPenInfo", {0.0}, "WinTab only: this system offers no pointer input",
         "WARN PASS PASS PASS PASS PASS",
         {R"("pointer":{"unavailable":"this system offers no pointer input: user32 lacks GetPointerPenInfo"},)"
          R"("pen_pressure":{"wintab":true,"windows_ink":null})"}},
        {"nothing arrived", {}, {}, "", {}, "neither", "WARN WARN PASS WARN PASS WARN",
         {R"("pointer":{"packets":0,"clock":null,)", R"("pressure":null,"tilt":null})"}},
    };
    for (const auto& row : rows) {
        report_value section = summarise_capture(row.packets, setting);
        add_pen_api_sections(section, row.packets, setting, row.pointer, row.missing, row.offsets);
        EXPECT_EQ(section.get("pen_apis").text(), row.verdict) << row.name;
        std::string outcomes;
        for (const check_result& check : check_capture(section, {0, 1023, report_value(200)})) {
            outcomes += (outcomes.empty() ? "" : " ") + check.outcome;
            EXPECT_TRUE(check.outcome == "PASS" || remedy_for(check.id, check.outcome)) << check.id << " " << check.outcome;
        }
        std::vector<std::string> undeclared;
        undeclared_keys(report_value::object().set("capture", section), "", "", undeclared);
        EXPECT_THAT(undeclared, testing::IsEmpty()) << row.name;
        EXPECT_EQ(outcomes, row.outcomes) << row.name;
        for (const char* part : row.parts)
            EXPECT_THAT(compact_json(section), testing::HasSubstr(part)) << row.name;
    }
}

TEST(PenApis, OutputAreaOntoTheScreen)
{
    const output_mapping down{0, 0, 1000, -1000, 0, 0, 1280, 1024}, up{100, 0, 1000, 1000, -1280, 0, 1280, 1024};
    const struct { output_mapping mapping; int x, y; double screenX, screenY; } rows[] = {
        {down, 500, 250, 640, 256}, {down, 1000, 1000, 1280, 1024}, {up, 600, 250, -640, 768}, {up, 100, 1000, -1280, 0}};
    for (const auto& row : rows) {
        const screen_point point = map_to_screen(row.mapping, row.x, row.y);
        EXPECT_DOUBLE_EQ(point.x, row.screenX) << row.x << ", " << row.y;
        EXPECT_DOUBLE_EQ(point.y, row.screenY) << row.x << ", " << row.y;
    }
}

TEST(Recording, ReadBackGivesTheSameStatistics)
{
    const capture_recording written{stroke([](int i, captured_packet& p) { p.status = i == 12 ? 2 : 0; }), ink_stroke(true)};
    std::stringstream file;
    write_recording(file, written);
    EXPECT_EQ(file.str().substr(0, file.str().find('\n')), recording_header);
    EXPECT_THAT(file.str(), testing::HasSubstr("\nwintab,5003,5000,0,1,1,0,0,0,0,0,450,0,0,0\n"));
    const capture_recording read = read_recording(file);
    EXPECT_EQ(compact_json(summarise_capture(read.packets, setting)), compact_json(summarise_capture(written.packets, setting)));
    EXPECT_EQ(compact_json(summarise_pointer(read.pointer, "")), compact_json(summarise_pointer(written.pointer, "")));
    std::istringstream broken(std::string(recording_header) + "\nwintab,1,2,three\n");
    EXPECT_THROW(read_recording(broken), std::runtime_error);
}

// Both print the same tree; the text and the page with the declared labels and units: a
// key's label may depend on where it stands, an object's unit holds for its values, and
// an undeclared key shows as it is.
TEST(ReportWriters, TextAndJsonCarryTheSameTree)
{
    report_value report = report_value::object();
    report.set("driver_library", report_value::object().set("path", "C:\\tab \"1\"\n").set("missing_entries",
        report_value::list()).set("size", 1234).set("company", report_value()));
    report.set("interface", report_value::object().set("devices", 1).set("ansi_code_page", 1252));
    report.set("capture", report_value::object().set("in_contact", report_value::object().set("p99_interval_ms", 7))
        .set("packet_age_ms", report_value::object().set("median", 3)).set("tilt", report_value::object()
        .set("altitude_minimum", 450)).set("not_a_key", 2));
    EXPECT_EQ(write_json(report), "{\n  \"driver_library\": {\n    \"path\": \"C:\\\\tab \\\"1\\\"\\n\",\n"
        "    \"missing_entries\": [],\n    \"size\": 1234,\n    \"company\": null\n  },\n  \"interface\": {\n"
        "    \"devices\": 1,\n    \"ansi_code_page\": 1252\n  },\n  \"capture\": {\n    \"in_contact\": {\n"
        "      \"p99_interval_ms\": 7\n    },\n    \"packet_age_ms\": {\n      \"median\": 3\n    },\n"
        "    \"tilt\": {\n      \"altitude_minimum\": 450\n    },\n    \"not_a_key\": 2\n  }\n}\n");
    EXPECT_EQ(write_text(report), "Driver library:\n  Path: C:\\tab \"1\"\n\n  Missing entries: none\n  Size: 1234 bytes\n"
        "  Company: not reported\n\nWinTab interface:\n  Devices counted: 1\n  ANSI code page: 1252\n\nCapture:\n"
        "  In contact:\n    99th percentile interval: 7 ms\n  Packet age (read after its time stamp):\n    Median: 3 ms\n"
        "  Tilt:\n    Altitude minimum: 450 tenths of a degree\n  not_a_key: 2\n");
    const std::string page = write_html(report, {});
    for (const char* part : {"<th>99th percentile interval</th><td>7 ms</td>", "<th>Median</th><td>3 ms</td>",
                             "<summary><h2>WinTab interface</h2></summary>", "<th>Devices counted</th><td>1</td>"})
        EXPECT_THAT(page, testing::HasSubstr(part)) << part;
}

TEST(NameRedaction, NamesGoWhereverTheyStandAsWholeWords)
{
    const std::vector<private_name> names{{"ann", "<user>"}, {"ANN-PC", "<computer>"}, {"Zo\xc3\xab", "<user>"}};
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\Users\\Ann\\AppData;\\\\ann-pc\\share", "C:\\Users\\<user>\\AppData;\\\\<computer>\\share"},
        {"Planner, anna, ann_1, ann", "Planner, anna, <user>_1, <user>"},
        {"C:\\Users\\zo\xc3\xab\\x C:\\Zo\xc3\xabla", "C:\\Users\\<user>\\x C:\\Zo\xc3\xabla"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(without_names(std::string(row.first), names), row.second) << row.first;
    report_value tree = report_value::object().set("ann", report_value::list().add("D:\\ann").add(3));
    EXPECT_EQ(write_json(without_names(tree, names)), "{\n  \"<user>\": [\n    \"D:\\\\<user>\",\n    3\n  ]\n}\n");
}

TEST(IntervalChart, StallsShareTheLastBar)
{
    std::vector<pen_sample> samples(12);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = {i * 5.0 + (i >= 11 ? 400 : 0), 100, true};
    const std::string chart = interval_histogram_chart("c", "WinTab", samples, 200);
    EXPECT_THAT(chart, testing::HasSubstr("<title>5 ms: 10 in contact</title>"));
    EXPECT_THAT(chart, testing::HasSubstr("<title>at least 15.5 ms: 1 in contact</title>"));
}

// The pointer side's charts: none without points; with them, the pressure line has a
// point per sample and the histogram counts every interval of one pointer and kind.
TEST(CaptureCharts, WindowsInkFromThePointerPoints)
{
    EXPECT_EQ(pointer_charts({}), "");
    std::vector<pointer_sample> twoPointers = ink_stroke(true);
    twoPointers[20].id = 8;  // another pointer's point amid the stroke
    const std::string charts = pointer_charts(twoPointers);
    const std::string pressure = charts.substr(0, charts.find("</figure>"));
    const std::regex line("<polyline class=\"(?:hovering|in-contact)\" points=\"([^\"]*)\"");
    size_t points = 0;  // one comma per x,y pair
    for (std::sregex_iterator it(pressure.begin(), pressure.end(), line), end; it != end; ++it)
        points += static_cast<size_t>(std::count((*it)[1].first, (*it)[1].second, ','));
    EXPECT_EQ(points, 30u);
    for (const char* part : {"<figure class=\"chart\" id=\"ink-pressure\"", "<figure class=\"chart\" id=\"ink-intervals\"",
                             "Windows Ink", "<title>8 ms: 9 hovering</title>", "<title>4 ms: 17 in contact</title>"})
        EXPECT_THAT(charts, testing::HasSubstr(part)) << part;
}

// Every figure of the summary from the statistic it stands for: each has a value no
// other field shares, and the tablet is the default context's device, not the first.
TEST(ReportSummary, EachFigureFromItsStatistic)
{
    const auto device = [](const char* name, int levels, int rate) {
        return report_value::object().set("name", name).set("packet_rate", rate)
            .set("normal_pressure", report_value::object().set("levels", levels));
    };
    const auto rate = [](double perSecond) { return report_value::object().set("packets_per_second", perSecond); };
    report_value report = report_value::object();
    report.set("driver_library", report_value::object().set("loaded", true).set("path", "C:\\w.dll")
        .set("company", "Maker").set("file_version", "4.5.6.7").set("product_version", "9.9"));
    report.set("devices", report_value::list().add(device("First", 512, 100)).add(device("Second", 2048, 266)));
    report.set("contexts", report_value::object().set("default_system", report_value::object().set("device", 1)));
    report.set("capture", report_value::object().set("seconds", 7).set("packets", 31).set("hovering", rate(101.5))
        .set("in_contact", rate(202)).set("pressure", report_value::object().set("minimum", 3).set("maximum", 1003)
        .set("share_of_range_percent", 97.5)).set("queue_errors", 8).set("lost_packets", 4).set("pen_apis", "WinTab only"));
    report_value checks = report_value::list();
    for (const char* outcome : {"PASS", "WARN", "PASS", "FAIL", "WARN", "WARN", "FAIL"})
        checks.add(report_value::object().set("outcome", outcome).set("id", std::string(outcome) == "FAIL" ? "a-fail" : "x"));
    EXPECT_EQ(summary_lines(report, checks), (std::vector<std::string>{
        "Driver: C:\\w.dll, Maker, version 4.5.6.7",
        "Tablet: Second, 2048 pressure levels, 266 packets per second claimed",
        "Capture: 31 packets in 7 s, 101.5 per second hovering and 202 in contact, pressure reached 1003 (97.5% of the "
        "range), lost packets: 4, pen APIs: WinTab only",
        "Checks: 2 PASS, 3 WARN, 2 FAIL; FAIL: a-fail"}));
}

// One remedy per check outcome, for one of the three who can act; a check's outcome
// makes one finding however many lines it has; an outcome without a remedy is still found.
TEST(Findings, OneRemedyPerCheckOutcome)
{
    std::set<std::pair<std::string, std::string>> seen;
    for (const check_remedy& remedy : check_remedies()) {
        EXPECT_TRUE(seen.insert({remedy.check, remedy.outcome}).second) << remedy.check << " " << remedy.outcome;
        EXPECT_THAT((std::vector<std::string>{"user", "drawing program", "driver's maker"}), testing::Contains(remedy.who));
    }
    report_value checks = report_value::list();
    for (const char* line : {"PASS library-loads", "FAIL record-sizes", "FAIL record-sizes", "WARN pressure-range",
                             "FAIL pressure-range", "WARN a-new-check"})
        checks.add(report_value::object().set("outcome", std::string(line, 4)).set("id", line + 5).set("sentence", line));
    std::string found;
    const report_value findings = findings_of(checks);
    for (const report_value& finding : findings.items())
        found += finding.get("check").text() + " " + finding.get("who").text() + ": " + finding.get("remedy").text() + "\n";
    EXPECT_EQ(found, "record-sizes driver's maker: " + std::string(remedy_for("record-sizes", "FAIL")->remedy) +
                         "\npressure-range user: " + remedy_for("pressure-range", "WARN")->remedy +
                         "\npressure-range driver's maker: " + remedy_for("pressure-range", "FAIL")->remedy +
                         "\na-new-check driver's maker: " + unknown_remedy + "\n");
}

// A long capture's charts stay small and keep what matters: ten minutes at 1,000
// packets per second, one spike and one drop to 0 amid a steady press, the pen circling.
TEST(CaptureCharts, LongCapturesStaySmallAndKeepSpikes)
{
    std::vector<pen_sample> samples(600000);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double turn = static_cast<double>(i) / 2000;
        samples[i] = {static_cast<double>(i), i == 300001 ? 1023.0 : i == 400003 ? 1.0 : 500.0, true, true,
                      5000 + 3000 * std::cos(turn), 4000 + 3000 * std::sin(turn)};
    }
    const std::string pressure = pressure_over_time_chart("p", "WinTab", samples, {0, 1023});
    // Found without std::regex, whose recursion overflows a Windows stack on so long a line.
    const size_t start = pressure.find("\"", pressure.find("class=\"in-contact\" points=") + 26) + 1;
    const std::string points = pressure.substr(start, pressure.find('"', start) - start);
    EXPECT_LE(std::count(points.begin(), points.end(), ','), 4 * 561);
    const auto y = [](double value) { return std::to_string(static_cast<int>(14 + (1 - value / (1023 * 1.08)) * 200)); };
    EXPECT_THAT(points, testing::HasSubstr("," + y(1023) + ".")) << "the spike";
    EXPECT_THAT(points, testing::HasSubstr("," + y(1) + ".")) << "the drop";
    const std::string trail = trail_chart("t", samples, 10000, 8000, {0, 1023});
    EXPECT_LT(trail.size(), 600000u);
    EXPECT_LT(pressure.size(), 60000u);
    for (size_t i = 0; i < samples.size(); ++i)  // every level of a pen of 8192
        samples[i].pressure = static_cast<double>(i % 8192);
    const std::string values = pressure_distribution_chart("v", samples, {0, 8191});
    EXPECT_LE(std::count(values.begin(), values.end(), '<') / 4, 600) << "bars";
    EXPECT_THAT(values, testing::HasSubstr("<title>pressure 0 to 14: up to 74 samples</title>"));
}
