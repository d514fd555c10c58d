#pragma once
// --check: the checks that need nothing but the answers the report already holds (the
// driver library's files, the interface's counts, the devices, cursors and default
// context), each writing its lines into the list. Platform-free.
#include "report/checks/check_result.h"
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

// The names separated by commas, or "none".
std::string joined(const std::vector<std::string>& names);

// From the driver_library section: wintab32.dll files of several companies on the
// search path.
void check_search_path(check_list_builder& checks, const report_value& librarySection);
// From the whole report: a 64-bit library without its 32-bit twin, or with one of
// another maker or version (the one the x86 twin loaded, when driver_32bit holds it, else
// the file in the 32-bit system folder).
void check_32bit_library(check_list_builder& checks, const report_value& report);
// From the whole report: what the x86 twin saw (driver_32bit) against what this program
// sees: another tablet, other pressure levels or another default context area; no line
// when the report has no driver_32bit section.
void check_32bit_tablet(check_list_builder& checks, const report_value& report);

// From the interface section: devices and cursors counted.
void check_interface_counts(check_list_builder& checks, const report_value& interfaceSection);
// Every counted cursor answers; every device's pressure axis has a range.
void check_cursors(check_list_builder& checks, const report_value& cursors);
void check_pressure(check_list_builder& checks, const report_value& devices);
// From the whole report: the default system context's rate against its device's.
void check_context_rate(check_list_builder& checks, const report_value& report);

}  // namespace nibscope_report
