#pragma once
// The monitors and the screen area the tablet maps to, in one small drawing for the
// page: which monitors the pen reaches shows at a glance. Platform-free.
#include "report/tree/report_value.h"

#include <string>

namespace nibscope_report {

// One <figure> of the report's displays section and the default system context's
// screen area; empty when the report holds no monitors.
std::string monitors_drawing(const report_value& report);

}  // namespace nibscope_report
