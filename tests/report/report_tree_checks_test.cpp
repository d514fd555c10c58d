// Checks that read the report tree alone, at their edges and in the branches no Wine
// prefix shows (a 32-bit twin library of another maker or version, a 32-bit tablet
// that differs in each of its parts).
#include "report/checks/report_tree_checks.h"

#include <gtest/gtest.h>

namespace nibscope_report {
namespace {

report_value twin(bool exists, const char* company = "Maker", const char* version = "1.2")
{
    return report_value::object().set("path", "C:\\S\\wintab32.dll").set("exists", exists).set("company", company)
        .set("file_version", version);
}

report_value library(const char* machine, report_value twinSection, report_value driver32 = report_value())
{
    report_value report = report_value::object().set("driver_library", report_value::object().set("loaded", true)
        .set("machine", machine).set("company", "Maker").set("file_version", "1.2").set("wintab32_32bit", std::move(twinSection)));
    if (!driver32.is_null())
        report.set("driver_32bit", std::move(driver32));
    return report;
}

// What the x86 twin loaded: its library's version, or none.
report_value twin_loaded(const char* version)
{
    report_value loaded = report_value::object().set("requested", "wintab32.dll").set("loaded", version != nullptr);
    if (version)
        loaded.set("path", "C:\\T\\wintab32.dll").set("company", "Maker").set("file_version", version);
    return report_value::object().set("driver_library", loaded);
}

report_value triple(int x, int y)
{
    return report_value::list().add(x).add(y).add(0);
}

// A report, or a twin's section, whose default system context reads device 0.
report_value tablet(const char* name, int levels, int extentX)
{
    return report_value::object()
        .set("devices", report_value::list().add(report_value::object().set("name", name)
            .set("normal_pressure", report_value::object().set("levels", levels))))
        .set("contexts", report_value::object().set("default_system", report_value::object().set("device", 0)
            .set("output_origin", triple(0, 0)).set("output_extent", triple(extentX, 9500))));
}

report_value with_twin(report_value report, report_value twinSection)
{
    return report.set("driver_32bit", std::move(twinSection));
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
    const std::string sameMaker = "is of the same maker and version as the 64-bit one (Maker, 1.2).";
    const std::string otherMaker = " is of another maker or version than the 64-bit one (Maker, 1.2).";
    const std::string seen = "WARN A 32-bit program would see ";
    const report_value named = report_value::object().set("name", "Pen");
    const struct { void (*check)(check_list_builder&, const report_value&); report_value tree; std::string lines; } rows[] = {
        {check_32bit_library, library("x64", twin(true)), "PASS " + twinLibrary + sameMaker},
        {check_32bit_library, library("x64", twin(true, "Other")), "WARN " + twinLibrary + "(Other, 1.2)" + otherMaker},
        {check_32bit_library, library("x64", twin(true, "Maker", "1.1")), "WARN " + twinLibrary + "(Maker, 1.1)" + otherMaker},
        // What the twin loaded counts over the file in the 32-bit system folder.
        {check_32bit_library, library("x64", twin(false), twin_loaded("1.2")), "PASS The 32-bit library C:\\T\\wintab32.dll " + sameMaker},
        {check_32bit_library, library("x64", twin(true), twin_loaded("1.0")), "WARN The 32-bit library C:\\T\\wintab32.dll (Maker, 1.0)" + otherMaker},
        {check_32bit_library, library("x64", twin(true), twin_loaded(nullptr)),
         "WARN A 64-bit driver library is installed but 32-bit programs find none at wintab32.dll."},
        {check_32bit_library, library("x64", twin(false)), "WARN A 64-bit driver library is installed but 32-bit programs find none at C:\\S\\wintab32.dll."},
        {check_32bit_library, library("x64", report_value::object().set("unavailable", "no 32-bit system folder")), none},
        {check_32bit_library, library("x86", twin(false)), none},
        {check_32bit_tablet, tablet("Pad", 1024, 15200), ""},
        {check_32bit_tablet, with_twin(tablet("Pad", 1024, 15200), report_value::object().set("unavailable", "The twin hung.")),
         "WARN What 32-bit programs see is unknown: The twin hung."},
        {check_32bit_tablet, with_twin(tablet("Pad", 1024, 15200), tablet("Pad", 1024, 15200)),
         "PASS 32-bit programs see the same tablet, pressure levels and default context area as 64-bit ones."},
        {check_32bit_tablet, with_twin(tablet("Pad", 1024, 15200), tablet("Pad", 2048, 15200)), seen + "2048 pressure levels instead of 1024."},
        {check_32bit_tablet, with_twin(tablet("Pad", 1024, 15200), tablet("Old Pad", 256, 7600)),
         seen + "tablet Old Pad instead of Pad, 256 pressure levels instead of 1024, default context area 0 0 0 7600 9500 0 "
         "instead of 0 0 0 15200 9500 0."},
        {check_32bit_tablet, with_twin(tablet("Pad", 1024, 15200), twin_loaded(nullptr)),
         seen + "no tablet instead of Pad."},
        {check_32bit_tablet, with_twin(twin_loaded(nullptr), tablet("Pad", 1024, 15200)), seen + "tablet Pad where 64-bit programs see none."},
        {check_32bit_tablet, with_twin(twin_loaded(nullptr), twin_loaded(nullptr)),
         "PASS 32-bit programs see the same tablet, pressure levels and default context area as 64-bit ones."},
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
