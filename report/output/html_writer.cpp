#include "report/output/html_writer.h"

#include "report/output/report_writers.h"
#include "report/output/svg_charts.h"

namespace nibscope_report {
namespace {

using kind = report_value::kind;

// Long paths wrap anywhere rather than widen the page.
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
    "figure.chart{margin:1em 0;page-break-inside:avoid;break-inside:avoid}"
    "figure.chart svg{max-width:100%;height:auto;display:block}figcaption{color:#444;font-size:.9em}"
    "@media print{body{max-width:none}}";

std::string plain_html(const report_value& value)
{
    return escape_markup(plain_text(value));
}

std::string table_of(const report_value& object);

std::string cell_of(const report_value& value)
{
    if (fits_one_line(value))
        return plain_html(value);
    if (value.type() == kind::object)
        return table_of(value);
    std::string items;
    for (size_t index = 0; index < value.items().size(); ++index)
        items += "<div class=\"item\">#" + std::to_string(index) + "</div>" + table_of(value.items()[index]);
    return items;
}

std::string table_of(const report_value& object)
{
    std::string rows;
    for (const auto& entry : object.entries())
        rows += "<tr><th>" + escape_markup(label_of(entry.first)) + "</th><td>" + cell_of(entry.second) + "</td></tr>";
    return rows.empty() ? "none" : "<table>" + rows + "</table>";
}

std::string section(const std::string& id, const std::string& title, const std::string& body)
{
    return "<section id=\"" + id + "\"><h2>" + escape_markup(title) + "</h2>" + body + "</section>\n";
}

std::string check_items(const report_value& checks)
{
    std::string items;
    for (const auto& check : checks.items()) {
        const std::string outcome = check.get("outcome").text();
        std::string style = outcome;
        for (char& c : style)
            c = static_cast<char>(c - 'A' + 'a');
        items += "<li class=\"" + escape_markup(style) + "\"><span class=\"outcome\">" + escape_markup(outcome) +
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
    for (const auto& entry : report.entries()) {
        std::string content =
            fits_one_line(entry.second) ? "<p>" + plain_html(entry.second) + "</p>" : cell_of(entry.second);
        if (entry.first == "capture")
            content += extras.capture_charts;
        body += section(entry.first, label_of(entry.first), content);
    }
    if (!extras.checks.is_null())
        body += section("checks", "Checks", check_items(extras.checks));
    return "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
           "<meta charset=\"utf-8\"/>\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
           "<title>nibscope-report: WinTab driver report</title>\n<style>" +
           std::string(page_style) + "</style>\n</head>\n<body>\n<h1>WinTab driver report</h1>\n" + body +
           "</body>\n</html>\n";
}

}  // namespace nibscope_report
