#pragma once
// --html: the report as one self-contained page, readable in any current browser and
// printable: no scripts, no external resources, well-formed XHTML-compatible markup.
// Platform-free.
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

struct html_extras {
    std::vector<std::string> summary;
    report_value checks;         // outcome, id and sentence of each; null when nothing was checked
    report_value findings;       // check, outcome, cause, remedy and who of each
    std::string capture_charts;  // SVG figures, shown after the findings
};

// The summary, the findings and the charts first; then every section of the text report
// with its labels, as tables, and the checks coloured by outcome, each folded.
std::string write_html(const report_value& report, const html_extras& extras);

}  // namespace nibscope_report
