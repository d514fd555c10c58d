#include "report/report_arguments.h"

namespace nibscope_report {

const char* const report_usage =
    "usage: nibscope-report [--driver PATH] [--capture SECONDS [--record FILE]] [--check] [--json] [--html FILE] [--keep-names]\n"
    "       nibscope-report --compare OLD.json NEW.json [--html FILE]\n"
    "  --driver PATH      report on this driver library instead of the wintab32.dll that Windows finds\n"
    "  --capture SECONDS  open a window for 1 to 600 seconds and report the packets drawn in it\n"
    "  --record FILE      write every packet and pointer point of the capture to FILE as CSV\n"
    "  --check            check the driver's answers; exit status 1 when a check fails\n"
    "  --json             write the report as one JSON object\n"
    "  --html FILE        also write the report, with charts of the capture, as one web page\n"
    "  --keep-names       keep the user's and the computer's names, which are otherwise left out\n"
    "  --compare OLD NEW  compare two reports written with --json: what differs, and what is equal in one line\n"
    "  --help             print this text\n"
    "exit status: 0 report written, 1 a check failed, 2 usage error or a report --compare cannot read,\n"
    "             3 no driver library loaded,\n"
    "             4 the report itself failed (what was read is written, the reason goes to stderr)\n";

namespace {

constexpr int longest_capture = 600;

int capture_seconds_from(const std::string& text)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        throw usage_error("--capture needs a whole number of seconds, not '" + text + "'");
    const int seconds = std::stoi(text);
    if (seconds < 1 || seconds > longest_capture)
        throw usage_error("--capture takes 1 to 600 seconds, not " + text);
    return seconds;
}

}  // namespace

report_options parse_report_arguments(const std::vector<std::string>& arguments)
{
    report_options options;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool takesValue = argument == "--driver" || argument == "--capture" || argument == "--record" || argument == "--html";
        if (takesValue && (index + 1 == arguments.size() || arguments[index + 1].empty()))
            throw usage_error(argument + " needs a value");
        if (argument == "--compare") {
            if (index + 2 >= arguments.size() || arguments[index + 1].empty() || arguments[index + 2].empty())
                throw usage_error("--compare needs two files");
            options.compare_before = arguments[++index];
            options.compare_after = arguments[++index];
        } else if (argument == "--driver")
            options.driver = arguments[++index];
        else if (argument == "--capture")
            options.capture_seconds = capture_seconds_from(arguments[++index]);
        else if (argument == "--record")
            options.record = arguments[++index];
        else if (argument == "--html")
            options.html = arguments[++index];
        else if (argument == "--keep-names")
            options.keep_names = true;
        else if (argument == "--check")
            options.check = true;
        else if (argument == "--json")
            options.json = true;
        else if (argument == "--help")
            options.help = true;
        else
            throw usage_error("unknown argument '" + argument + "'");
    }
    if (!options.record.empty() && options.capture_seconds == 0)
        throw usage_error("--record needs --capture");
    const bool reportOptions = !options.driver.empty() || options.capture_seconds > 0 || options.check || options.json ||
                               options.keep_names;
    if (!options.compare_before.empty() && reportOptions)
        throw usage_error("--compare takes no other option than --html");
    return options;
}

}  // namespace nibscope_report
