// --compare's reader: every kind of bad input refused in one sentence naming the file
// (a file too large, through the real program: compare_test.py), and the fuzz target's
// seed corpus replayed (natively under the sanitizers too).
#include "report/compare/report_reader.h"
#include "report/output/report_writers.h"

#include <gmock/gmock.h>

#include <filesystem>

using namespace nibscope_report;

namespace {

std::string refusal(const std::string& text)
{
    try {
        read_report_json("r.json", text);
    } catch (const report_input_error& error) {
        return error.what();
    }
    return "accepted";
}

const std::string own = R"({"report": {"program": "nibscope-report", "version": "1.0.0.1"}})";

}  // namespace

TEST(ReportReader, BadInputIsNamedInOneSentence)
{
    const std::string deep = R"({"report": {"program": "nibscope-report"}, "x": )" + std::string(31, '[') + std::string(31, ']') + "}";
    const std::string deeper = R"({"report": {"program": "nibscope-report"}, "x": )" + std::string(32, '[') + std::string(32, ']') + "}";
    const std::pair<std::string, std::string> rows[] = {
        {own, "accepted"},
        {deep, "accepted"},
        {"", "r.json is empty."},
        {" \r\n", "r.json is empty."},
        {"report: 1", "r.json is not JSON: the text goes wrong at byte 1."},
        {own + "x", "r.json is not JSON: the text goes wrong at byte 65."},
        {"\xEF\xBB\xBF" + own, "accepted"},  // a byte-order mark, as Windows editors write
        {own.substr(0, 40), "r.json ends before its JSON does: it was cut short at byte 40."},
        {R"({"report": {"program": "nibscope-report", "version": "1.0)", "r.json ends before its JSON does: it was cut short at byte 57."},
        {deeper, "r.json nests its JSON more than 32 levels deep, deeper than any report of this program."},
        {std::string(100000, '['), "r.json nests its JSON more than 32 levels deep, deeper than any report of this program."},
        {R"({"name": "package", "report": "nibscope-report"})", "r.json is JSON, but not a report of nibscope-report --json."},
        {R"({"report": {"program": 7}})", "r.json is JSON, but not a report of nibscope-report --json."},
        {R"([{"report": {"program": "nibscope-report"}}])", "r.json is JSON, but not a report of nibscope-report --json."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(refusal(row.first), row.second) << row.first.substr(0, 80);
}

TEST(ReportReader, KeepsOrderNumbersAndTexts)
{
    const report_value report = read_report_json("r.json", R"({"report": {"program": "nibscope-report"}, "b": 1, "a": )"
                                                           R"([18446744073709551615, -2, 2.5, "\u00e9\"", null, true]})");
    EXPECT_EQ(report.entries()[1].first, "b");
    EXPECT_EQ(write_json(report.get("a")), "[\n  18446744073709551616,\n  -2,\n  2.5,\n  \"\xC3\xA9\\\"\",\n  null,\n  true\n]\n");
}

// The fuzz target's seeds: each is read or refused with a report_input_error, nothing else.
TEST(ReportReader, SeedCorpusReplays)
{
    int read = 0, refused = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(REPORT_JSON_CORPUS))) {
        const std::string text = read_report_file(entry.path().u8string());
        try {
            read_report_json(entry.path().filename().u8string(), text);
            ++read;
        } catch (const report_input_error&) {
            ++refused;
        }
    }
    EXPECT_EQ(read, 3);
    EXPECT_EQ(refused, 4);
}
