#pragma once
// Reads JSON text, such as another report's --json output, back into a report tree.
// Platform-free.
#include "report/tree/report_value.h"

#include <stdexcept>
#include <string>

namespace nibscope_report {

struct json_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The value the text holds, whole numbers as integers; throws json_error, naming the
// offset, for anything that is not one JSON value (trailing white space allowed).
report_value read_json(const std::string& text);

}  // namespace nibscope_report
