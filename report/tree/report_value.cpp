#include "report/tree/report_value.h"

#include <cstdio>
#include <string>

namespace nibscope_report {

report_value& report_value::set(const std::string& key, report_value value)
{
    entries_.emplace_back(key, std::move(value));
    return *this;
}

report_value& report_value::add(report_value value)
{
    items_.push_back(std::move(value));
    return *this;
}

const report_value& report_value::get(const std::string& key) const
{
    static const report_value none;
    for (const auto& entry : entries_)
        if (entry.first == key)
            return entry.second;
    return none;
}

std::string format_real(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string result = text;
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result == "-0" ? "0" : result;
}

}  // namespace nibscope_report
