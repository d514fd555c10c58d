#pragma once
// Where and when a report was taken: the system, and the displays WinTab maps onto.
#include "report/tree/report_value.h"

namespace nibscope_report {

// windows (the name line), version, build, ansi_code_page (driver texts are converted
// from it), dpi_awareness of the process, report_time_utc.
report_value system_section();

// monitors[] (rectangle, work_area, dpi, primary), virtual_screen, and the default
// system context's output and system areas beside them.
report_value displays_section(const report_value& defaultContext);

}  // namespace nibscope_report
