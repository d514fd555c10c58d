// Reading JSON back into a report tree: what the report's own writer prints reads back
// the same, and anything else a twin might print is refused, never half read.
#include "report/output/report_writers.h"
#include "report/tree/json_reading.h"

#include <gtest/gtest.h>

namespace nibscope_report {
namespace {

TEST(JsonReading, WhatTheWriterPrintsReadsBackTheSame)
{
    const report_value tree = report_value::object()
        .set("text", "quote \" backslash \\ tab \t line\n\x01 caf\xc3\xa9")
        .set("whole", -9007199254740993LL).set("real", 12.25).set("flag", false).set("nothing", report_value())
        .set("empty", report_value::list()).set("none", report_value::object())
        .set("rows", report_value::list().add(report_value::object().set("x", 1)).add(report_value::list().add(2)));
    const std::string json = write_json(tree);
    EXPECT_EQ(write_json(read_json(json)), json);
    EXPECT_EQ(read_json(json).get("whole").type(), report_value::kind::integer);
    EXPECT_EQ(read_json(json).get("real").type(), report_value::kind::real);
}

TEST(JsonReading, EscapesAndNumbers)
{
    EXPECT_EQ(read_json(R"("\u00e9\u20ac\ud83d\ude00a\/b\r\f\b")").text(),  // a surrogate pair is one character
              "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80" "a/b\r\f\b");
    EXPECT_DOUBLE_EQ(read_json(" -1.5e2 ").real(), -150.0);
    EXPECT_EQ(read_json("[0, -7]").items()[1].integer(), -7);
}

TEST(JsonReading, RefusesWhatIsNoOneValue)
{
    const char* const garbage[] = {
        "", "   ", "{\"loaded\": tru", "{\"a\": 1,}", "[1 2]", "{\"a\" 1}", "{1: 2}", "\"open", "\"bad \\q escape\"",
        "\"\\u12\"", "\"\\ud83d\\u0041\"", "\"raw\nline\"", "-", "{} {}", "Segmentation fault", "nul",
        "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]"};
    for (const char* text : garbage)
        EXPECT_THROW(read_json(text), json_error) << text;
}

}  // namespace
}  // namespace nibscope_report
