#include "report/checks/report_checks.h"

#include "report/checks/area_checks.h"
#include "report/checks/report_tree_checks.h"
#include "report/capture/report_context.h"
#include "report/driver/library_survey.h"
#include "tevrin/tablet/guarded_reads.h"

namespace nibscope_report {
namespace {

using namespace tevrin;

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
        checks.outcome(library.machine() == process_machine(), "library-machine",
                       "The library is built for " + process_machine() + ", as this process is.",
                       "The library is built for " + library.machine() + "; this process is " + process_machine() + ".");
    if (library.loaded()) {
        std::vector<std::string> wide;
        for (const auto& name : section.get("wide_entries").items())
            wide.push_back(name.text());
        checks.outcome(library.all_entries_present(), "entries-exported",
                       "The eight entries the program needs are exported; wide-character entries: " + joined(wide) + ".",
                       "Entries the program needs are missing: " + joined(library.missing_entries()) + ".");
    }
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
        std::vector<tablet_packet> packets(guarded_packet_slots(probe.queueSize));
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

}  // namespace

std::vector<check_result> run_checks(const driver_library& library, const driver_queries* queries,
                                     const report_value& report, int captureOverAnswers)
{
    check_list_builder checks;
    const report_value& section = report.get("driver_library");
    check_library(checks, library, section);
    check_search_path(checks, section);
    check_32bit_library(checks, report);
    check_32bit_tablet(checks, report);
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
    check_aspect(checks, report);
    check_context_area(checks, report);
    if (contexts) {
        check_context_opens(checks, probe);
        check_packet_count(checks, probe, captureOverAnswers);
    }
    return checks.results;
}

}  // namespace nibscope_report
