#pragma once
// One line of --check. Platform-free.
#include <string>

namespace nibscope_report {

struct check_result {
    std::string outcome;  // "PASS", "WARN" or "FAIL"
    std::string id;
    std::string sentence;
};

}  // namespace nibscope_report
