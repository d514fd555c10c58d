// Checks that read the report tree alone, at their edges and in the branches no Wine
// prefix shows (a 32-bit twin library of another maker or version).
#include "report/checks/report_tree_checks.h"

#include <gtest/gtest.h>

namespace nibscope_report {
namespace {

report_value twin(bool exists, const char* company = "Maker", const char* version = "1.2")
{
    return report_value::object().set("path", "C:\\S\\wintab32.dll").set("exists", exists).set("company", company)
        .set("file_version", version);
}

report_value library(const char* machine, report_value twinSection)
{
    return report_value::object().set("loaded", true).set("machine", machine).set("company", "Maker")
        .set("file_version", "1.2").set("wintab32_32bit", std::move(twinSection));
}

report_value context_on(int device, int rate, report_value deviceRate)
{
    return report_value::object()
        .set("contexts", report_value::object().set("default_system", report_value::object().set("device", device).set("packet_rate", rate)))
        .set("devices", report_value::list().add(report_value::object().set("packet_rate", std::move(deviceRate))));
}

report_value axis(int minimum, int maximum)
{
    return report_value::object().set("normal_pressure", report_value::object().set("minimum", minimum).set("maximum", maximum));
}

TEST(ReportTreeChecks, EdgesAndBranches)
{
    const std::string twinLibrary = "The 32-bit library C:\\S\\wintab32.dll ";
    const std::string none = "PASS No 64-bit driver library to compare with a 32-bit one.";
    const std::string rate = "The default system context's packet rate ";
    const report_value named = report_value::object().set("name", "Pen");
    const struct { void (*check)(check_list_builder&, const report_value&); report_value tree; std::string lines; } rows[] = {
        {check_32bit_library, library("x64", twin(true)), "PASS " + twinLibrary + "comes from the same company in the same version."},
        {check_32bit_library, library("x64", twin(true, "Other")), "WARN " + twinLibrary + "(Other, 1.2) differs from the 64-bit one (Maker, 1.2)."},
        {check_32bit_library, library("x64", twin(true, "Maker", "1.1")), "WARN " + twinLibrary + "(Maker, 1.1) differs from the 64-bit one (Maker, 1.2)."},
        {check_32bit_library, library("x64", twin(false)), "WARN A 64-bit driver library is installed but 32-bit programs find none at C:\\S\\wintab32.dll."},
        {check_32bit_library, library("x64", report_value::object().set("unavailable", "no 32-bit system folder")), none},
        {check_32bit_library, library("x86", twin(false)), none},
        {check_pressure, report_value::list().add(axis(0, 1)).add(axis(5, 5)).add(report_value::object()),
         "PASS Device 0's pressure axis runs from 0 to 1.FAIL Device 1's pressure axis has no range: 5 to 5."
         "WARN Device 2 does not answer the pressure axis query."},
        {check_cursors, report_value::list().add(report_value::object()),
         "WARN The interface counts 1 cursor, but cursor 0 answers nothing."},
        {check_cursors, report_value::list().add(report_value::object()).add(named).add(report_value::object()),
         "WARN The interface counts 3 cursors, but cursors 0, 2 answer nothing."},
        {check_context_rate, context_on(0, 200, 200), "PASS " + rate + "does not exceed the device's: 200 against the device's 200."},
        {check_context_rate, context_on(0, 201, 200), "FAIL " + rate + "exceeds the device's: 201 against the device's 200."},
        {check_context_rate, context_on(1, 200, 200), "WARN The default system context or its device could not be read."},
        {check_context_rate, context_on(0, 200, report_value()),
         "WARN The device does not report its packet rate, so the default context's 200 packets per second cannot be compared."},
    };
    for (const auto& row : rows) {
        check_list_builder checks;
        row.check(checks, row.tree);
        std::string lines;
        for (const check_result& result : checks.results)
            lines += result.outcome + " " + result.sentence;
        EXPECT_EQ(lines, row.lines);
    }
}

}  // namespace
}  // namespace nibscope_report
