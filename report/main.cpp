// nibscope-report: which WinTab driver answered, what the tablet says it can do, and
// whether its packets arrive whole. Exit status: 0 report written, 1 a check failed,
// 2 usage error, 3 no driver library could be loaded, 4 the report itself failed.
#include "report/capture/capture_session.h"
#include "report/driver/driver_library.h"
#include "report/driver/driver_report.h"
#include "report/report_arguments.h"
#include "report/checks/report_checks.h"
#include "report/output/report_writers.h"
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

void write_report(const report_value& report, const std::vector<check_result>& checks, const report_options& options)
{
    if (options.json)
        write(stdout, write_json(report));
    else
        write(stdout, write_text(report) + (options.check ? "\nChecks:\n" + check_lines(checks) : ""));
}

// The device and pressure axis a capture reads, from the default system context.
capture_setting capture_setting_from(const report_value& report, int seconds)
{
    capture_setting setting;
    setting.seconds = seconds;
    const report_value& devices = report.get("devices");
    const tevrin::i64 device = report.get("contexts").get("default_system").get("device").integer();
    if (device < 0 || device >= static_cast<tevrin::i64>(devices.items().size()))
        return setting;
    const report_value& chosen = devices.items()[static_cast<size_t>(device)];
    setting.pressure_minimum = static_cast<tevrin::i32>(chosen.get("normal_pressure").get("minimum").integer());
    setting.pressure_maximum = static_cast<tevrin::i32>(chosen.get("normal_pressure").get("maximum").integer());
    setting.device_has_orientation = chosen.get("orientation").get("tilt").integer() != 0;
    return setting;
}

// Builds the report into report, so that a failure part way leaves what was read.
int run(const report_options& options, report_value& report)
{
    report.set("report", report_value::object().set("program", "nibscope-report").set("version", NIBSCOPE_REPORT_VERSION));
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
    // The capture comes first: the checks hold what it saw of the driver.
    capture_record capture;
    if (options.capture_seconds > 0) {
        if (library.loaded() && library.all_entries_present())
            capture = capture_packets(library.table(), capture_setting_from(report, options.capture_seconds));
        else
            capture.section = report_value::object().set("unavailable", "the driver library cannot open contexts");
    }
    std::vector<check_result> checks;
    if (options.check) {
        checks = run_checks(library, queries ? &*queries : nullptr, report, capture.over_answers);
        if (options.json)
            report.set("checks", check_list(checks));
    }
    if (options.capture_seconds > 0)
        report.set("capture", capture.section);
    write_report(report, checks, options);
    if (!library.loaded())
        return exit_no_library;
    return any_failed(checks) ? exit_check_failed : exit_written;
}

}  // namespace
}  // namespace nibscope_report

int wmain(int argc, wchar_t** argv)
{
    using namespace nibscope_report;
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
    report_value report = report_value::object();
    std::string failure;
    try {
        return run(options, report);
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
    try {
        write_report(report, {}, options);
    } catch (...) {
        // Nothing left to write the report with; the sentence below still says why.
    }
    write(stderr, "nibscope-report: the report failed (" + failure + "); what it wrote is incomplete.\n");
    return exit_internal_failure;
}
