#pragma once
// Reports get posted in public: the user's and the computer's names are replaced by
// placeholders wherever they occur. Platform-free.
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

struct private_name {
    std::string name;  // UTF-8; empty names are ignored
    std::string placeholder;
};

// Every occurrence of a name, ignoring the case of ASCII letters, that stands between
// characters other than letters and digits ("C:\Users\ann\" but not "Planner"): a
// short name must not eat other words.
std::string without_names(const std::string& text, const std::vector<private_name>& names);
// The tree with every text and key passed through the above.
report_value without_names(const report_value& value, const std::vector<private_name>& names);

}  // namespace nibscope_report
