#include "report/checks/report_tree_checks.h"

#include <set>

namespace nibscope_report {
namespace {

using tevrin::i64;

std::string text_of(const report_value& value, const char* whenNull = "")
{
    return value.is_null() ? std::string(whenNull) : value.text();
}

// A file without a company name counts as one more company: a leftover copy of an old
// driver often has none.
size_t distinct_companies(const report_value& survey)
{
    std::set<std::string> companies;
    for (const auto& file : survey.items())
        companies.insert(text_of(file.get("company")));
    return companies.size();
}

std::string counted(size_t count, const char* thing)
{
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

}  // namespace

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

void check_search_path(check_list_builder& checks, const report_value& librarySection)
{
    const report_value& files = librarySection.get("search_path");
    const size_t companies = distinct_companies(files);
    if (files.items().size() > 1 && companies > 1)
        checks.warn("search-path-companies", std::to_string(files.items().size()) + " wintab32.dll files of " +
                                                 std::to_string(companies) + " different companies lie on the search path; "
                                                 "the first one found wins: " + files.items()[0].get("path").text() + ".");
    else
        checks.pass("search-path-companies", "No wintab32.dll files of different companies compete on the search path.");
}

// A 32-bit program loads the library in the 32-bit system folder, whatever the 64-bit
// one is: a driver that installs only the one leaves the other programs without pressure.
// What the 32-bit twin loaded speaks for 32-bit programs; without it, the file listing.
void check_32bit_library(check_list_builder& checks, const report_value& report)
{
    const report_value& section = report.get("driver_library");
    const report_value& twinLibrary = report.get("driver_32bit").get("driver_library");
    const report_value& other = section.get("wintab32_32bit");
    const bool loaded64 = section.get("loaded").integer() != 0 && text_of(section.get("machine")) == "x64";
    if (!loaded64 || (twinLibrary.is_null() && !other.get("unavailable").is_null())) {
        checks.pass("32-bit-library", "No 64-bit driver library to compare with a 32-bit one.");
        return;
    }
    const auto text = [](const report_value& value) { return text_of(value, "not stated"); };
    const report_value& found = twinLibrary.is_null() ? other : twinLibrary;
    const std::string path = text(found.get("path").is_null() ? found.get("requested") : found.get("path"));
    const std::string found64 = " (" + text(section.get("company")) + ", " + text(section.get("file_version")) + ")";
    if (twinLibrary.is_null() ? other.get("exists").integer() == 0 : twinLibrary.get("loaded").integer() == 0)
        checks.warn("32-bit-library", "A 64-bit driver library is installed but 32-bit programs find none at " + path + ".");
    else if (text(found.get("company")) != text(section.get("company")) ||
             text(found.get("file_version")) != text(section.get("file_version")))
        checks.warn("32-bit-library", "The 32-bit library " + path + " (" + text(found.get("company")) + ", " +
                                          text(found.get("file_version")) + ") is of another maker or version than the "
                                          "64-bit one" + found64 + ".");
    else
        checks.pass("32-bit-library", "The 32-bit library " + path + " is of the same maker and version as the 64-bit one" +
                                          found64 + ".");
}

namespace {

// The tablet a program sees: its default system context's device, that device's
// pressure levels, and the context's area.
struct seen_tablet {
    std::string name, levels, area;
};

std::string shown(const report_value& value, const char* whenNull)
{
    switch (value.type()) {
    case report_value::kind::integer: return std::to_string(value.integer());
    case report_value::kind::real: return format_real(value.real());
    case report_value::kind::text: return value.text();
    case report_value::kind::null: return whenNull;
    default: return "?";
    }
}

seen_tablet tablet_seen(const report_value& report)
{
    const report_value& context = report.get("contexts").get("default_system");
    const auto& devices = report.get("devices").items();
    const i64 device = context.get("device").integer();
    if (context.is_null() || device < 0 || device >= static_cast<i64>(devices.size()))
        return {"none", "none", "none"};
    const report_value& chosen = devices[static_cast<size_t>(device)];
    std::string area;
    for (const char* key : {"output_origin", "output_extent"})
        for (const auto& value : context.get(key).items())
            area += (area.empty() ? "" : " ") + shown(value, "?");
    return {shown(chosen.get("name"), "unnamed"), shown(chosen.get("normal_pressure").get("levels"), "no"), area};
}

}  // namespace

void check_32bit_tablet(check_list_builder& checks, const report_value& report)
{
    const report_value& twin = report.get("driver_32bit");
    if (twin.is_null())
        return;  // no 32-bit programs to speak for
    if (!twin.get("unavailable").is_null()) {
        checks.warn("32-bit-tablet", "What 32-bit programs see is unknown: " + twin.get("unavailable").text());
        return;
    }
    const seen_tablet wide = tablet_seen(report), narrow = tablet_seen(twin);
    std::vector<std::string> differences;
    if (wide.name != narrow.name && (wide.name == "none" || narrow.name == "none")) {
        // The levels and area of no tablet say nothing more.
        differences.push_back(narrow.name == "none" ? "no tablet instead of " + wide.name
                                                    : "tablet " + narrow.name + " where 64-bit programs see none");
    } else {
        if (wide.name != narrow.name)
            differences.push_back("tablet " + narrow.name + " instead of " + wide.name);
        if (wide.levels != narrow.levels)
            differences.push_back(narrow.levels + " pressure levels instead of " + wide.levels);
        if (wide.area != narrow.area)
            differences.push_back("default context area " + narrow.area + " instead of " + wide.area);
    }
    if (differences.empty())
        checks.pass("32-bit-tablet", "32-bit programs see the same tablet, pressure levels and default context area as "
                                     "64-bit ones.");
    else
        checks.warn("32-bit-tablet", "A 32-bit program would see " + joined(differences) + ".");
}

// The interface lets a driver leave any query unanswered, its counts included; the
// report then probes what the main program would use.
void check_interface_counts(check_list_builder& checks, const report_value& interfaceSection)
{
    std::vector<std::string> missing;
    if (interfaceSection.get("devices").is_null())
        missing.push_back("devices (device 0 was probed)");
    if (interfaceSection.get("cursors").is_null())
        missing.push_back("cursors (the cursors the main program would use were probed)");
    if (missing.empty())
        checks.pass("interface-counts", "The interface counts its devices and cursors.");
    else
        checks.warn("interface-counts", "The interface does not count its " + joined(missing) + ".");
}

// The interface lets a device leave its pressure axis unanswered (one without pressure
// would); the main program then draws at one width.
void check_pressure(check_list_builder& checks, const report_value& devices)
{
    for (size_t index = 0; index < devices.items().size(); ++index) {
        const std::string device = "Device " + std::to_string(index);
        const report_value& axis = devices.items()[index].get("normal_pressure");
        if (axis.is_null()) {
            checks.warn("pressure-range", device + " does not answer the pressure axis query.");
            continue;
        }
        const i64 minimum = axis.get("minimum").integer(), maximum = axis.get("maximum").integer();
        const std::string range = std::to_string(minimum) + " to " + std::to_string(maximum);
        checks.outcome(maximum > minimum, "pressure-range", device + "'s pressure axis runs from " + range + ".",
                       device + "'s pressure axis has no range: " + range + ".");
    }
}

// A program asks for cursors 0 to the counted number less one; a counted cursor that
// answers nothing leaves it without a name or buttons for the pen it sees.
void check_cursors(check_list_builder& checks, const report_value& cursors)
{
    std::vector<std::string> silent;
    for (size_t index = 0; index < cursors.items().size(); ++index)
        if (cursors.items()[index].get("name").is_null())
            silent.push_back(std::to_string(index));
    if (silent.empty())
        checks.pass("cursors-answer", "Every counted cursor answers its name query.");
    else
        checks.warn("cursors-answer", "The interface counts " + counted(cursors.items().size(), "cursor") + ", but " +
                                          (silent.size() == 1 ? "cursor " : "cursors ") + joined(silent) +
                                          (silent.size() == 1 ? " answers" : " answer") + " nothing.");
}

void check_context_rate(check_list_builder& checks, const report_value& report)
{
    const report_value& context = report.get("contexts").get("default_system");
    const report_value& devices = report.get("devices");
    if (context.is_null() || context.get("device").integer() >= static_cast<i64>(devices.items().size())) {
        checks.warn("context-rate", "The default system context or its device could not be read.");
        return;
    }
    const report_value& deviceRate = devices.items()[static_cast<size_t>(context.get("device").integer())].get("packet_rate");
    const i64 rate = context.get("packet_rate").integer();
    if (deviceRate.is_null()) {
        checks.warn("context-rate", "The device does not report its packet rate, so the default context's " +
                                        std::to_string(rate) + " packets per second cannot be compared.");
        return;
    }
    const std::string both = std::to_string(rate) + " against the device's " + std::to_string(deviceRate.integer());
    checks.outcome(rate <= deviceRate.integer(), "context-rate",
                   "The default system context's packet rate does not exceed the device's: " + both + ".",
                   "The default system context's packet rate exceeds the device's: " + both + ".");
}

}  // namespace nibscope_report
