// --compare's reader and the JSON reading under it (the 32-bit twin's output is read the
// same way): what the writer prints reads back the same, every kind of bad input is
// refused in one sentence naming the file (a file too large, through the real program:
// compare_test.py), and the fuzz target's seed corpus replays (natively under the
// sanitizers too).
#include "report/compare/report_reader.h"
#include "report/output/report_writers.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <regex>

using namespace nibscope_report;

namespace {

std::string report_with(const std::string& x)
{
    return R"({"report": {"program": "nibscope-report"}, "x": )" + x + "}";
}

// The report's "x" as the writer prints it, on one line, or the sentence refusing the text.
std::string outcome(const std::string& text)
{
    try {
        return std::regex_replace(write_json(read_report_json("r.json", text).get("x")), std::regex("\n *"), "");
    } catch (const report_input_error& error) {
        return error.what();
    }
}

}  // namespace

TEST(ReportReader, WhatTheWriterPrintsReadsBackTheSame)
{
    const report_value tree = report_value::object()
        .set("report", report_value::object().set("program", "nibscope-report").set("version", "1.0.0.1"))
        .set("text", "quote \" backslash \\ tab \t line\n\x01 caf\xc3\xa9")
        .set("whole", -9007199254740993LL).set("real", 12.25).set("flag", false).set("nothing", report_value())
        .set("empty", report_value::list()).set("none", report_value::object())
        .set("rows", report_value::list().add(report_value::object().set("x", 1)).add(report_value::list().add(2)));
    // A whole number read as a real would lose its last digit; a real read as a whole number, its fraction.
    EXPECT_EQ(write_json(read_report_json("r.json", write_json(tree))), write_json(tree));
}

TEST(ReportReader, EachTextReadOrRefusedInOneSentence)
{
    const std::string own = R"({"report": {"program": "nibscope-report", "version": "1.0.0.1"}})";
    const std::string notJson = "r.json is not JSON: the text goes wrong at byte ";
    const std::string cutShort = "r.json ends before its JSON does: it was cut short at byte ";
    const std::string tooDeep = "r.json nests its JSON more than 32 levels deep, deeper than any report of this program.";
    const std::string notReport = "r.json is JSON, but not a report of nibscope-report --json.";
    const std::pair<std::string, std::string> rows[] = {
        {own, "null"}, {"\xEF\xBB\xBF" + own, "null"},  // the latter with a byte-order mark, as Windows editors write
        {report_with(R"(["\u00e9\u20ac\"", "\ud83d\ude00", "a\/b\r\f\b"])"),  // a surrogate pair is one character
         "[\"\xc3\xa9\xe2\x82\xac\\\"\",\"\xf0\x9f\x98\x80\",\"a/b\\r\\u000c\\u0008\"]"},
        {report_with("[18446744073709551615, -2, -1.5e2, null, true]"), "[18446744073709551616,-2,-150,null,true]"},
        {report_with(std::string(31, '[') + std::string(31, ']')), std::string(31, '[') + std::string(31, ']')},
        {report_with(std::string(32, '[') + std::string(32, ']')), tooDeep}, {std::string(100000, '['), tooDeep},
        {"", "r.json is empty."}, {" \r\n", "r.json is empty."}, {"report: 1", notJson + "1."}, {own + "x", notJson + "65."},
        {"{} {}", notJson + "4."}, {"-x", notJson + "2."}, {"nux", notJson + "3."}, {report_with("[1 2]"), notJson + "52."},
        {report_with(R"({"a": 1,})"), notJson + "57."}, {report_with(R"({"a" 1})"), notJson + "54."},
        {report_with("{1: 2}"), notJson + "50."}, {report_with(R"("bad \q escape")"), notJson + "55."},
        {report_with(R"("\u12")"), notJson + "54."}, {report_with(R"("\ud83d\u0041")"), notJson + "61."},
        {report_with("\"raw\nline\""), notJson + "53."}, {own.substr(0, 40), cutShort + "40."},
        {own.substr(0, 57), cutShort + "57."}, {R"({"report": {"program": 7}})", notReport},
        {R"({"name": "package", "report": "nibscope-report"})", notReport},
        {R"([{"report": {"program": "nibscope-report"}}])", notReport},
    };
    for (const auto& row : rows)
        EXPECT_EQ(outcome(row.first), row.second) << row.first.substr(0, 80);
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
