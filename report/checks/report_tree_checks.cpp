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
void check_32bit_library(check_list_builder& checks, const report_value& section)
{
    const report_value& other = section.get("wintab32_32bit");
    const bool loaded64 = section.get("loaded").integer() != 0 && text_of(section.get("machine")) == "x64";
    if (!loaded64 || !other.get("unavailable").is_null()) {
        checks.pass("32-bit-library", "No 64-bit driver library to compare with a 32-bit one.");
        return;
    }
    const auto text = [](const report_value& value) { return text_of(value, "none"); };
    const std::string path = other.get("path").text();
    if (other.get("exists").integer() == 0)
        checks.warn("32-bit-library", "A 64-bit driver library is installed but 32-bit programs find none at " + path + ".");
    else if (text(other.get("company")) != text(section.get("company")) ||
             text(other.get("file_version")) != text(section.get("file_version")))
        checks.warn("32-bit-library", "The 32-bit library " + path + " (" + text(other.get("company")) + ", " +
                                          text(other.get("file_version")) + ") differs from the 64-bit one (" +
                                          text(section.get("company")) + ", " + text(section.get("file_version")) + ").");
    else
        checks.pass("32-bit-library", "The 32-bit library " + path + " comes from the same company in the same version.");
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
