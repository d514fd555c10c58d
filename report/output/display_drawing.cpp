#include "report/output/display_drawing.h"

#include "report/checks/area_checks.h"
#include "report/output/svg_charts.h"

#include <algorithm>
#include <cstdio>

namespace nibscope_report {
namespace {

constexpr double drawing_width = 480;
constexpr double drawing_height = 240;
constexpr double margin = 10;

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// Screen pixels onto the drawing, one scale for both directions.
class layout {
public:
    layout(double left, double top, double right, double bottom)
        : left_(left), top_(top),
          scale_(std::min((drawing_width - 2 * margin) / std::max(right - left, 1.0),
                          (drawing_height - 2 * margin) / std::max(bottom - top, 1.0)))
    {
    }
    std::string rect(const screen_area& area, const std::string& attributes) const
    {
        return "<rect x=\"" + number(margin + (area.left - left_) * scale_) + "\" y=\"" +
               number(margin + (area.top - top_) * scale_) + "\" width=\"" + number(area.width * scale_) +
               "\" height=\"" + number(area.height * scale_) + "\" " + attributes + "/>";
    }
    std::string label(const screen_area& area, const std::string& text) const
    {
        return "<text x=\"" + number(margin + (area.left - left_) * scale_ + 4) + "\" y=\"" +
               number(margin + (area.top - top_) * scale_ + 14) + "\" font-size=\"11\" fill=\"#222\">" +
               escape_markup(text) + "</text>";
    }

private:
    double left_, top_, scale_;
};

}  // namespace

std::string monitors_drawing(const report_value& report)
{
    const report_value& displays = report.get("displays");
    const auto& monitors = displays.get("monitors").items();
    if (monitors.empty())
        return std::string();
    screen_area whole = rectangle_of(displays.get("virtual_screen"));
    screen_area mapped;
    const bool known = default_context_screen_area(report, mapped);
    double left = whole.left, top = whole.top, right = whole.left + whole.width, bottom = whole.top + whole.height;
    if (known) {
        left = std::min(left, mapped.left), top = std::min(top, mapped.top);
        right = std::max(right, mapped.left + mapped.width), bottom = std::max(bottom, mapped.top + mapped.height);
    }
    const layout place(left, top, right, bottom);
    std::string drawing = place.rect(whole, "class=\"virtual-screen\" fill=\"none\" stroke=\"#444\" stroke-dasharray=\"4,3\"");
    for (size_t index = 0; index < monitors.size(); ++index) {
        const screen_area monitor = rectangle_of(monitors[index].get("rectangle"));
        const report_value& dpi = monitors[index].get("dpi");
        drawing += place.rect(monitor, "class=\"monitor\" fill=\"#eef1f4\" stroke=\"#667\"") +
                   place.label(monitor, "#" + std::to_string(index) + " " + format_real(monitor.width) + " x " +
                                            format_real(monitor.height) +
                                            (dpi.is_null() ? "" : ", " + std::to_string(dpi.integer()) + " DPI"));
    }
    if (known)
        drawing += place.rect(mapped, "class=\"tablet-area\" fill=\"#e74c3c\" fill-opacity=\"0.3\" stroke=\"#c0392b\" "
                                      "stroke-width=\"2\"");
    const std::string width = number(drawing_width), height = number(drawing_height);
    return "<figure class=\"chart\" id=\"displays\"><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width +
           "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height + "\" role=\"img\">" + drawing +
           "</svg><figcaption>The monitors (grey, numbered as in the displays section, with their DPI), the virtual "
           "screen (dashed) and the screen area the tablet maps to (red)" +
           (known ? std::string(".") : std::string(": not reported.")) + "</figcaption></figure>\n";
}

}  // namespace nibscope_report
