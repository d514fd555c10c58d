#include "report/output/svg_charts.h"

#include "report/tree/report_value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace nibscope_report {
namespace {

constexpr double left_margin = 64;
constexpr double top_margin = 14;
constexpr double right_margin = 24;
constexpr double bottom_margin = 44;
constexpr double plot_width = 560;
constexpr double plot_height = 200;
const char* const hover_colour = "#8c8c8c";
const char* const contact_colour = "#1f5fbf";
const char* const mark_colour = "#c0392b";

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// A step of 1, 2 or 5 times a power of ten that cuts the range into about five.
double tick_step(double range)
{
    const double raw = range / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (factor * magnitude >= raw)
            return factor * magnitude;
    return 10 * magnitude;
}

// The value ranges of one chart and where they lie in its picture; y grows upwards
// unless the chart is a map of an area.
class plot {
public:
    plot(double xLow, double xHigh, double yLow, double yHigh, bool downwards = false,
         double width = plot_width, double height = plot_height)
        : xLow_(xLow), xHigh_(xHigh > xLow ? xHigh : xLow + 1), yLow_(yLow), yHigh_(yHigh > yLow ? yHigh : yLow + 1),
          downwards_(downwards), width_(width), height_(height)
    {
    }

    double x(double value) const { return left_margin + (value - xLow_) / (xHigh_ - xLow_) * width_; }
    double y(double value) const
    {
        const double share = (value - yLow_) / (yHigh_ - yLow_);
        return top_margin + (downwards_ ? share : 1 - share) * height_;
    }
    double picture_width() const { return left_margin + width_ + right_margin; }
    double picture_height() const { return top_margin + height_ + bottom_margin; }

    // The frame, ticks with their values, and the two axis titles with their units.
    std::string axes(const std::string& xTitle, const std::string& yTitle) const
    {
        const double bottom = top_margin + height_;
        std::string out = "<g class=\"axes\" font-size=\"11\" fill=\"#222\"><rect x=\"" + number(left_margin) +
                          "\" y=\"" + number(top_margin) + "\" width=\"" + number(width_) + "\" height=\"" +
                          number(height_) + "\" fill=\"none\" stroke=\"#444\"/>";
        const double xStep = tick_step(xHigh_ - xLow_);
        for (double value = std::ceil(xLow_ / xStep) * xStep; value <= xHigh_ + xStep * 1e-9; value += xStep)
            out += line(x(value), bottom, x(value), bottom + 4, "#444") + "<text x=\"" + number(x(value)) +
                   "\" y=\"" + number(bottom + 16) + "\" text-anchor=\"middle\">" + format_real(value) + "</text>";
        const double yStep = tick_step(yHigh_ - yLow_);
        for (double value = std::ceil(yLow_ / yStep) * yStep; value <= yHigh_ + yStep * 1e-9; value += yStep)
            out += line(left_margin - 4, y(value), left_margin, y(value), "#444") + "<text x=\"" +
                   number(left_margin - 6) + "\" y=\"" + number(y(value) + 4) + "\" text-anchor=\"end\">" +
                   format_real(value) + "</text>";
        out += "<text x=\"" + number(left_margin + width_ / 2) + "\" y=\"" + number(bottom + 36) +
               "\" text-anchor=\"middle\">" + escape_markup(xTitle) + "</text>";
        out += "<text transform=\"translate(14," + number(top_margin + height_ / 2) +
               ") rotate(-90)\" text-anchor=\"middle\">" + escape_markup(yTitle) + "</text></g>";
        return out;
    }

    static std::string line(double x1, double y1, double x2, double y2, const char* colour,
                            const std::string& extra = "")
    {
        return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) + "\" y2=\"" +
               number(y2) + "\" stroke=\"" + colour + "\"" + extra + "/>";
    }

private:
    double xLow_, xHigh_, yLow_, yHigh_;
    bool downwards_;
    double width_, height_;
};

std::string figure(const std::string& id, const plot& frame, const std::string& drawing, const std::string& caption)
{
    const std::string width = number(frame.picture_width()), height = number(frame.picture_height());
    return "<figure class=\"chart\" id=\"" + id + "\"><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width +
           "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height + "\" role=\"img\">" + drawing +
           "</svg><figcaption>" + escape_markup(caption) + "</figcaption></figure>\n";
}

std::string polyline(const std::vector<std::pair<double, double>>& points, const std::string& kind,
                     const char* colour)
{
    std::string coordinates;
    for (const auto& point : points)
        coordinates += (coordinates.empty() ? "" : " ") + number(point.first) + "," + number(point.second);
    return "<polyline class=\"" + kind + "\" points=\"" + coordinates + "\" fill=\"none\" stroke=\"" + colour +
           "\" stroke-width=\"1.5\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>";
}

using point_list = std::vector<std::pair<double, double>>;

// A line over time drawn with at most four points per pixel column: the first, the
// lowest, the highest and the last, in their order. A long capture's line keeps its
// look, a spike or a drop stays visible, and the page stays small.
point_list per_pixel_column(const point_list& points)
{
    point_list kept;
    for (size_t first = 0; first < points.size();) {
        size_t last = first, low = first, high = first;
        while (last + 1 < points.size() && std::floor(points[last + 1].first) == std::floor(points[first].first)) {
            ++last;
            low = points[last].second < points[low].second ? last : low;
            high = points[last].second > points[high].second ? last : high;
        }
        size_t previous = points.size();
        for (const size_t index : {first, std::min(low, high), std::max(low, high), last})
            if (index != previous)
                kept.push_back(points[previous = index]);
        first = last + 1;
    }
    return kept;
}

std::string bar(double x, double y, double width, double height, const std::string& kind, const char* colour,
                const std::string& title)
{
    return "<rect class=\"" + kind + "\" x=\"" + number(x) + "\" y=\"" + number(y) + "\" width=\"" +
           number(std::max(width, 1.0)) + "\" height=\"" + number(height) + "\" fill=\"" + colour + "\"><title>" +
           escape_markup(title) + "</title></rect>";
}

// Milliseconds for a short stream, seconds for a long one: ticks stay readable.
struct time_scale {
    double start = 0;
    double divisor = 1;
    std::string unit = "ms";

    explicit time_scale(const std::vector<pen_sample>& samples)
    {
        if (samples.empty())
            return;
        start = samples.front().time_ms;
        if (samples.back().time_ms - start > 2000) {
            divisor = 1000;
            unit = "s";
        }
    }
    double of(const pen_sample& sample) const { return (sample.time_ms - start) / divisor; }
    double span(const std::vector<pen_sample>& samples) const { return samples.empty() ? 1 : of(samples.back()); }
};

// A run of samples of one kind becomes one line, so hovering and contact differ in colour.
std::string lines_by_kind(const std::vector<pen_sample>& samples, const plot& frame, const time_scale& time)
{
    std::string out;
    std::vector<std::pair<double, double>> run;
    for (size_t index = 0; index < samples.size(); ++index) {
        run.emplace_back(frame.x(time.of(samples[index])), frame.y(samples[index].pressure));
        if (index + 1 == samples.size() || samples[index + 1].contact != samples[index].contact) {
            const bool contact = samples[index].contact;
            out += polyline(per_pixel_column(run), contact ? "in-contact" : "hovering",
                            contact ? contact_colour : hover_colour);
            run.clear();
        }
    }
    return out;
}

// The axis, widened to the values seen: a driver that reports beyond its own axis shows it.
pressure_axis span_of(const std::vector<pen_sample>& samples, pressure_axis axis)
{
    for (const auto& sample : samples) {
        axis.minimum = std::min(axis.minimum, sample.pressure);
        axis.maximum = std::max(axis.maximum, sample.pressure);
    }
    return axis;
}

double distance(const std::pair<double, double>& a, const std::pair<double, double>& b)
{
    return std::hypot(a.first - b.first, a.second - b.second);
}

// The trail keeps a point where the pen has moved this far on the chart since the last
// one kept: a pixel, or more for a path so long that it would pass trail_points.
constexpr double trail_points = 20000;
double trail_spacing(const std::vector<pen_sample>& samples, const plot& frame)
{
    double length = 0;
    for (size_t index = 1; index < samples.size(); ++index)
        length += distance({frame.x(samples[index - 1].x), frame.y(samples[index - 1].y)},
                           {frame.x(samples[index].x), frame.y(samples[index].y)});
    return std::max(1.0, length / trail_points);
}

// Light yellow at the axis minimum to dark red at its maximum.
std::string pressure_colour(double pressure, const pressure_axis& axis)
{
    const double range = axis.maximum - axis.minimum;
    const double share = range > 0 ? std::min(std::max((pressure - axis.minimum) / range, 0.0), 1.0) : 1.0;
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", static_cast<unsigned>(250 - 110 * share),
                  static_cast<unsigned>(210 * (1 - share)), static_cast<unsigned>(40 + 20 * share));
    return colour;
}

}  // namespace

std::string escape_markup(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        case '\t': case '\n': case '\r': out += c; break;
        default:
            // Markup can hold no other control character, not even as a reference.
            out += static_cast<unsigned char>(c) < 0x20 ? "\xEF\xBF\xBD" : std::string(1, c);
        }
    }
    return out;
}

sample_intervals intervals_of(const std::vector<pen_sample>& samples)
{
    sample_intervals intervals;
    for (size_t index = 1; index < samples.size(); ++index) {
        const pen_sample& before = samples[index - 1];
        const pen_sample& sample = samples[index];
        if (before.stream == sample.stream && before.contact == sample.contact && before.nearby && sample.nearby)
            (sample.contact ? intervals.in_contact : intervals.hovering).push_back(sample.time_ms - before.time_ms);
    }
    return intervals;
}

std::string pressure_over_time_chart(const std::string& id, const std::string& source,
                                     const std::vector<pen_sample>& samples, const pressure_axis& axis)
{
    const time_scale time(samples);
    const pressure_axis seen = span_of(samples, axis);
    const plot frame(0, time.span(samples), std::min(seen.minimum, 0.0), seen.maximum * 1.08);
    std::string drawing = frame.axes("Time (" + time.unit + ")", "Pressure (raw)");
    drawing += plot::line(frame.x(0), frame.y(axis.maximum), frame.x(time.span(samples)), frame.y(axis.maximum),
                          mark_colour, " class=\"axis-maximum\" stroke-dasharray=\"5,3\"");
    drawing += "<text x=\"" + number(frame.x(0) + 4) + "\" y=\"" + number(frame.y(axis.maximum) - 3) +
               "\" font-size=\"11\" fill=\"" + mark_colour + "\">axis maximum " + format_real(axis.maximum) + "</text>";
    drawing += lines_by_kind(samples, frame, time);
    return figure(id, frame, drawing,
                  source + " pressure over time, " + std::to_string(samples.size()) +
                      " samples: hovering in grey, in contact in blue; dashed: the pressure axis maximum.");
}

std::string interval_histogram_chart(const std::string& id, const std::string& source,
                                     const std::vector<pen_sample>& samples, double claimed_rate)
{
    const sample_intervals intervals = intervals_of(samples);
    std::vector<double> all = intervals.hovering;
    all.insert(all.end(), intervals.in_contact.begin(), intervals.in_contact.end());
    std::sort(all.begin(), all.end());
    const double claimedInterval = claimed_rate > 0 ? 1000 / claimed_rate : 0;
    // Intervals far beyond the usual ones share the last bar, so a stall cannot squash the rest.
    const double median = all.empty() ? 0 : all[all.size() / 2];
    const double limit = std::max({10.0, std::ceil(3 * median), std::ceil(1.5 * claimedInterval)});
    const double binWidth = std::max(1.0, std::ceil(limit / 60));
    const int lastBin = static_cast<int>(std::floor(limit / binWidth)) + 1;
    std::map<int, std::pair<int, int>> bins;  // hovering, in contact
    const auto bin_of = [&](double interval) {
        return std::min(lastBin, std::max(0, static_cast<int>(std::floor(interval / binWidth + 0.5))));
    };
    for (const double interval : intervals.hovering)
        ++bins[bin_of(interval)].first;
    for (const double interval : intervals.in_contact)
        ++bins[bin_of(interval)].second;
    int tallest = 1;
    for (const auto& entry : bins)
        tallest = std::max(tallest, entry.second.first + entry.second.second);
    const plot frame(-binWidth / 2, (lastBin + 0.5) * binWidth, 0, tallest * 1.1);
    std::string drawing = frame.axes("Interval between neighbouring samples (ms)", "Intervals");
    const double barWidth = frame.x(binWidth) - frame.x(0) - 1;
    for (const auto& entry : bins) {
        const double centre = entry.first * binWidth;
        const std::string label = entry.first == lastBin ? "at least " + format_real(centre - binWidth / 2) + " ms"
                                                         : format_real(centre) + " ms";
        const int hovering = entry.second.first, contact = entry.second.second;
        const double left = frame.x(centre - binWidth / 2) + 0.5;
        if (hovering > 0)
            drawing += bar(left, frame.y(hovering), barWidth, frame.y(0) - frame.y(hovering), "hovering", hover_colour,
                           label + ": " + std::to_string(hovering) + " hovering");
        if (contact > 0)
            drawing += bar(left, frame.y(hovering + contact), barWidth, frame.y(hovering) - frame.y(hovering + contact),
                           "in-contact", contact_colour, label + ": " + std::to_string(contact) + " in contact");
    }
    std::string caption = source + " packet intervals: " + std::to_string(intervals.hovering.size()) +
                          " hovering in grey, " + std::to_string(intervals.in_contact.size()) +
                          " in contact in blue; the last bar holds every longer interval";
    if (claimedInterval > 0) {
        drawing += plot::line(frame.x(claimedInterval), frame.y(0), frame.x(claimedInterval), frame.y(tallest * 1.1),
                              mark_colour, " class=\"claimed-rate\" stroke-dasharray=\"5,3\"");
        drawing += "<text x=\"" + number(frame.x(claimedInterval) + 4) + "\" y=\"" + number(top_margin + 12) +
                   "\" font-size=\"11\" fill=\"" + mark_colour + "\">claimed " + format_real(claimed_rate) +
                   "/s</text>";
        caption += "; dashed: the device's claimed rate, " + format_real(claimed_rate) + " packets per second (" +
                   format_real(claimedInterval) + " ms)";
    }
    return figure(id, frame, drawing, caption + ".");
}

std::string pressure_distribution_chart(const std::string& id, const std::vector<pen_sample>& samples,
                                        const pressure_axis& axis)
{
    std::map<double, int> counts;
    for (const auto& sample : samples)
        if (sample.contact)
            ++counts[sample.pressure];
    int tallest = 1;
    for (const auto& entry : counts)
        tallest = std::max(tallest, entry.second);
    const pressure_axis seen = span_of(samples, axis);
    const plot frame(seen.minimum - 0.5, seen.maximum + 0.5, 0, tallest * 1.1);
    std::string drawing = frame.axes("Pressure (raw)", "Samples in contact");
    const double barWidth = frame.x(1) - frame.x(0);
    // Values that share a pixel column share one bar, as tall as the most seen of them:
    // an axis of thousands of levels draws a few hundred bars, not thousands.
    for (auto entry = counts.begin(); entry != counts.end();) {
        const double column = std::floor(frame.x(entry->first));
        auto last = entry;
        int most = entry->second;
        for (auto next = std::next(entry); next != counts.end() && std::floor(frame.x(next->first)) == column; ++next)
            most = std::max(most, (last = next)->second);
        const std::string values = last == entry ? format_real(entry->first)
                                                 : format_real(entry->first) + " to " + format_real(last->first);
        drawing += bar(frame.x(entry->first - 0.5), frame.y(most), std::max(barWidth, frame.x(last->first) -
                       frame.x(entry->first) + barWidth), frame.y(0) - frame.y(most), "pressure-value", contact_colour,
                       "pressure " + values + ": " + (last == entry ? "" : "up to ") + std::to_string(most) + " samples");
        entry = std::next(last);
    }
    return figure(id, frame, drawing,
                  "Pressure values seen in contact: " + std::to_string(counts.size()) +
                      " distinct values over the axis " + format_real(axis.minimum) + " to " +
                      format_real(axis.maximum) + "; gaps between bars mean values the pen never reports.");
}

std::string trail_chart(const std::string& id, const std::vector<pen_sample>& samples, double width, double height,
                        const pressure_axis& axis)
{
    width = std::max(width, 1.0);
    height = std::max(height, 1.0);
    const double scale = std::min(plot_width / width, 300 / height);
    const plot frame(0, width, 0, height, true, width * scale, height * scale);
    std::string drawing = frame.axes("x (output units)", "y (output units, downwards)");
    const double spacing = trail_spacing(samples, frame);
    point_list path;
    std::string dots;
    std::set<std::string> drawn;  // a pen held still, or passing again, repeats its dot: one is enough
    for (size_t index = 0; index < samples.size(); ++index) {
        const pen_sample& sample = samples[index];
        const std::pair<double, double> at{frame.x(sample.x), frame.y(sample.y)};
        const bool turns = index > 0 && sample.contact != samples[index - 1].contact;
        if (path.empty() || turns || index + 1 == samples.size() || distance(path.back(), at) >= spacing)
            path.push_back(at);
        else
            continue;
        // Dots on a grid of their own size: overlapping dots of one colour add nothing.
        const double cell = std::max(spacing, 2.0);
        const std::string colour = sample.contact ? pressure_colour(sample.pressure, axis) : hover_colour;
        const std::string key = std::to_string(std::lround(at.first / cell)) + "," +
                                std::to_string(std::lround(at.second / cell)) + colour;
        if (drawn.insert(key).second)
            dots += "<circle class=\"" + std::string(sample.contact ? "in-contact" : "hovering") + "\" cx=\"" +
                    number(at.first) + "\" cy=\"" + number(at.second) + "\" r=\"" + (sample.contact ? "2.5" : "1.5") +
                    "\" fill=\"" + colour + "\"/>";
    }
    drawing += polyline(path, "trail", "#bbbbbb") + dots;
    return figure(id, frame, drawing,
                  "The pen's trail over the context's output area (" + format_real(width) + " x " +
                      format_real(height) + "): hovering in grey, in contact from yellow (light pressure) to "
                                            "dark red (the axis maximum).");
}

std::string tilt_chart(const std::string& id, const std::vector<pen_sample>& samples)
{
    const time_scale time(samples);
    double lowest = 0;  // altitudes below 0 when the pen is held upside down
    for (const auto& sample : samples)
        lowest = std::min({lowest, sample.altitude, sample.azimuth});
    const plot frame(0, time.span(samples), lowest, 360);
    std::vector<std::pair<double, double>> azimuths, altitudes;
    for (const auto& sample : samples) {
        azimuths.emplace_back(frame.x(time.of(sample)), frame.y(sample.azimuth));
        altitudes.emplace_back(frame.x(time.of(sample)), frame.y(sample.altitude));
    }
    const std::string drawing = frame.axes("Time (" + time.unit + ")", "Angle (degrees)") +
                                polyline(per_pixel_column(azimuths), "azimuth", contact_colour) +
                                polyline(per_pixel_column(altitudes), "altitude", "#d35400");
    return figure(id, frame, drawing, "Tilt over time: azimuth in blue, altitude in orange, in degrees.");
}

}  // namespace nibscope_report
