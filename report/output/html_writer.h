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
    std::string capture_charts;  // SVG figures shown in the capture's section
};

// The sections of the text report with its labels, as tables; checks coloured by outcome.
std::string write_html(const report_value& report, const html_extras& extras);

}  // namespace nibscope_report
