#include "report/output/report_writers.h"

#include "report/output/report_labels.h"

#include <cstdio>

namespace nibscope_report {
namespace {

using kind = report_value::kind;

bool is_plain(const report_value& value)
{
    return value.type() != kind::list && value.type() != kind::object;
}

bool is_plain_list(const report_value& value)
{
    if (value.type() != kind::list)
        return false;
    for (const auto& item : value.items())
        if (!is_plain(item))
            return false;
    return true;
}

void write_entries(std::string& out, const report_value& object, const std::string& parent, const std::string& unit,
                   const std::string& indent);

// Check outcomes inside a section (the 32-bit twin's) read as the report's own check
// lines do: one line each, outcome, check and sentence.
bool is_check_list(const std::string& key, const report_value& value)
{
    return key == "checks" && value.type() == kind::list && !value.items().empty() &&
           value.items().front().get("outcome").type() == kind::text;
}

void write_check_lines(std::string& out, const report_value& checks, const std::string& indent)
{
    for (const auto& check : checks.items())
        out += indent + check.get("outcome").text() + " " + check.get("id").text() + ": " + check.get("sentence").text() +
               "\n";
}

// An object's unit holds for the values inside it that declare none of their own.
void write_entry(std::string& out, const std::string& key, const report_value& value, const std::string& parent,
                 const std::string& inheritedUnit, const std::string& indent)
{
    const std::string declared = unit_of(key, parent);
    const std::string unit = declared.empty() ? inheritedUnit : declared;
    if (fits_one_line(value)) {
        out += indent + label_of(key, parent) + ": " + text_with_unit(value, unit) + "\n";
        return;
    }
    out += indent + label_of(key, parent) + ":\n";
    if (is_check_list(key, value)) {
        write_check_lines(out, value, indent + "  ");
        return;
    }
    if (value.type() == kind::object) {
        write_entries(out, value, key, unit, indent + "  ");
        return;
    }
    for (size_t index = 0; index < value.items().size(); ++index) {
        out += indent + "  #" + std::to_string(index) + "\n";
        write_entries(out, value.items()[index], key, unit, indent + "    ");
    }
}

void write_entries(std::string& out, const report_value& object, const std::string& parent, const std::string& unit,
                   const std::string& indent)
{
    for (const auto& entry : object.entries())
        write_entry(out, entry.first, entry.second, parent, unit, indent);
}

std::string json_text(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void write_json_value(std::string& out, const report_value& value, const std::string& indent)
{
    const std::string inner = indent + "  ";
    switch (value.type()) {
    case kind::null: out += "null"; return;
    case kind::boolean: out += value.integer() ? "true" : "false"; return;
    case kind::integer: out += std::to_string(value.integer()); return;
    case kind::real: out += format_real(value.real()); return;
    case kind::text: out += json_text(value.text()); return;
    case kind::list:
        out += "[";
        for (size_t index = 0; index < value.items().size(); ++index) {
            out += (index ? ",\n" : "\n") + inner;
            write_json_value(out, value.items()[index], inner);
        }
        out += value.items().empty() ? "]" : "\n" + indent + "]";
        return;
    case kind::object:
        out += "{";
        for (size_t index = 0; index < value.entries().size(); ++index) {
            out += (index ? ",\n" : "\n") + inner + json_text(value.entries()[index].first) + ": ";
            write_json_value(out, value.entries()[index].second, inner);
        }
        out += value.entries().empty() ? "}" : "\n" + indent + "}";
        return;
    }
}

}  // namespace

std::string plain_text(const report_value& value)
{
    switch (value.type()) {
    case kind::null: return "not reported";
    case kind::boolean: return value.integer() ? "yes" : "no";
    case kind::integer: return std::to_string(value.integer());
    case kind::real: return format_real(value.real());
    case kind::text: return value.text();
    case kind::list: {
        std::string line;
        for (const auto& item : value.items())
            line += (line.empty() ? "" : ", ") + plain_text(item);
        return line.empty() ? "none" : line;
    }
    default: return std::string();
    }
}

bool fits_one_line(const report_value& value)
{
    return is_plain(value) || is_plain_list(value);
}

std::string text_with_unit(const report_value& value, const std::string& unit)
{
    const bool measured = value.type() == kind::integer || value.type() == kind::real ||
                          (value.type() == kind::list && !value.items().empty() &&
                           value.items().front().type() != kind::text);
    return plain_text(value) + (measured && !unit.empty() ? " " + unit : "");
}

std::string write_text(const report_value& report)
{
    std::string out;
    for (const auto& section : report.entries()) {
        if (!out.empty() && !is_plain(section.second))
            out += "\n";
        write_entry(out, section.first, section.second, "", "", "");
    }
    return out;
}

std::string who_can_act(const std::string& who)
{
    return "for the " + who;
}

std::string findings_text(const report_value& findings)
{
    if (findings.items().empty())
        return "No problems found\n\n";
    std::string text = "Findings:\n";
    for (const report_value& finding : findings.items())
        text += "  " + finding.get("outcome").text() + " " + finding.get("check").text() + ", " +
                who_can_act(finding.get("who").text()) + ": " + finding.get("cause").text() + "\n    Remedy: " +
                finding.get("remedy").text() + "\n";
    return text + "\n";
}

std::string write_json(const report_value& report)
{
    std::string out;
    write_json_value(out, report, "");
    return out + "\n";
}

}  // namespace nibscope_report
