#pragma once
// --check: the driver's answers held against the published interface, one line each.
#include "report/driver/driver_library.h"
#include "report/driver/driver_queries.h"
#include "report/checks/check_result.h"
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

// queries is null when the library has no information entry. report holds the
// sections already read, so nothing is asked of the driver twice. captureOverAnswers:
// the packet reads of a capture the driver answered with more packets than asked for.
std::vector<check_result> run_checks(const driver_library& library, const driver_queries* queries,
                                     const report_value& report, int captureOverAnswers = 0);

}  // namespace nibscope_report
