#pragma once
// --compare: two reports side by side where it matters for a diagnosis: the driver's
// library, the devices and cursors, the default contexts, the checks whose outcome
// changed and the capture's figures with their change; everything equal summed up.
// Platform-free.
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

struct compared_field {
    std::string label;   // the labels of its path, "#0 Pressure axis: Maximum"
    std::string before;  // with its unit; "absent" when the report lacks the field
    std::string after;
    std::string change;  // for numbers of the capture: "+10 (+33.3 %)"; else empty
};

struct comparison_group {
    std::string title;
    std::string counted;  // what the group counts as equal: "fields of the devices", "check outcomes"
    std::vector<compared_field> differences;
    int equal = 0;
};

struct report_comparison {
    std::string before_name, after_name;
    std::string before_time, after_time;  // when each report was taken
    std::vector<comparison_group> groups;
};

report_comparison compare_reports(const std::string& beforeName, const report_value& before,
                                  const std::string& afterName, const report_value& after);

// The differences group by group, one line each, and one line for all that is equal.
std::string comparison_text(const report_comparison& comparison);
// The same as one self-contained page.
std::string comparison_html(const report_comparison& comparison);

}  // namespace nibscope_report
