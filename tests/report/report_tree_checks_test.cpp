// Checks that read the report tree alone, at their edges and in the branches no Wine
// prefix shows (a 32-bit twin library of another maker or version, a 32-bit tablet
// that differs in each of its parts).
#include "report/checks/area_checks.h"
#include "report/checks/report_tree_checks.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace nibscope_report {
namespace {

report_value twin(bool exists, const char* company = "Maker", const char* version = "1.2")
{
    return report_value::object().set("path", "C:\\S\\wintab32.dll").set("exists", exists).set("company", company)
        .set("file_version", version);
}

report_value library(const char* machine, report_value twinSection)
{
    return report_value::object().set("driver_library", report_value::object().set("loaded", true).set("machine", machine)
        .set("company", "Maker").set("file_version", "1.2").set("wintab32_32bit", std::move(twinSection)));
}

// What the x86 twin loaded: its library's version, or none.
report_value twin_loaded(const char* version)
{
    report_value loaded = report_value::object().set("requested", "wintab32.dll").set("loaded", version != nullptr);
    if (version)
        loaded.set("path", "C:\\T\\wintab32.dll").set("company", "Maker").set("file_version", version);
    return report_value::object().set("driver_library", loaded);
}

report_value numbers(std::initializer_list<int> values)
{
    report_value list = report_value::list();
    for (const int value : values)
        list.add(value);
    return list;
}

// A report, or a twin's section, whose default system context reads device 0.
report_value tablet(const char* name, int levels, int extentX)
{
    return report_value::object()
        .set("devices", report_value::list().add(report_value::object().set("name", name)
            .set("normal_pressure", report_value::object().set("levels", levels))))
        .set("contexts", report_value::object().set("default_system", report_value::object().set("device", 0)
            .set("output_origin", numbers({0, 0, 0})).set("output_extent", numbers({extentX, 9500, 0}))));
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

// A desk of 1920 x 1080 at 96 DPI with 1280 x 1024 at dpi right of it, and a tablet of
// 15200 x 9500 counts (16:10) at the resolutions given, mapped onto area.
report_value desk(report_value area, int dpi = 96, double xResolution = 1000, double yResolution = 1000)
{
    const auto monitor = [](report_value rectangle, int monitorDpi) {
        return report_value::object().set("rectangle", std::move(rectangle)).set("dpi", monitorDpi);
    };
    const auto& items = area.items();
    return report_value::object()
        .set("devices", report_value::list().add(report_value::object()
            .set("x", report_value::object().set("resolution", xResolution))
            .set("y", report_value::object().set("resolution", yResolution))))
        .set("contexts", report_value::object().set("default_system", report_value::object().set("device", 0)
            .set("input_extent", numbers({15200, 9500, 1024})).set("system_origin", report_value::list().add(items[0]).add(items[1]))
            .set("system_extent", report_value::list().add(items[2]).add(items[3]))))
        .set("displays", report_value::object().set("monitors", report_value::list()
            .add(monitor(numbers({0, 0, 1920, 1080}), 96)).add(monitor(numbers({1920, 0, 1280, 1024}), dpi)))
            .set("virtual_screen", numbers({0, 0, 3200, 1080})));
}

// The checks of the tablet's area on a desk of two monitors are rows here too.
TEST(ReportTreeChecks, EdgesAndBranches)
{
    const std::string onto = "The default system context maps the tablet onto ";
    const std::string ellipses = "WARN Circles drawn on the tablet come out as ellipses: the tablet's input area has an "
                                 "aspect ratio of 1.60, the screen area it maps to (";
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
        {check_32bit_library, library("x64", twin(false)).set("driver_32bit", twin_loaded("1.2")), "PASS The 32-bit library C:\\T\\wintab32.dll " + sameMaker},
        {check_32bit_library, library("x64", twin(true)).set("driver_32bit", twin_loaded("1.0")), "WARN The 32-bit library C:\\T\\wintab32.dll (Maker, 1.0)" + otherMaker},
        {check_32bit_library, library("x64", twin(true)).set("driver_32bit", twin_loaded(nullptr)),
         "WARN A 64-bit driver library is installed but 32-bit programs find none at wintab32.dll."},
        {check_32bit_library, library("x64", twin(false)), "WARN A 64-bit driver library is installed but 32-bit programs find none at C:\\S\\wintab32.dll."},
        {check_32bit_library, library("x64", report_value::object().set("unavailable", "no 32-bit system folder")), none},
        {check_32bit_library, library("x86", twin(false)), none},
        {check_32bit_tablet, tablet("Pad", 1024, 15200), ""},
        {check_32bit_tablet, tablet("Pad", 1024, 15200).set("driver_32bit", report_value::object().set("unavailable", "The twin hung.")),
         "WARN What 32-bit programs see is unknown: The twin hung."},
        {check_32bit_tablet, tablet("Pad", 1024, 15200).set("driver_32bit", tablet("Pad", 1024, 15200)),
         "PASS 32-bit programs see the same tablet, pressure levels and default context area as 64-bit ones."},
        {check_32bit_tablet, tablet("Pad", 1024, 15200).set("driver_32bit", tablet("Pad", 2048, 15200)), seen + "2048 pressure levels instead of 1024."},
        {check_32bit_tablet, tablet("Pad", 1024, 15200).set("driver_32bit", tablet("Old Pad", 256, 7600)),
         seen + "tablet Old Pad instead of Pad, 256 pressure levels instead of 1024, default context area 0 0 0 7600 9500 0 "
         "instead of 0 0 0 15200 9500 0."},
        {check_32bit_tablet, tablet("Pad", 1024, 15200).set("driver_32bit", twin_loaded(nullptr)), seen + "no tablet instead of Pad."},
        {check_32bit_tablet, twin_loaded(nullptr).set("driver_32bit", tablet("Pad", 1024, 15200)), seen + "tablet Pad where 64-bit programs see none."},
        {check_32bit_tablet, twin_loaded(nullptr).set("driver_32bit", twin_loaded(nullptr)),
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
        {check_aspect, desk(numbers({0, 0, 1812, 1080})), "PASS The tablet and the screen area it maps to have the same "
         "shape: the tablet's input area has an aspect ratio of 1.60, the screen area it maps to (1812 x 1080) 1.68."},
        {check_aspect, desk(numbers({0, 0, 1816, 1080})), ellipses + "1816 x 1080) 1.68, so strokes are stretched 5.1 % wider than drawn."},
        {check_aspect, desk(numbers({1920, 0, 1280, 1024})), ellipses + "1280 x 1024) 1.25, so strokes are stretched 21.9 % taller than drawn."},
        // 2000 lines per unit across, 1000 down: the tablet is 7.6 by 9.5 units, taller than wide.
        {check_aspect, desk(numbers({0, 0, 864, 1080}), 96, 2000, 1000), "PASS The tablet and the screen area it maps to have "
         "the same shape: the tablet's input area has an aspect ratio of 0.80, the screen area it maps to (864 x 1080) 0.80."},
        {check_aspect, report_value::object(), "WARN The default system context's input area or the screen area it maps to could not be read."},
        {check_context_area, desk(numbers({1921, 0, 1279, 1024})), "PASS " + onto + "1279 x 1024 at 1921, 0, exactly monitor 1."},
        {check_context_area, desk(numbers({0, 0, 3200, 1080})), "PASS " + onto + "3200 x 1080 at 0, 0, the whole virtual screen, monitors 0, 1."},
        {check_context_area, desk(numbers({0, 0, 3200, 1080}), 144), "WARN " + onto + "3200 x 1080 at 0, 0, spanning monitors 0, 1 of different DPI: the pen moves at different speeds on them."},
        {check_context_area, desk(numbers({100, 100, 800, 600})), "WARN " + onto + "800 x 600 at 100, 100, neither a monitor nor the virtual screen (3200 x 1080 at 0, 0): it covers part of monitor 0."},
        {check_context_area, desk(numbers({1000, 0, 1920, 1080})), "WARN " + onto + "1920 x 1080 at 1000, 0, neither a monitor nor the virtual screen (3200 x 1080 at 0, 0): it covers part of monitors 0, 1."},
        {check_context_area, desk(numbers({-2000, 0, 100, 100})), "WARN " + onto + "100 x 100 at -2000, 0, neither a monitor nor the virtual screen (3200 x 1080 at 0, 0): it covers no monitor."},
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
