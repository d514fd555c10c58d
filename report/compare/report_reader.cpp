#include "report/compare/report_reader.h"

#include "report/tree/json_reading.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

namespace nibscope_report {
namespace {

// One sentence naming the file and what is wrong with its JSON.
std::string sentence_for(const std::string& name, const std::string& text, const json_error& error)
{
    switch (error.what_went_wrong()) {
    case json_error::problem::empty: return name + " is empty.";
    case json_error::problem::too_deep:
        return name + " nests its JSON more than " + std::to_string(deepest_json_nesting) +
               " levels deep, deeper than any report of this program.";
    case json_error::problem::cut_short:
        return name + " ends before its JSON does: it was cut short at byte " + std::to_string(text.size()) + ".";
    case json_error::problem::not_json: break;
    }
    return name + " is not JSON: the text goes wrong at byte " + std::to_string(error.offset()) + ".";
}

std::string size_text(std::uintmax_t bytes)
{
    return std::to_string(bytes) + " bytes";
}

}  // namespace

std::string read_report_file(const std::string& name)
{
    const std::filesystem::path path = std::filesystem::u8path(name);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        throw report_input_error(name + " cannot be read: " + error.message() + ".");
    if (size > largest_report_file)
        throw report_input_error(name + " is " + size_text(size) + " long, more than the " +
                                 size_text(largest_report_file) + " any report of this program takes.");
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof())
        throw report_input_error(name + " cannot be read.");
    return text;
}

report_value read_report_json(const std::string& name, const std::string& text)
{
    report_value report;
    try {
        report = read_json(text);
    } catch (const json_error& error) {
        throw report_input_error(sentence_for(name, text, error));
    }
    if (report.get("report").get("program").type() != report_value::kind::text ||
        report.get("report").get("program").text() != "nibscope-report")
        throw report_input_error(name + " is JSON, but not a report of nibscope-report --json.");
    return report;
}

}  // namespace nibscope_report
