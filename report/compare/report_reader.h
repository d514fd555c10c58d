#pragma once
// --compare: a report's JSON read back into the report tree, from this version of the
// program or an earlier one. Whatever is wrong with a file throws a report_input_error
// whose text is one sentence naming the file and the problem. Platform-free.
#include "report/tree/report_value.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace nibscope_report {

class report_input_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No report comes near this: a capture's figures are summaries, not packets.
constexpr std::uintmax_t largest_report_file = 16u * 1024 * 1024;

// The text of a file: its size is checked before anything is read. name is UTF-8.
std::string read_report_file(const std::string& name);

// The JSON text as a tree, in its order; name is only for the sentence of an error.
// A text that is no report of nibscope-report (report.program) is refused too.
report_value read_report_json(const std::string& name, const std::string& text);

}  // namespace nibscope_report
