#pragma once
// --check: the tablet's area against the screen. aspect: the default system context's
// input area and the screen area it maps to differ in shape; context-area: which
// monitors that screen area covers. Platform-free.
#include "report/checks/check_result.h"
#include "report/tree/report_value.h"

namespace nibscope_report {

// Shapes differing by more than this share draw circles as ellipses a user sees.
constexpr double aspect_tolerance = 0.05;

// From the whole report: contexts.default_system, devices (the axes' resolutions) and
// displays.
void check_aspect(check_list_builder& checks, const report_value& report);
void check_context_area(check_list_builder& checks, const report_value& report);

// A screen rectangle, in pixels.
struct screen_area {
    double left = 0, top = 0, width = 0, height = 0;
};

// A rectangle as the report writes it (left, top, width, height); empty when it is not one.
screen_area rectangle_of(const report_value& list);

// The screen area the default system context maps its input onto (system origin and
// extent); false when the report does not hold it.
bool default_context_screen_area(const report_value& report, screen_area& area);

}  // namespace nibscope_report
