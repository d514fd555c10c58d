#include "report/checks/area_checks.h"

#include "report/checks/report_tree_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace nibscope_report {
namespace {

// The same area within a pixel: drivers round the screen's size their own way.
bool same(const screen_area& a, const screen_area& b)
{
    return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 && std::abs(a.width - b.width) <= 1 &&
           std::abs(a.height - b.height) <= 1;
}

bool overlap(const screen_area& a, const screen_area& b)
{
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

std::string size_text(const screen_area& area)
{
    return format_real(area.width) + " x " + format_real(area.height) + " at " + format_real(area.left) + ", " +
           format_real(area.top);
}

std::string ratio_text(double ratio)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

// The tablet's input area in its physical shape: counts over lines per unit, where both
// axes say their resolution.
bool input_shape(const report_value& report, const report_value& context, double& width, double& height)
{
    const auto& extent = context.get("input_extent").items();
    if (extent.size() < 2 || extent[0].integer() == 0 || extent[1].integer() == 0)
        return false;
    width = std::abs(static_cast<double>(extent[0].integer()));
    height = std::abs(static_cast<double>(extent[1].integer()));
    const auto& devices = report.get("devices").items();
    const tevrin::i64 device = context.get("device").integer();
    if (device >= 0 && device < static_cast<tevrin::i64>(devices.size())) {
        const report_value& x = devices[static_cast<size_t>(device)].get("x").get("resolution");
        const report_value& y = devices[static_cast<size_t>(device)].get("y").get("resolution");
        if (x.type() == report_value::kind::real && y.type() == report_value::kind::real && x.real() > 0 && y.real() > 0) {
            width /= x.real();
            height /= y.real();
        }
    }
    return true;
}

}  // namespace

screen_area rectangle_of(const report_value& list)
{
    const auto& items = list.items();
    if (items.size() < 4)
        return {};
    return {static_cast<double>(items[0].integer()), static_cast<double>(items[1].integer()),
            static_cast<double>(items[2].integer()), static_cast<double>(items[3].integer())};
}

bool default_context_screen_area(const report_value& report, screen_area& area)
{
    const report_value& context = report.get("contexts").get("default_system");
    const auto& origin = context.get("system_origin").items();
    const auto& extent = context.get("system_extent").items();
    if (origin.size() < 2 || extent.size() < 2 || extent[0].integer() == 0 || extent[1].integer() == 0)
        return false;
    area = {static_cast<double>(origin[0].integer()), static_cast<double>(origin[1].integer()),
            std::abs(static_cast<double>(extent[0].integer())), std::abs(static_cast<double>(extent[1].integer()))};
    return true;
}

void check_aspect(check_list_builder& checks, const report_value& report)
{
    const report_value& context = report.get("contexts").get("default_system");
    double width = 0, height = 0;
    screen_area screen;
    if (!input_shape(report, context, width, height) || !default_context_screen_area(report, screen)) {
        checks.warn("aspect", "The default system context's input area or the screen area it maps to could not be read.");
        return;
    }
    const double tablet = width / height, mapped = screen.width / screen.height, stretch = mapped / tablet;
    const std::string both = "the tablet's input area has an aspect ratio of " + ratio_text(tablet) +
                             ", the screen area it maps to (" + format_real(screen.width) + " x " +
                             format_real(screen.height) + ") " + ratio_text(mapped);
    if (std::abs(stretch - 1) <= aspect_tolerance) {
        checks.pass("aspect", "The tablet and the screen area it maps to have the same shape: " + both + ".");
        return;
    }
    const bool wider = stretch > 1;
    checks.warn("aspect", "Circles drawn on the tablet come out as ellipses: " + both + ", so strokes are stretched " +
                              format_real(std::round(std::abs(stretch - 1) * 1000) / 10) + " % " +
                              (wider ? "wider" : "taller") + " than drawn.");
}

void check_context_area(check_list_builder& checks, const report_value& report)
{
    const report_value& displays = report.get("displays");
    const auto& monitors = displays.get("monitors").items();
    screen_area area;
    if (!default_context_screen_area(report, area) || monitors.empty()) {
        checks.warn("context-area", "The default system context's screen area or the monitors could not be read.");
        return;
    }
    const screen_area whole = rectangle_of(displays.get("virtual_screen"));
    std::vector<std::string> covered, exactly;
    std::set<tevrin::i64> dpis;
    for (size_t index = 0; index < monitors.size(); ++index) {
        const screen_area monitor = rectangle_of(monitors[index].get("rectangle"));
        if (same(area, monitor))
            exactly.push_back(std::to_string(index));
        if (overlap(area, monitor)) {
            covered.push_back(std::to_string(index));
            dpis.insert(monitors[index].get("dpi").integer());
        }
    }
    const std::string where = "The default system context maps the tablet onto " + size_text(area) + ", ";
    const std::string monitorsText = (covered.size() == 1 ? "monitor " : "monitors ") + joined(covered);
    if (dpis.size() > 1)
        checks.warn("context-area", where + "spanning " + monitorsText + " of different DPI: the pen moves at different speeds on them.");
    else if (!exactly.empty())
        checks.pass("context-area", where + "exactly monitor " + exactly.front() +
                                        (same(area, whole) ? ", the whole virtual screen." : "."));
    else if (same(area, whole))
        checks.pass("context-area", where + "the whole virtual screen, " + monitorsText + ".");
    else
        checks.warn("context-area", where + "neither a monitor nor the virtual screen (" + size_text(whole) +
                                        "): it covers " + (covered.empty() ? "no monitor" : "part of " + monitorsText) +
                                        ".");
}

}  // namespace nibscope_report
