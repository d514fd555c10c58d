#include "report/checks/check_result.h"

namespace nibscope_report {

bool any_failed(const std::vector<check_result>& results)
{
    for (const auto& result : results)
        if (result.outcome == "FAIL")
            return true;
    return false;
}

std::string check_lines(const std::vector<check_result>& results)
{
    std::string lines;
    for (const auto& result : results)
        lines += result.outcome + " " + result.id + ": " + result.sentence + "\n";
    return lines;
}

report_value check_list(const std::vector<check_result>& results)
{
    report_value list = report_value::list();
    for (const auto& result : results)
        list.add(report_value::object().set("outcome", result.outcome).set("id", result.id).set("sentence", result.sentence));
    return list;
}

}  // namespace nibscope_report
