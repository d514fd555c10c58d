#pragma once
// Reads JSON text, such as another report's --json output or the 32-bit twin's, back
// into a report tree, with Debian's nlohmann-json. Platform-free.
#include "report/tree/report_value.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace nibscope_report {

// No report nests its tree more than six levels deep; a text that nests deeper than
// this is refused before it can cost memory.
constexpr std::size_t deepest_json_nesting = 32;

class json_error : public std::runtime_error {
public:
    enum class problem { empty, not_json, cut_short, too_deep };

    json_error(problem what, std::size_t offset);

    problem what_went_wrong() const { return problem_; }
    // The byte at which the text goes wrong.
    std::size_t offset() const { return offset_; }

private:
    problem problem_;
    std::size_t offset_;
};

// The one JSON value the text holds, in its order, whole numbers as integers; throws
// json_error for anything else (white space around it is allowed). The parser keeps its
// own stack, so no text can exhaust the program's.
report_value read_json(const std::string& text);

}  // namespace nibscope_report
