#include "report/output/report_summary.h"

#include <map>
#include <set>

namespace nibscope_report {
namespace {

std::string text_of(const report_value& value)
{
    switch (value.type()) {
    case report_value::kind::integer: return std::to_string(value.integer());
    case report_value::kind::real: return format_real(value.real());
    case report_value::kind::text: return value.text();
    default: return "not reported";
    }
}

std::string driver_line(const report_value& library)
{
    if (!library.get("loaded").integer())
        return "Driver: none loaded (" + text_of(library.get("load_error")) + ")";
    return "Driver: " + text_of(library.get("path")) + ", " + text_of(library.get("company")) + ", version " +
           text_of(library.get("file_version"));
}

// The device the default system context reads, as the capture does; null when none.
const report_value* chosen_device(const report_value& report)
{
    const auto& devices = report.get("devices").items();
    const tevrin::i64 chosen = report.get("contexts").get("default_system").get("device").integer();
    if (devices.empty())
        return nullptr;
    return &devices[chosen >= 0 && chosen < static_cast<tevrin::i64>(devices.size()) ? static_cast<size_t>(chosen) : 0];
}

std::string tablet_line(const report_value& report)
{
    const report_value* device = chosen_device(report);
    if (!device)
        return "Tablet: none reported";
    return "Tablet: " + text_of(device->get("name")) + ", " + text_of(device->get("normal_pressure").get("levels")) +
           " pressure levels, " + text_of(device->get("packet_rate")) + " packets per second claimed";
}

std::string capture_line(const report_value& capture)
{
    if (!capture.get("unavailable").is_null())
        return "Capture: not made, " + text_of(capture.get("unavailable"));
    const report_value& pressure = capture.get("pressure");
    // Which pen API delivered pressure is the first thing a support engineer asks.
    const report_value& verdict = capture.get("pen_apis");
    const std::string penApis = verdict.is_null() ? "" : ", pen APIs: " + text_of(verdict);
    return "Capture: " + text_of(capture.get("packets")) + " packets in " + text_of(capture.get("seconds")) +
           " s, " + text_of(capture.get("hovering").get("packets_per_second")) + " per second hovering and " +
           text_of(capture.get("in_contact").get("packets_per_second")) + " in contact, pressure reached " +
           text_of(pressure.get("maximum")) + " (" + text_of(pressure.get("share_of_range_percent")) +
           "% of the range), lost packets: " + text_of(capture.get("lost_packets")) + penApis;
}

std::string checks_line(const report_value& checks)
{
    std::map<std::string, int> counts{{"PASS", 0}, {"WARN", 0}, {"FAIL", 0}};
    std::string failed;
    std::set<std::string> named;  // a check may fail on several answers: its id is named once
    for (const auto& check : checks.items()) {
        ++counts[check.get("outcome").text()];
        if (check.get("outcome").text() == "FAIL" && named.insert(check.get("id").text()).second)
            failed += (failed.empty() ? "; FAIL: " : ", ") + check.get("id").text();
    }
    return "Checks: " + std::to_string(counts["PASS"]) + " PASS, " + std::to_string(counts["WARN"]) + " WARN, " +
           std::to_string(counts["FAIL"]) + " FAIL" + failed;
}

// What the x86 twin found, for the "pressure works in one program but not the other" thread.
std::string twin_line(const report_value& twin)
{
    if (!twin.get("unavailable").is_null())
        return "32-bit programs: " + text_of(twin.get("unavailable"));
    const report_value& library = twin.get("driver_library");
    const std::string checks = twin.get("checks").is_null() ? "" : "; checks " + checks_line(twin.get("checks")).substr(std::string("Checks: ").size());
    if (!library.get("loaded").integer())
        return "32-bit programs: no driver loaded (" + text_of(library.get("load_error")) + ")" + checks;
    const report_value* device = chosen_device(twin);
    const std::string tablet = device ? text_of(device->get("name")) + ", " +
                                            text_of(device->get("normal_pressure").get("levels")) + " levels"
                                      : "no tablet";
    const report_value& version = library.get("file_version");
    const report_value& company = library.get("company");
    return "32-bit programs: " + text_of(library.get("path")) + " " +
           (version.is_null() ? "of no stated version" : text_of(version)) + " from " +
           (company.is_null() ? "no stated maker" : text_of(company)) + ", " + tablet + checks;
}

}  // namespace

std::vector<std::string> summary_lines(const report_value& report, const report_value& checks)
{
    std::vector<std::string> lines{driver_line(report.get("driver_library")), tablet_line(report)};
    if (!report.get("capture").is_null())
        lines.push_back(capture_line(report.get("capture")));
    if (!checks.is_null())
        lines.push_back(checks_line(checks));
    if (!report.get("driver_32bit").is_null())
        lines.push_back(twin_line(report.get("driver_32bit")));
    return lines;
}

report_value with_summary(const report_value& report, const std::vector<std::string>& lines, const report_value& findings)
{
    report_value list = report_value::list();
    for (const auto& line : lines)
        list.add(line);
    report_value out = report_value::object().set("summary", list);
    if (!findings.is_null())
        out.set("findings", findings);
    for (const auto& entry : report.entries())
        out.set(entry.first, entry.second);
    return out;
}

std::string summary_text(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text + "\n";
}

}  // namespace nibscope_report
