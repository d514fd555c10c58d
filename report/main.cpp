// nibscope-report: which WinTab driver answered, what the tablet says it can do, and
// whether its packets arrive whole. Exit status: 0 report written, 1 a check failed,
// 2 usage error, 3 no driver library could be loaded, 4 the report itself failed.
#include "report/capture/capture_session.h"
#include "report/capture/console_interruption.h"
#include "report/capture/pointer_input.h"
#include "report/checks/capture_checks.h"
#include "report/checks/check_findings.h"
#include "report/driver/driver_library.h"
#include "report/driver/driver_report.h"
#include "report/driver/twin_report.h"
#include "report/machine/machine_report.h"
#include "report/report_arguments.h"
#include "report/checks/report_checks.h"
#include "report/compare/report_comparison.h"
#include "report/compare/report_reader.h"
#include "report/output/capture_charts.h"
#include "report/output/html_writer.h"
#include "report/output/name_redaction.h"
#include "report/output/report_summary.h"
#include "report/output/report_writers.h"
#include "tevrin/core/callback_exception.h"
#include "tevrin/core/dll_search.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/text.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace nibscope_report {
namespace {

constexpr int exit_written = 0;
constexpr int exit_check_failed = 1;
constexpr int exit_usage = 2;
constexpr int exit_no_library = 3;
constexpr int exit_internal_failure = 4;

void write(FILE* stream, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// On a console the bytes are shown as UTF-8; redirected output is UTF-8 anyway. The
// console is the user's: its code page is put back however the program ends.
class utf8_console {
public:
    utf8_console()
    {
        DWORD mode = 0;
        if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) || GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) {
            previous_ = GetConsoleOutputCP();
            SetConsoleOutputCP(CP_UTF8);
        }
    }
    ~utf8_console()
    {
        if (previous_ != 0)
            SetConsoleOutputCP(previous_);
    }
    utf8_console(const utf8_console&) = delete;
    utf8_console& operator=(const utf8_console&) = delete;

private:
    UINT previous_ = 0;
};

// The device of the default system context, which a capture reads; null when unknown.
const report_value& default_device(const report_value& report)
{
    static const report_value unknown;
    const report_value& devices = report.get("devices");
    const tevrin::i64 device = report.get("contexts").get("default_system").get("device").integer();
    if (device < 0 || device >= static_cast<tevrin::i64>(devices.items().size()))
        return unknown;
    return devices.items()[static_cast<size_t>(device)];
}

// The device and pressure axis a capture reads.
capture_setting capture_setting_from(const report_value& report, int seconds)
{
    capture_setting setting;
    setting.seconds = seconds;
    const report_value& chosen = default_device(report);
    if (chosen.is_null())
        return setting;
    setting.pressure_minimum = static_cast<tevrin::i32>(chosen.get("normal_pressure").get("minimum").integer());
    setting.pressure_maximum = static_cast<tevrin::i32>(chosen.get("normal_pressure").get("maximum").integer());
    setting.device_has_orientation = chosen.get("orientation").get("tilt").integer() != 0;
    setting.claimed_rate = static_cast<double>(chosen.get("packet_rate").integer());
    return setting;
}

// The user's name, and the computer's as the network and the DNS know it.
std::vector<private_name> private_names()
{
    std::vector<private_name> names;
    wchar_t text[512];
    DWORD size = 512;
    if (GetUserNameW(text, &size))
        names.push_back({tevrin::ToUtf8(text), "<user>"});
    for (const COMPUTER_NAME_FORMAT format : {ComputerNameNetBIOS, ComputerNameDnsHostname}) {
        size = 512;
        if (GetComputerNameExW(format, text, &size))
            names.push_back({tevrin::ToUtf8(text), "<computer>"});
    }
    return names;
}

void write_file(const std::string& path, const std::string& content)
{
    FILE* file = _wfopen(tevrin::ToUtf16(path).c_str(), L"wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    if (std::fclose(file) != 0 || !written)
        throw std::runtime_error("cannot write " + path);
}

// What the report has read so far, and whether it has gone to standard output.
struct report_progress {
    report_value report = report_value::object();
    bool written = false;
};

// What the page repeats of the report on standard output.
struct written_report {
    std::vector<std::string> summary;
    report_value checks;
    report_value findings;
};

// The text or JSON report on standard output, the user's and the computer's names left
// out unless kept.
written_report write_report(report_progress& progress, const std::vector<check_result>& checks,
                            const report_options& options)
{
    const std::vector<private_name> privateNames = options.keep_names ? std::vector<private_name>() : private_names();
    progress.report = without_names(progress.report, privateNames);
    const report_value checkList = options.check ? without_names(check_list(checks), privateNames) : report_value();
    const std::vector<std::string> summary = summary_lines(progress.report, checkList);
    const report_value findings = options.check ? findings_of(checkList) : report_value();
    if (options.json) {
        report_value whole = with_summary(progress.report, summary, findings);
        if (options.check)
            whole.set("checks", checkList);
        write(stdout, write_json(whole));
    } else {
        write(stdout, summary_text(summary) + (options.check ? findings_text(findings) : "") + write_text(progress.report) +
                          (options.check ? "\nChecks:\n" + without_names(check_lines(checks), privateNames) : ""));
    }
    progress.written = true;
    return {summary, checkList, findings};
}

// Builds the report into progress, so that a failure part way leaves what was read.
int run(const report_options& options, report_progress& progress)
{
    report_value& report = progress.report;
    const char* const names = options.keep_names
                                  ? "kept as they are"
                                  : "the user's and the computer's names are replaced by <user> and <computer>";
    report.set("report", report_value::object().set("program", "nibscope-report").set("version", NIBSCOPE_REPORT_VERSION)
        .set("names", names));
    report.set("system", system_section());
    const driver_library library(options.driver);
    report.set("driver_library", library.section());
    std::optional<driver_queries> queries;
    if (library.loaded() && library.table().WTInfoA) {
        queries.emplace(library.table().WTInfoA);
        add_driver_sections(report, *queries);
    } else {
        add_unavailable_sections(report, library.loaded() ? "the library has no WTInfoA entry"
                                                          : "no driver library loaded: " + library.load_error());
    }
    report.set("displays", displays_section(report.get("contexts").get("default_system")));
    report.set("pointer_devices", pointer_devices_section());
    if (report_value twin = driver_32bit_section(options.keep_names); !twin.is_null())
        report.set("driver_32bit", std::move(twin));
    // The capture comes before the checks: they hold what it saw of the driver.
    capture_record capture;
    const capture_setting setting = capture_setting_from(report, options.capture_seconds);
    if (options.capture_seconds > 0) {
        if (library.loaded() && library.all_entries_present())
            capture = capture_packets(library.table(), setting, options.record);
        else
            capture.section = report_value::object().set("unavailable", "the driver library cannot open contexts");
        tevrin::rethrow_callback_exception();  // kept while the capture's window went
        report.set("capture", capture.section);
    }
    std::vector<check_result> checks;
    if (options.check) {
        checks = run_checks(library, queries ? &*queries : nullptr, report, capture.over_answers);
        if (options.capture_seconds > 0)
            for (check_result& result : check_capture(capture.section, {setting.pressure_minimum, setting.pressure_maximum,
                                                                        default_device(report).get("packet_rate")}))
                checks.push_back(std::move(result));
    }
    const written_report written = write_report(progress, checks, options);
    // After the standard output, so a page that cannot be written costs the user nothing else.
    if (!options.html.empty())
        write_file(options.html,
                   write_html(report, {written.summary, written.checks, written.findings,
                                       wintab_charts(capture.packets, capture.setting) + pointer_charts(capture.pointer)}));
    if (!library.loaded())
        return exit_no_library;
    return any_failed(checks) ? exit_check_failed : exit_written;
}

// --compare: both files are read and understood before anything is written.
int compare(const report_options& options)
{
    try {
        const report_value before = read_report_json(options.compare_before, read_report_file(options.compare_before));
        const report_value after = read_report_json(options.compare_after, read_report_file(options.compare_after));
        const report_comparison comparison = compare_reports(options.compare_before, before, options.compare_after, after);
        if (!options.html.empty())
            write_file(options.html, comparison_html(comparison));
        write(stdout, comparison_text(comparison));
        return exit_written;
    } catch (const report_input_error& error) {
        write(stderr, std::string("nibscope-report: ") + error.what() + "\n");
        return exit_usage;
    } catch (const std::exception& error) {
        write(stderr, std::string("nibscope-report: the comparison failed (") + error.what() + ").\n");
        return exit_internal_failure;
    }
}

}  // namespace
}  // namespace nibscope_report

int wmain(int argc, wchar_t** argv)
{
    using namespace nibscope_report;
    tevrin::restrict_library_search();
    tevrin::bind_delay_loaded_libraries();
    // Before the console's code page: a closing console waits for it to be put back.
    const console_interruption interruption;
    const utf8_console console;
    std::vector<std::string> arguments;
    for (int index = 1; index < argc; ++index)
        arguments.push_back(tevrin::ToUtf8(argv[index]));
    report_options options;
    try {
        options = parse_report_arguments(arguments);
    } catch (const usage_error& error) {
        write(stderr, std::string("nibscope-report: ") + error.what() + "\n" + report_usage);
        return exit_usage;
    }
    if (options.help) {
        write(stdout, report_usage);
        return exit_written;
    }
    if (!options.compare_before.empty())
        return compare(options);
    report_progress progress;
    std::string failure;
    try {
        return run(options, progress);
    } catch (const std::exception& error) {
        failure = error.what();
    } catch (const tevrin::exception& error) {
        failure = error.what();
    } catch (const char* text) {
        failure = text;
    } catch (...) {
        failure = "an unexpected exception";
    }
    // Not a verdict on the driver: a script must tell this from a failed check.
    if (!progress.written) {
        try {
            write_report(progress, {}, options);
        } catch (...) {
            // Nothing left to write the report with; the sentence below still says why.
        }
    }
    write(stderr, "nibscope-report: the report failed (" + failure + "); what it wrote is incomplete.\n");
    return exit_internal_failure;
}
