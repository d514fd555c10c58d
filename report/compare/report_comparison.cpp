#include "report/compare/report_comparison.h"

#include "report/output/report_labels.h"
#include "report/output/report_writers.h"
#include "report/output/svg_charts.h"

#include <algorithm>
#include <map>

namespace nibscope_report {
namespace {

using kind = report_value::kind;

// One plain value of a report, found by the keys leading to it.
struct leaf {
    std::string path;
    std::string label;
    std::string text;
    const report_value* value;
};

bool is_number(const report_value& value)
{
    return value.type() == kind::integer || value.type() == kind::real;
}

double number_of(const report_value& value)
{
    return value.type() == kind::integer ? static_cast<double>(value.integer()) : value.real();
}

void collect(const report_value& value, const std::string& key, const std::string& parent, const std::string& unit,
             const std::string& path, const std::string& label, std::vector<leaf>& leaves)
{
    const std::string declared = unit_of(key, parent);
    const std::string own = declared.empty() ? unit : declared;
    if (fits_one_line(value)) {
        leaves.push_back({path, label, text_with_unit(value, own), &value});
        return;
    }
    if (value.type() == kind::object) {
        for (const auto& entry : value.entries())
            collect(entry.second, entry.first, key, own, path + "." + entry.first,
                    (label.empty() ? "" : label + ": ") + label_of(entry.first, key), leaves);
        return;
    }
    for (size_t index = 0; index < value.items().size(); ++index) {
        const std::string number = "#" + std::to_string(index);
        const report_value& item = value.items()[index];
        for (const auto& entry : item.entries())
            collect(entry.second, entry.first, key, own, path + "." + number + "." + entry.first,
                    (label.empty() ? "" : label + " ") + number + " " + label_of(entry.first, key), leaves);
    }
}

std::vector<leaf> leaves_of(const report_value& section, const std::string& key)
{
    std::vector<leaf> leaves;
    if (!section.is_null())
        collect(section, key, "", "", key, "", leaves);
    return leaves;
}

std::string signed_text(double value)
{
    return (value > 0 ? "+" : "") + format_real(value);
}

std::string change_of(const report_value& before, const report_value& after)
{
    if (!is_number(before) || !is_number(after))
        return "";
    const double from = number_of(before), difference = number_of(after) - from;
    return signed_text(difference) + (from != 0 ? " (" + signed_text(100 * difference / from) + " %)" : "");
}

const char* const absent = "absent";

comparison_group compare_leaves(const std::string& title, const std::string& counted, const std::vector<leaf>& before,
                                const std::vector<leaf>& after, bool withChange)
{
    comparison_group group{title, counted, {}, 0};
    std::map<std::string, const leaf*> later;
    for (const leaf& field : after)
        later[field.path] = &field;
    for (const leaf& field : before) {
        const auto found = later.find(field.path);
        if (found == later.end()) {
            group.differences.push_back({field.label, field.text, absent, ""});
            continue;
        }
        const leaf& other = *found->second;
        later.erase(found);
        if (other.text == field.text)
            ++group.equal;
        else
            group.differences.push_back(
                {field.label, field.text, other.text, withChange ? change_of(*field.value, *other.value) : ""});
    }
    for (const leaf& field : after)
        if (later.count(field.path))
            group.differences.push_back({field.label, absent, field.text, ""});
    return group;
}

// A check may have several lines: the worst outcome stands for it. In the order the checks ran.
std::vector<std::pair<std::string, std::string>> outcomes_of(const report_value& checks)
{
    static const std::map<std::string, int> rank{{"PASS", 0}, {"WARN", 1}, {"FAIL", 2}};
    std::vector<std::pair<std::string, std::string>> outcomes;
    for (const report_value& check : checks.items()) {
        const std::string& id = check.get("id").text();
        const std::string& line = check.get("outcome").text();
        auto found = std::find_if(outcomes.begin(), outcomes.end(), [&](const auto& known) { return known.first == id; });
        if (found == outcomes.end())
            outcomes.emplace_back(id, line);
        else if (rank.count(line) && rank.count(found->second) && rank.at(line) > rank.at(found->second))
            found->second = line;
    }
    return outcomes;
}

comparison_group compare_checks(const report_value& before, const report_value& after)
{
    comparison_group group{"Checks whose outcome changed", "check outcomes", {}, 0};
    const auto first = outcomes_of(before), second = outcomes_of(after);
    const auto outcome_in = [](const auto& outcomes, const std::string& id) {
        for (const auto& known : outcomes)
            if (known.first == id)
                return known.second;
        return std::string(absent);
    };
    for (const auto& check : first) {
        const std::string later = outcome_in(second, check.first);
        if (later == check.second)
            ++group.equal;
        else
            group.differences.push_back({check.first, check.second, later, ""});
    }
    for (const auto& check : second)
        if (outcome_in(first, check.first) == absent)
            group.differences.push_back({check.first, absent, check.second, ""});
    return group;
}

std::string taken(const report_value& report)
{
    const report_value& time = report.get("system").get("report_time_utc");
    return time.type() == kind::text ? time.text() : "an unknown time";
}

// Driver library, devices, cursors and the default contexts compare field by field.
const char* const sections[][3] = {{"driver_library", "Driver library", "fields of the driver library"},
                                   {"devices", "Devices", "fields of the devices"},
                                   {"cursors", "Cursors", "fields of the cursors"},
                                   {"contexts", "Default contexts", "fields of the default contexts"}};

std::string equal_line(const report_comparison& comparison)
{
    std::string parts;
    for (const comparison_group& group : comparison.groups)
        if (group.equal > 0)
            parts += (parts.empty() ? "" : ", ") + std::to_string(group.equal) + " " + group.counted;
    return "Equal in both: " + (parts.empty() ? std::string("nothing") : parts) + ".";
}

}  // namespace

report_comparison compare_reports(const std::string& beforeName, const report_value& before,
                                  const std::string& afterName, const report_value& after)
{
    report_comparison comparison{beforeName, afterName, taken(before), taken(after), {}};
    for (const auto& section : sections)
        comparison.groups.push_back(compare_leaves(section[1], section[2], leaves_of(before.get(section[0]), section[0]),
                                                   leaves_of(after.get(section[0]), section[0]), false));
    comparison.groups.push_back(compare_checks(before.get("checks"), after.get("checks")));
    comparison.groups.push_back(
        compare_leaves("Capture", "capture figures", leaves_of(before.get("capture"), "capture"), leaves_of(after.get("capture"), "capture"), true));
    return comparison;
}

std::string comparison_text(const report_comparison& comparison)
{
    std::string text = "Comparing " + comparison.before_name + " (taken " + comparison.before_time + ") with " +
                       comparison.after_name + " (taken " + comparison.after_time + ").\n\n";
    bool differ = false;
    for (const comparison_group& group : comparison.groups) {
        if (group.differences.empty())
            continue;
        differ = true;
        text += group.title + ":\n";
        for (const compared_field& field : group.differences)
            text += "  " + field.label + ": " + field.before + " -> " + field.after +
                    (field.change.empty() ? "" : ", " + field.change) + "\n";
        text += "\n";
    }
    if (!differ)
        text += "The reports do not differ where it matters.\n";
    return text + equal_line(comparison) + "\n";
}

std::string comparison_html(const report_comparison& comparison)
{
    std::string body = "<p>" + escape_markup(comparison.before_name) + " (taken " + escape_markup(comparison.before_time) +
                       ") against " + escape_markup(comparison.after_name) + " (taken " +
                       escape_markup(comparison.after_time) + ").</p>\n";
    bool differ = false;
    for (const comparison_group& group : comparison.groups) {
        if (group.differences.empty())
            continue;
        differ = true;
        std::string rows;
        for (const compared_field& field : group.differences)
            rows += "<tr><th>" + escape_markup(field.label) + "</th><td>" + escape_markup(field.before) + "</td><td>" +
                    escape_markup(field.after) + "</td><td>" + escape_markup(field.change) + "</td></tr>";
        body += "<section><h2>" + escape_markup(group.title) + "</h2><table><tr><th>Field</th><th>" +
                escape_markup(comparison.before_name) + "</th><th>" + escape_markup(comparison.after_name) +
                "</th><th>Change</th></tr>" + rows + "</table></section>\n";
    }
    if (!differ)
        body += "<p>The reports do not differ where it matters.</p>\n";
    body += "<p class=\"equal\">" + escape_markup(equal_line(comparison)) + "</p>\n";
    return "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
           "<title>nibscope-report: two reports compared</title>\n<style>"
           "body{font-family:sans-serif;font-size:14px;color:#222;max-width:1000px;margin:1em auto;padding:0 1em}"
           "table{border-collapse:collapse}th,td{text-align:left;vertical-align:top;padding:2px 8px;"
           "border-bottom:1px solid #eee;overflow-wrap:anywhere}th{font-weight:normal;color:#555}"
           "h2{font-size:1.2em;border-bottom:1px solid #ccc}.equal{color:#555}</style>\n</head>\n<body>\n"
           "<h1>Two WinTab driver reports compared</h1>\n" + body + "</body>\n</html>\n";
}

}  // namespace nibscope_report
