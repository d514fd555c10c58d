#include "report/tree/json_reading.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <utility>
#include <vector>

namespace nibscope_report {
namespace {

using json = nlohmann::json;

const char* describe(json_error::problem what)
{
    switch (what) {
    case json_error::problem::empty: return "the text is empty";
    case json_error::problem::cut_short: return "the text ends inside its JSON";
    case json_error::problem::too_deep: return "the JSON nests too deep";
    case json_error::problem::not_json: break;
    }
    return "the text is not JSON";
}

// Builds the tree as the parser reads: each open object or list is a frame that takes
// the values of its members and is added to its parent when it closes.
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
        // The parser's own words for a text that stops inside a value or between values.
        const std::string what = error.what();
        const bool cutShort = what.find("unexpected end of input") != std::string::npos ||
                              what.find("missing closing quote") != std::string::npos;
        failure_ = cutShort ? json_error::problem::cut_short : json_error::problem::not_json;
        failedAt_ = position;
        return false;
    }

    // Throws what went wrong, once the parser has given up.
    [[noreturn]] void fail() const { throw json_error(failure_, failedAt_); }
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
        if (frames_.size() >= deepest_json_nesting) {
            failure_ = json_error::problem::too_deep;
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
    json_error::problem failure_ = json_error::problem::not_json;
    std::size_t failedAt_ = 0;
};

}  // namespace

json_error::json_error(problem what, std::size_t offset)
    : std::runtime_error(what == problem::not_json || what == problem::cut_short
                             ? std::string(describe(what)) + " (byte " + std::to_string(offset) + ")"
                             : describe(what)),
      problem_(what), offset_(offset)
{
}

report_value read_json(const std::string& text)
{
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw json_error(json_error::problem::empty, 0);
    tree_builder builder;
    if (!json::sax_parse(text, &builder, json::input_format_t::json, true))
        builder.fail();
    return builder.take();
}

}  // namespace nibscope_report
