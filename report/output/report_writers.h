#pragma once
// The two forms of a report: indented "Label: value" text for people, and one JSON
// object for programs. Both print the same tree. Platform-free.
#include "report/tree/report_value.h"

#include <string>

namespace nibscope_report {

// Top-level entries become sections, nested objects indented blocks, lists of objects
// numbered blocks ("#0", "#1" ...), lists of plain values one comma-separated line,
// null "not reported". Labels come from the keys: "packet_rate" prints "Packet rate".
std::string write_text(const report_value& report);

// Two-space indentation, keys in the tree's order, text escaped as JSON requires.
std::string write_json(const report_value& report);

std::string label_of(const std::string& key);

// A plain value or a list of them, which the text prints on one line as plain_text gives it.
bool fits_one_line(const report_value& value);
std::string plain_text(const report_value& value);

}  // namespace nibscope_report
