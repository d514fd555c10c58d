#pragma once
// The two forms of a report: indented "Label: value" text for people, and one JSON
// object for programs. Both print the same tree. Platform-free.
#include "report/tree/report_value.h"

#include <string>

namespace nibscope_report {

// Top-level entries become sections, nested objects indented blocks, lists of objects
// numbered blocks ("#0", "#1" ...), lists of plain values one comma-separated line,
// null "not reported". Labels and units come from report_labels.h.
std::string write_text(const report_value& report);

// The findings after the summary: each outcome with whom it is for, its cause and its
// remedy; "No problems found" when there is none. A blank line follows.
std::string findings_text(const report_value& findings);
// "for the user", "for the drawing program", "for the driver's maker".
std::string who_can_act(const std::string& who);

// Two-space indentation, keys in the tree's order, text escaped as JSON requires.
std::string write_json(const report_value& report);

// A plain value or a list of them, which the text prints on one line as plain_text gives it.
bool fits_one_line(const report_value& value);
std::string plain_text(const report_value& value);
// The same with the unit after a number or a list of them.
std::string text_with_unit(const report_value& value, const std::string& unit);

}  // namespace nibscope_report
