#include "report/compare/report_reader.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

namespace nibscope_report {
namespace {

using json = nlohmann::json;

// Builds the tree as the parser reads, without recursion: each open object or list is
// a frame that takes the values of its members and is added to its parent when it closes.
class tree_builder {
public:
    bool null() { return value(report_value()); }
    bool boolean(bool flag) { return value(flag); }
    bool number_integer(json::number_integer_t number) { return value(static_cast<long long>(number)); }
    bool number_unsigned(json::number_unsigned_t number)
    {
        if (number > static_cast<json::number_unsigned_t>(std::numeric_limits<long long>::max()))
            return value(static_cast<double>(number));
        return value(static_cast<long long>(number));
    }
    bool number_float(json::number_float_t number, const json::string_t&) { return value(number); }
    bool string(json::string_t& text) { return value(std::move(text)); }
    bool binary(json::binary_t&) { return false; }  // only in binary formats
    bool start_object(std::size_t) { return open(report_value::object()); }
    bool start_array(std::size_t) { return open(report_value::list()); }
    bool key(json::string_t& name)
    {
        frames_.back().key = std::move(name);
        return true;
    }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& error)
    {
        error_position_ = position;
        // The parser's own words for a text that stops inside a value or between values.
        const std::string what = error.what();
        cut_short_ = what.find("unexpected end of input") != std::string::npos ||
                     what.find("missing closing quote") != std::string::npos;
        return false;
    }

    bool too_deep() const { return too_deep_; }
    bool cut_short() const { return cut_short_; }
    size_t error_position() const { return error_position_; }
    report_value take() { return std::move(root_); }

private:
    struct frame {
        report_value container;
        std::string key;  // of the next member, in an object
    };

    bool value(report_value item)
    {
        if (frames_.empty())
            root_ = std::move(item);
        else if (frames_.back().container.type() == report_value::kind::object)
            frames_.back().container.set(frames_.back().key, std::move(item));
        else
            frames_.back().container.add(std::move(item));
        return true;
    }
    bool open(report_value container)
    {
        if (frames_.size() >= deepest_report_nesting) {
            too_deep_ = true;
            return false;
        }
        frames_.push_back({std::move(container), std::string()});
        return true;
    }
    bool close()
    {
        report_value done = std::move(frames_.back().container);
        frames_.pop_back();
        return value(std::move(done));
    }

    std::vector<frame> frames_;
    report_value root_;
    bool too_deep_ = false;
    bool cut_short_ = false;
    size_t error_position_ = 0;
};

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
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw report_input_error(name + " is empty.");
    tree_builder builder;
    if (!json::sax_parse(text, &builder, json::input_format_t::json, true)) {
        if (builder.too_deep())
            throw report_input_error(name + " nests its JSON more than " + std::to_string(deepest_report_nesting) +
                                     " levels deep, deeper than any report of this program.");
        if (builder.cut_short())
            throw report_input_error(name + " ends before its JSON does: it was cut short at byte " +
                                     std::to_string(text.size()) + ".");
        throw report_input_error(name + " is not JSON: the text goes wrong at byte " +
                                 std::to_string(builder.error_position()) + ".");
    }
    report_value report = builder.take();
    if (report.get("report").get("program").type() != report_value::kind::text ||
        report.get("report").get("program").text() != "nibscope-report")
        throw report_input_error(name + " is JSON, but not a report of nibscope-report --json.");
    return report;
}

}  // namespace nibscope_report
