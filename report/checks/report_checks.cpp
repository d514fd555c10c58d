#include "report/checks/report_checks.h"

#include "report/driver/library_survey.h"
#include "report/capture/report_context.h"
#include "tevrin/tablet/guarded_reads.h"

namespace nibscope_report {
namespace {

using namespace tevrin;

class check_list_builder {
public:
    void pass(const char* id, const std::string& sentence) { results.push_back({"PASS", id, sentence}); }
    void warn(const char* id, const std::string& sentence) { results.push_back({"WARN", id, sentence}); }
    void fail(const char* id, const std::string& sentence) { results.push_back({"FAIL", id, sentence}); }
    void outcome(bool passed, const char* id, const std::string& passSentence, const std::string& failSentence)
    {
        passed ? pass(id, passSentence) : fail(id, failSentence);
    }
    std::vector<check_result> results;
};

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

std::string query_name(const query_finding& finding)
{
    return "WTInfoA(" + std::to_string(finding.category) + ", " + std::to_string(finding.index) + ") ";
}

std::vector<std::string> finding_sentences(const std::vector<query_finding>& findings, const char* id)
{
    std::vector<std::string> sentences;
    for (const auto& finding : findings)
        if (std::string(finding.check) == id)
            sentences.push_back(query_name(finding) + finding.problem + ".");
    return sentences;
}

// One line for each problem, or one passing line when there is none.
void problem_lines(check_list_builder& checks, const char* id, const std::vector<std::string>& problems,
                   const std::string& passSentence, bool warnOnly = false)
{
    for (const auto& sentence : problems)
        warnOnly ? checks.warn(id, sentence) : checks.fail(id, sentence);
    if (problems.empty())
        checks.pass(id, passSentence);
}

void check_findings(check_list_builder& checks, const std::vector<query_finding>& findings, const char* id,
                    const std::string& passSentence, bool warnOnly = false)
{
    problem_lines(checks, id, finding_sentences(findings, id), passSentence, warnOnly);
}

void check_library(check_list_builder& checks, const driver_library& library, const report_value& section)
{
    checks.outcome(library.loaded(), "library-loads",
                   "The driver library " + (section.get("path").is_null() ? std::string("") : section.get("path").text()) + " loaded.",
                   "No driver library could be loaded: " + library.load_error());
    if (!library.machine().empty())
        checks.outcome(library.machine() == "x64", "library-machine", "The library is built for x64, as this process is.",
                       "The library is built for " + library.machine() + "; this process is x64.");
    if (library.loaded()) {
        std::vector<std::string> wide;
        for (const auto& name : section.get("wide_entries").items())
            wide.push_back(name.text());
        checks.outcome(library.all_entries_present(), "entries-exported",
                       "The eight entries the program needs are exported; wide-character entries: " + joined(wide) + ".",
                       "Entries the program needs are missing: " + joined(library.missing_entries()) + ".");
    }
}

void check_search_path(check_list_builder& checks, const report_value& section)
{
    const report_value& files = section.get("search_path");
    const size_t companies = distinct_companies(files);
    // A file without a company name counts as one more company: a leftover copy of an
    // old driver often has none.
    if (files.items().size() > 1 && companies > 1)
        checks.warn("search-path-companies", std::to_string(files.items().size()) + " wintab32.dll files of " +
                                                 std::to_string(companies) + " different companies lie on the search path; "
                                                 "the first one found wins: " + files.items()[0].get("path").text() + ".");
    else
        checks.pass("search-path-companies", "No wintab32.dll files of different companies compete on the search path.");
}

// A 32-bit program loads the library in the 32-bit system folder, whatever the 64-bit
// one is: a driver that installs only the one leaves the other programs without pressure.
void check_32bit_library(check_list_builder& checks, const driver_library& library, const report_value& section)
{
    const report_value& other = section.get("wintab32_32bit");
    if (!library.loaded() || library.machine() != "x64" || !other.get("unavailable").is_null()) {
        checks.pass("32-bit-library", "No 64-bit driver library to compare with a 32-bit one.");
        return;
    }
    const auto text = [](const report_value& value) { return value.is_null() ? std::string("none") : value.text(); };
    const std::string path = other.get("path").text();
    if (other.get("exists").integer() == 0)
        checks.warn("32-bit-library", "A 64-bit driver library is installed but 32-bit programs find none at " + path + ".");
    else if (text(other.get("company")) != text(section.get("company")) ||
             text(other.get("file_version")) != text(section.get("file_version")))
        checks.warn("32-bit-library", "The 32-bit library " + path + " (" + text(other.get("company")) + ", " +
                                          text(other.get("file_version")) + ") differs from the 64-bit one (" +
                                          text(section.get("company")) + ", " + text(section.get("file_version")) + ").");
    else
        checks.pass("32-bit-library", "The 32-bit library " + path + " comes from the same company in the same version.");
}

// The interface lets a device leave its pressure axis unanswered (one without pressure
// would); the main program then draws at one width.
void check_pressure(check_list_builder& checks, const report_value& devices)
{
    for (size_t index = 0; index < devices.items().size(); ++index) {
        const std::string device = "Device " + std::to_string(index);
        const report_value& axis = devices.items()[index].get("normal_pressure");
        if (axis.is_null()) {
            checks.warn("pressure-range", device + " does not answer the pressure axis query.");
            continue;
        }
        const i64 minimum = axis.get("minimum").integer(), maximum = axis.get("maximum").integer();
        const std::string range = std::to_string(minimum) + " to " + std::to_string(maximum);
        checks.outcome(maximum > minimum, "pressure-range", device + "'s pressure axis runs from " + range + ".",
                       device + "'s pressure axis has no range: " + range + ".");
    }
}

// A program asks for cursors 0 to the counted number less one; a counted cursor that
// answers nothing leaves it without a name or buttons for the pen it sees.
void check_cursors(check_list_builder& checks, const report_value& cursors)
{
    std::vector<std::string> silent;
    for (size_t index = 0; index < cursors.items().size(); ++index)
        if (cursors.items()[index].get("name").is_null())
            silent.push_back(std::to_string(index));
    if (silent.empty())
        checks.pass("cursors-answer", "Every counted cursor answers its name query.");
    else
        checks.warn("cursors-answer", "Counted cursors that answer nothing: " + joined(silent) + " (the interface counts " +
                                          std::to_string(cursors.items().size()) + ").");
}

void check_context_rate(check_list_builder& checks, const report_value& report)
{
    const report_value& context = report.get("contexts").get("default_system");
    const report_value& devices = report.get("devices");
    if (context.is_null() || context.get("device").integer() >= static_cast<i64>(devices.items().size())) {
        checks.warn("context-rate", "The default system context or its device could not be read.");
        return;
    }
    const report_value& deviceRate = devices.items()[static_cast<size_t>(context.get("device").integer())].get("packet_rate");
    const i64 rate = context.get("packet_rate").integer();
    if (deviceRate.is_null()) {
        checks.warn("context-rate", "The device does not report its packet rate, so the default context's " +
                                        std::to_string(rate) + " packets per second cannot be compared.");
        return;
    }
    const std::string both = std::to_string(rate) + " against the device's " + std::to_string(deviceRate.integer());
    checks.outcome(rate <= deviceRate.integer(), "context-rate",
                   "The default system context's packet rate does not exceed the device's: " + both + ".",
                   "The default system context's packet rate exceeds the device's: " + both + ".");
}

LRESULT CALLBACK plain_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// What a context opened with the main program's settings shows, and one read of its queue.
struct context_probe {
    bool opened = false;
    int queueSize = 0;
    size_t settingsWritten = 0;  // by WTGetA
    bool packetsOverAnswered = false;
};

context_probe probe_context(const tablet_services& table)
{
    report_window window(L"Nibscope report check", false, plain_procedure, nullptr);
    report_context context(table, window.handle(), tablet_packet_items);
    context_probe probe;
    probe.opened = context.opened();
    probe.queueSize = context.queue_size();
    probe.settingsWritten = context.granted_written();
    if (probe.queueSize > 0) {
        std::vector<tablet_packet> packets(static_cast<size_t>(probe.queueSize));
        probe.packetsOverAnswered = get_packets(table.WTPacketsGet, context.handle(), probe.queueSize, packets.data()).over_answered;
    }
    return probe;
}

void check_context_opens(check_list_builder& checks, const context_probe& probe)
{
    if (!probe.opened)
        checks.fail("context-opens", "The driver refuses a context with the main program's settings.");
    else
        checks.outcome(probe.queueSize > 0, "context-opens",
                       "A context opens with the main program's settings and accepts a queue of " +
                           std::to_string(probe.queueSize) + " packets.",
                       "A context opens with the main program's settings but accepts no queue size.");
}

void check_record_sizes(check_list_builder& checks, const std::vector<query_finding>& findings, const context_probe& probe)
{
    std::vector<std::string> problems = finding_sentences(findings, record_size_check);
    if (probe.settingsWritten > sizeof(LOGCONTEXTA))
        problems.push_back("WTGetA wrote " + std::to_string(probe.settingsWritten) + " bytes into its context record of " +
                           std::to_string(sizeof(LOGCONTEXTA)) + " bytes.");
    problem_lines(checks, record_size_check, problems, "No record is written longer than its published size.");
}

// A driver that lies about one size tends to lie about all of them: one line names
// every query with the size it announced.
void check_size_cap(check_list_builder& checks, const std::vector<query_finding>& findings)
{
    std::vector<std::string> queries;
    for (const auto& finding : findings)
        if (std::string(finding.check) == size_cap_check)
            queries.push_back(query_name(finding) + finding.problem);
    const std::string cap = "the cap of " + std::to_string(announced_size_cap) + " bytes";
    std::vector<std::string> problems;
    if (!queries.empty())
        problems.push_back(std::to_string(queries.size()) + (queries.size() == 1 ? " size query" : " size queries") +
                           " announced more than " + cap + ": " + joined(queries) + ".");
    problem_lines(checks, size_cap_check, problems, "No size query announces more than " + cap + ".");
}

void check_packet_count(check_list_builder& checks, const context_probe& probe, int captureOverAnswers)
{
    std::vector<std::string> problems;
    if (probe.packetsOverAnswered)
        problems.push_back("WTPacketsGet answered more packets than asked for on the checked context.");
    if (captureOverAnswers > 0)
        problems.push_back("WTPacketsGet answered more packets than asked for during the capture.");
    problem_lines(checks, "packet-count", problems, "WTPacketsGet never answers more packets than asked for.");
}

// The interface lets a driver leave any query unanswered, its counts included; the
// report then probes what the main program would use.
void check_interface_counts(check_list_builder& checks, const report_value& interface)
{
    std::vector<std::string> missing;
    if (interface.get("devices").is_null())
        missing.push_back("devices (device 0 was probed)");
    if (interface.get("cursors").is_null())
        missing.push_back("cursors (the cursors the main program would use were probed)");
    if (missing.empty())
        checks.pass("interface-counts", "The interface counts its devices and cursors.");
    else
        checks.warn("interface-counts", "The interface does not count its " + joined(missing) + ".");
}

}  // namespace

std::vector<check_result> run_checks(const driver_library& library, const driver_queries* queries,
                                     const report_value& report, int captureOverAnswers)
{
    check_list_builder checks;
    const report_value& section = report.get("driver_library");
    check_library(checks, library, section);
    check_search_path(checks, section);
    check_32bit_library(checks, library, section);
    if (!queries)
        return checks.results;
    const bool answers = report.get("interface").get("answers").integer() != 0;
    checks.outcome(answers, "interface-answers", "The interface answers: WTInfoA(0, 0, NULL) is not 0.",
                   "The interface does not answer: WTInfoA(0, 0, NULL) returned 0; no tablet is connected or the driver is not running.");
    if (!answers)
        return checks.results;
    const bool contexts = library.all_entries_present();
    const context_probe probe = contexts ? probe_context(library.table()) : context_probe();
    check_interface_counts(checks, report.get("interface"));
    check_findings(checks, queries->findings(), size_check, "Every size query matches what the filled call writes.");
    check_record_sizes(checks, queries->findings(), probe);
    check_size_cap(checks, queries->findings());
    check_findings(checks, queries->findings(), terminator_check, "Every text is terminated within its size.");
    check_findings(checks, queries->quirks(), name_size_check, "The device-name size query answers the name's size.", true);
    check_cursors(checks, report.get("cursors"));
    check_pressure(checks, report.get("devices"));
    check_context_rate(checks, report);
    if (contexts) {
        check_context_opens(checks, probe);
        check_packet_count(checks, probe, captureOverAnswers);
    }
    return checks.results;
}

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
