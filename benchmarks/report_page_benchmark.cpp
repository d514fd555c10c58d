// The page of a long capture: size and writing time of nibscope-report's HTML page for
// captures of 10, 60 and 600 seconds at 1,000 packets per second, and the memory such a
// capture holds. The pages go to the folder given, for tools/benchmark-report to time
// Chromium opening them.
#include "report/checks/capture_checks.h"
#include "report/checks/check_findings.h"
#include "report/checks/check_result.h"
#include "report/output/capture_charts.h"
#include "report/output/html_writer.h"
#include "report/output/report_summary.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

using namespace nibscope_report;

namespace {

constexpr int packets_per_second = 1000;

// A pen that hovers for two seconds, then draws circles for three, pressing in waves,
// leaning as it goes: what a user does in a long capture.
std::vector<captured_packet> synthetic_capture(int seconds)
{
    std::vector<captured_packet> packets(static_cast<size_t>(seconds) * packets_per_second);
    for (size_t i = 0; i < packets.size(); ++i) {
        const double t = static_cast<double>(i) / packets_per_second;
        const bool drawing = std::fmod(t, 5.0) >= 2.0;
        const double wave = 0.5 + 0.45 * std::sin(t * 3.1);
        captured_packet& p = packets[i];
        p.time = static_cast<tevrin::u32>(100000 + i);
        p.arrival = p.time + 4;
        p.serial = static_cast<tevrin::u32>(i + 1);
        p.cursor = 1;
        p.buttons = drawing ? 1 : 0;
        p.pressure = drawing ? static_cast<tevrin::u32>(1023 * wave) : 0;
        p.x = static_cast<tevrin::i32>(7600 + 5000 * std::cos(t * 1.7) + 300 * std::sin(t * 23));
        p.y = static_cast<tevrin::i32>(4750 + 3500 * std::sin(t * 1.3));
        p.azimuth = static_cast<tevrin::i32>(1800 + 1500 * std::sin(t * 0.7));
        p.altitude = static_cast<tevrin::i32>(600 + 200 * std::cos(t * 0.9));
    }
    return packets;
}

double milliseconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    capture_setting setting{0, {true, true, true, true, true, true, true, true}, 0, 1023, true, 1, 1, 200, 15200, 9500};
    std::printf("Capture memory: %zu bytes a WinTab packet, %.1f MB a minute at %d packets per second; "
                "%zu bytes a pointer point\n",
                sizeof(captured_packet), sizeof(captured_packet) * 60.0 * packets_per_second / 1e6, packets_per_second,
                sizeof(pointer_sample));
    std::printf("%8s %10s %12s %14s\n", "seconds", "packets", "page bytes", "writing ms");
    for (const int seconds : {10, 60, 600}) {
        setting.seconds = seconds;
        const std::vector<captured_packet> packets = synthetic_capture(seconds);
        const auto start = std::chrono::steady_clock::now();
        report_value section = summarise_capture(packets, setting);
        add_pen_api_sections(section, packets, setting, {}, "GetPointerPenInfo", {});
        report_value report = report_value::object().set("capture", section);
        const report_value checks = check_list(check_capture(section, {0, 1023, report_value(200)}));
        const std::string page = write_html(report, {summary_lines(report, checks), checks, findings_of(checks),
                                                     wintab_charts(packets, setting)});
        const double writing = milliseconds_since(start);
        const std::string path = folder + "/capture_" + std::to_string(seconds) + "s.html";
        std::ofstream(path, std::ios::binary) << page;
        std::printf("%8d %10zu %12zu %14.1f  %s\n", seconds, packets.size(), page.size(), writing, path.c_str());
    }
    return 0;
}
