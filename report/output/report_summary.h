#pragma once
// The few lines at the top of every form of the report, to paste into a forum post as
// they are: the driver, the tablet, the capture and the checks. Platform-free.
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

// checks: the list of outcome, id and sentence; null when nothing was checked.
std::vector<std::string> summary_lines(const report_value& report, const report_value& checks);

// The report with a "summary" list of the lines as its first entry, for JSON, and the
// findings after it unless they are null.
report_value with_summary(const report_value& report, const std::vector<std::string>& lines,
                          const report_value& findings = report_value());

// The lines, one per line, and a blank line after them.
std::string summary_text(const std::vector<std::string>& lines);

}  // namespace nibscope_report
