#pragma once
// The command line of nibscope-report. Platform-free.
#include <stdexcept>
#include <string>
#include <vector>

namespace nibscope_report {

struct report_options {
    std::string driver;       // --driver PATH; empty: load "wintab32.dll" by name
    int capture_seconds = 0;  // --capture SECONDS; 0: no capture
    std::string record;       // --record FILE; empty: no recording
    bool check = false;
    bool json = false;
    std::string html;  // --html FILE; empty: no page
    bool keep_names = false;
    bool help = false;
    std::string compare_before;  // --compare OLD NEW: two reports' JSON; empty: no comparison
    std::string compare_after;
};

// A command line the program cannot run: the one-line reason.
class usage_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

extern const char* const report_usage;

// The arguments after the program name. Throws usage_error.
report_options parse_report_arguments(const std::vector<std::string>& arguments);

}  // namespace nibscope_report
