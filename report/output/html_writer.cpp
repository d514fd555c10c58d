#include "report/output/html_writer.h"

#include "report/output/display_drawing.h"
#include "report/output/report_labels.h"
#include "report/output/report_writers.h"
#include "report/output/svg_charts.h"

namespace nibscope_report {
namespace {

using kind = report_value::kind;

// Long paths wrap anywhere rather than widen the page. Two charts share a row, so the
// first screen holds the summary, the findings and most of the charts.
const char* const page_style =
    "body{font-family:sans-serif;font-size:14px;color:#222;max-width:1000px;margin:1em auto;padding:0 1em}"
    "h1{font-size:1.5em}h2{font-size:1.2em;border-bottom:1px solid #ccc;margin-top:1.5em}"
    ".summary{background:#f4f6f8;border:1px solid #d0d7de;padding:.5em 1em;font-family:monospace;"
    "white-space:pre-wrap;overflow-wrap:anywhere}"
    "table{border-collapse:collapse;max-width:100%}th,td{text-align:left;vertical-align:top;padding:2px 8px;"
    "border-bottom:1px solid #eee;overflow-wrap:anywhere}th{font-weight:normal;color:#555;white-space:nowrap}"
    ".item{font-weight:bold;margin-top:.3em}"
    "ul.checks{list-style:none;padding:0}ul.checks li{padding:3px 6px;margin:2px 0;border-left:6px solid}"
    "ul.checks li.pass{background:#e8f5e9;border-color:#2e7d32}"
    "ul.checks li.warn{background:#fff8e1;border-color:#f9a825}"
    "ul.checks li.fail{background:#ffebee;border-color:#c62828}"
    ".outcome{font-weight:bold;font-family:monospace}"
    "ul.findings{list-style:none;padding:0}ul.findings li{padding:4px 8px;margin:4px 0;border-left:6px solid}"
    "ul.findings li.warn{background:#fff8e1;border-color:#f9a825}ul.findings li.fail{background:#ffebee;border-color:#c62828}"
    "ul.findings p{margin:.2em 0}.remedy{font-weight:bold}.clean{color:#2e7d32;font-weight:bold}"
    "details>summary{cursor:pointer}details>summary h2{display:inline-block;border:none;margin:.6em 0 .2em}"
    "section.detail{border-bottom:1px solid #ccc}"
    "figure.chart{display:inline-block;vertical-align:top;width:49%;margin:.5em 0;page-break-inside:avoid;"
    "break-inside:avoid}"
    "figure.chart svg{max-width:100%;height:auto;display:block}figcaption{color:#444;font-size:.9em}"
    "@media print{body{max-width:none}figure.chart{width:100%}}";

std::string table_of(const report_value& object, const std::string& parent, const std::string& unit);

std::string cell_of(const report_value& value, const std::string& key, const std::string& unit)
{
    if (fits_one_line(value))
        return escape_markup(text_with_unit(value, unit));
    if (value.type() == kind::object)
        return table_of(value, key, unit);
    std::string items;
    for (size_t index = 0; index < value.items().size(); ++index)
        items += "<div class=\"item\">#" + std::to_string(index) + "</div>" + table_of(value.items()[index], key, unit);
    return items;
}

// An object's unit holds for the values inside it that declare none of their own.
std::string unit_within(const std::string& key, const std::string& parent, const std::string& inherited)
{
    const std::string declared = unit_of(key, parent);
    return declared.empty() ? inherited : declared;
}

std::string table_of(const report_value& object, const std::string& parent, const std::string& unit)
{
    std::string rows;
    for (const auto& entry : object.entries())
        rows += "<tr><th>" + escape_markup(label_of(entry.first, parent)) + "</th><td>" +
                cell_of(entry.second, entry.first, unit_within(entry.first, parent, unit)) + "</td></tr>";
    return rows.empty() ? "none" : "<table>" + rows + "</table>";
}

std::string section(const std::string& id, const std::string& title, const std::string& body)
{
    return "<section id=\"" + id + "\"><h2>" + escape_markup(title) + "</h2>" + body + "</section>\n";
}

// A detail section: folded until opened, which needs no script.
std::string folded(const std::string& id, const std::string& title, const std::string& body)
{
    return "<section id=\"" + id + "\" class=\"detail\"><details><summary><h2>" + escape_markup(title) +
           "</h2></summary>" + body + "</details></section>\n";
}

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string finding_items(const report_value& findings)
{
    if (findings.items().empty())
        return "<p class=\"clean\">No problems found</p>";
    std::string items;
    for (const report_value& finding : findings.items()) {
        const std::string outcome = finding.get("outcome").text();
        items += "<li class=\"" + escape_markup(lower(outcome)) + "\"><p><span class=\"outcome\">" +
                 escape_markup(outcome) + "</span> " + escape_markup(finding.get("check").text()) + ", " +
                 escape_markup(who_can_act(finding.get("who").text())) + ": " +
                 escape_markup(finding.get("cause").text()) + "</p><p><span class=\"remedy\">Remedy:</span> " +
                 escape_markup(finding.get("remedy").text()) + "</p></li>";
    }
    return "<ul class=\"findings\">" + items + "</ul>";
}

std::string check_items(const report_value& checks)
{
    std::string items;
    for (const auto& check : checks.items()) {
        const std::string outcome = check.get("outcome").text();
        items += "<li class=\"" + escape_markup(lower(outcome)) + "\"><span class=\"outcome\">" + escape_markup(outcome) +
                 "</span> " + escape_markup(check.get("id").text()) + ": " +
                 escape_markup(check.get("sentence").text()) + "</li>";
    }
    return "<ul class=\"checks\">" + items + "</ul>";
}

}  // namespace

std::string write_html(const report_value& report, const html_extras& extras)
{
    std::string summary;
    for (const auto& line : extras.summary)
        summary += escape_markup(line) + "\n";
    std::string body = section("summary", "Summary", "<div class=\"summary\">" + summary + "</div>");
    if (!extras.checks.is_null())
        body += section("findings", "Findings", finding_items(extras.findings));
    const std::string charts = monitors_drawing(report) + extras.capture_charts;
    if (!charts.empty())
        body += section("charts", "Charts", charts);
    for (const auto& entry : report.entries()) {
        const std::string unit = unit_of(entry.first);
        body += folded(entry.first, label_of(entry.first),
                       fits_one_line(entry.second) ? "<p>" + escape_markup(text_with_unit(entry.second, unit)) + "</p>"
                                                   : cell_of(entry.second, entry.first, unit));
    }
    if (!extras.checks.is_null())
        body += folded("checks", "Checks", check_items(extras.checks));
    return "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
           "<meta charset=\"utf-8\"/>\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
           "<title>nibscope-report: WinTab driver report</title>\n<style>" +
           std::string(page_style) + "</style>\n</head>\n<body>\n<h1>WinTab driver report</h1>\n" + body +
           "</body>\n</html>\n";
}

}  // namespace nibscope_report
