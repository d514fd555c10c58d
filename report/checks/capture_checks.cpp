#include "report/checks/capture_checks.h"

#include "report/tree/report_value.h"

namespace nibscope_report {
namespace {

using tevrin::i64;

// A median offset up to this many pixels is rounding and the cursor's own lag.
constexpr double mapping_tolerance_px = 3.0;
constexpr double pressure_reach_share = 0.95;
// In contact a driver should come close to its claimed rate; below two thirds of it
// strokes turn into visible polygons.
constexpr double report_rate_share = 2.0 / 3.0;

std::string number(double value)
{
    return format_real(value);
}

check_result pen_apis(const report_value& capture)
{
    const std::string verdict = capture.get("pen_apis").text();
    const report_value& pressure = capture.get("pen_pressure");
    const bool wintab = pressure.get("wintab").integer() != 0, ink = pressure.get("windows_ink").integer() != 0;
    const i64 points = capture.get("pointer").get("packets").integer();
    if (wintab && ink)
        return {"PASS", "pen-apis", "Both WinTab and Windows Ink delivered pen pressure."};
    if (wintab || ink)
        return {"WARN", "pen-apis", "Only one pen API delivered pressure (" + verdict +
                                        "); programs that use the other get none."};
    if (capture.get("packets").integer() + points > 0)
        return {"FAIL", "pen-apis", "Pen packets arrived but neither WinTab nor Windows Ink carried pressure."};
    return {"WARN", "pen-apis", "No pen input arrived in either API; hover and draw during the capture."};
}

check_result mapping(const report_value& capture)
{
    const report_value& median = capture.get("mapping").get("median_offset_px");
    if (median.is_null())
        return {"WARN", "mapping", "No packet position could be compared with the cursor; draw during the capture."};
    const std::string both = number(median.real()) + " pixels median, " +
                             number(capture.get("mapping").get("largest_offset_px").real()) + " largest";
    if (median.real() > mapping_tolerance_px)
        return {"WARN", "mapping", "WinTab's positions lie away from the cursor: " + both +
                                       "; check the driver's display mapping and the display scaling."};
    return {"PASS", "mapping", "WinTab's positions lie where the cursor is: " + both + "."};
}

check_result hover_pressure(const report_value& capture)
{
    const report_value& count = capture.get("pressure_while_tip_up");
    if (count.is_null())
        return {"WARN", "hover-pressure", "The driver granted no pressure or buttons, so pressure while hovering cannot be told."};
    if (count.integer() > 0)
        return {"WARN", "hover-pressure", std::to_string(count.integer()) +
                                              " packets carried pressure while the tip was up."};
    return {"PASS", "hover-pressure", "No pressure while the tip was up."};
}

check_result pressure_reach(const report_value& capture, const device_claims& device)
{
    const report_value& pressure = capture.get("pressure");
    const double range = static_cast<double>(device.pressure_maximum - device.pressure_minimum);
    if (pressure.is_null() || range <= 0)
        return {"WARN", "pressure-reach", "No pressure was captured; press the pen once firmly during the capture."};
    const i64 hardest = pressure.get("maximum").integer();
    const std::string reached = std::to_string(hardest) + " of " + std::to_string(device.pressure_maximum);
    if (static_cast<double>(hardest - device.pressure_minimum) < pressure_reach_share * range)
        return {"WARN", "pressure-reach", "The hardest press reached " + reached +
                                              "; press the pen once firmly during the capture."};
    return {"PASS", "pressure-reach", "The hardest press reached " + reached + "."};
}

check_result packet_loss(const report_value& capture)
{
    const i64 lost = capture.get("lost_packets").integer(), errors = capture.get("queue_errors").integer();
    const std::string counts = std::to_string(lost) + " lost packets, " + std::to_string(errors) + " queue errors";
    if (lost > 0 || errors > 0)
        return {"FAIL", "packet-loss", "Packets went missing: " + counts + "."};
    return {"PASS", "packet-loss", "No packets went missing: " + counts +
                                       (capture.get("lost_packets").is_null() ? " (serial numbers not granted)." : ".")};
}

check_result report_rate(const report_value& capture, const device_claims& device)
{
    const report_value& rate = capture.get("in_contact").get("packets_per_second");
    if (rate.is_null() || device.packet_rate.is_null())
        return {"WARN", "report-rate", "The rate in contact cannot be compared: " +
                                           std::string(rate.is_null() ? "draw a stroke during the capture."
                                                                      : "the device does not report its rate.")};
    const std::string both = number(rate.real()) + " packets per second in contact against the device's " +
                             std::to_string(device.packet_rate.integer());
    if (rate.real() < report_rate_share * static_cast<double>(device.packet_rate.integer()))
        return {"WARN", "report-rate", "Packets arrive well below the claimed rate: " + both + "."};
    return {"PASS", "report-rate", "Packets arrive near the claimed rate: " + both + "."};
}

}  // namespace

std::vector<check_result> check_capture(const report_value& capture, const device_claims& device)
{
    if (!capture.get("unavailable").is_null())
        return {{"FAIL", "pen-apis", "No capture could run: " + capture.get("unavailable").text() + "."}};
    return {pen_apis(capture), mapping(capture), hover_pressure(capture), pressure_reach(capture, device),
            packet_loss(capture), report_rate(capture, device)};
}

}  // namespace nibscope_report
