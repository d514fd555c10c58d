#pragma once
// What a WARN or FAIL means and what to do about it: one cause and one remedy for each
// check outcome, addressed to whoever can act on it, declared once in one table.
// Platform-free.
#include "report/tree/report_value.h"

#include <vector>

namespace nibscope_report {

struct check_remedy {
    const char* check;
    const char* outcome;  // "WARN" or "FAIL"
    const char* who;      // "user", "drawing program" or "driver's maker"
    const char* cause;
    const char* remedy;
};

// The table, in the order the checks run.
const std::vector<check_remedy>& check_remedies();

// The remedy of a check outcome; null when the table has none.
const check_remedy* remedy_for(const std::string& check, const std::string& outcome);

// From the checks' list (outcome, id, sentence): one finding (check, outcome, cause,
// remedy, who) for each check and outcome that is not PASS, in the order of the checks.
// An outcome the table lacks still makes a finding, with its sentence as the cause and
// unknown_remedy, so a report never loses a problem for want of advice.
report_value findings_of(const report_value& checks);

extern const char* const unknown_remedy;

}  // namespace nibscope_report
