#pragma once
// One line of --check, and the list the checks write their lines into. Platform-free.
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

struct check_result {
    std::string outcome;  // "PASS", "WARN" or "FAIL"
    std::string id;
    std::string sentence;
};

class check_list_builder {
public:
    void pass(const char* id, const std::string& sentence) { results.push_back({"PASS", id, sentence}); }
    void warn(const char* id, const std::string& sentence) { results.push_back({"WARN", id, sentence}); }
    void fail(const char* id, const std::string& sentence) { results.push_back({"FAIL", id, sentence}); }
    void outcome(bool passed, const char* id, const std::string& passSentence, const std::string& failSentence)
    {
        passed ? pass(id, passSentence) : fail(id, failSentence);
    }
    std::vector<check_result> results;
};

bool any_failed(const std::vector<check_result>& results);
// "OUTCOME id: sentence", a line each.
std::string check_lines(const std::vector<check_result>& results);
// The list of outcome, id and sentence of each, for the report tree.
report_value check_list(const std::vector<check_result>& results);

}  // namespace nibscope_report
