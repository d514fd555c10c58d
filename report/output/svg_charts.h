#pragma once
// Charts of a pen's sample stream as inline SVG figures, each with axes, units and a
// caption. They draw neutral samples, so WinTab packets and pointer samples take the
// same charts. Platform-free.
#include <string>
#include <vector>

namespace nibscope_report {

// One sample of a pen's stream, whatever delivered it.
struct pen_sample {
    double time_ms = 0;   // the stream's own clock
    double pressure = 0;  // on the pressure axis's raw scale
    bool contact = false;
    bool nearby = true;  // no interval is measured across a sample out of proximity
    double x = 0;      // in the area's units, y growing downwards
    double y = 0;
    double azimuth = 0;  // degrees
    double altitude = 0;
    unsigned stream = 0;  // intervals are measured between samples of one stream only: a pointer's id
};

struct pressure_axis {
    double minimum = 0;
    double maximum = 0;
};

// The spacing of neighbouring samples of the same kind (hovering or in contact), both
// near, in the order they came.
struct sample_intervals {
    std::vector<double> hovering;
    std::vector<double> in_contact;
};
sample_intervals intervals_of(const std::vector<pen_sample>& samples);

// Each returns one <figure> element whose id is given; source names the stream in the
// caption ("WinTab", "Windows Ink"). Lines over time keep at most four points per pixel
// column (the first, the lowest, the highest and the last), the trail a point per pixel
// the pen moved (more for a very long path) and one dot per spot and colour: the page
// of a long capture stays small and still shows every spike and drop.
std::string pressure_over_time_chart(const std::string& id, const std::string& source,
                                     const std::vector<pen_sample>& samples, const pressure_axis& axis);
// claimed_rate: packets per second the device claims; 0 draws no mark.
std::string interval_histogram_chart(const std::string& id, const std::string& source,
                                     const std::vector<pen_sample>& samples, double claimed_rate);
// The samples in contact, one bar per distinct value over the whole axis.
std::string pressure_distribution_chart(const std::string& id, const std::vector<pen_sample>& samples,
                                        const pressure_axis& axis);
// The path over an area of width by height, hovering in grey, in contact coloured by pressure.
std::string trail_chart(const std::string& id, const std::vector<pen_sample>& samples, double width, double height,
                        const pressure_axis& axis);
std::string tilt_chart(const std::string& id, const std::vector<pen_sample>& samples);

// Text with &, <, >, " and ' as character references and every control character but
// tab and line ends as U+FFFD, for markup.
std::string escape_markup(const std::string& text);

}  // namespace nibscope_report
