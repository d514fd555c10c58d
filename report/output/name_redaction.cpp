#include "report/output/name_redaction.h"

namespace nibscope_report {
namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Bytes of non-ASCII characters count as letters.
bool is_word_byte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (byte >= '0' && byte <= '9') || (lower(c) >= 'a' && lower(c) <= 'z');
}

bool matches_at(const std::string& text, size_t at, const std::string& name)
{
    if (at + name.size() > text.size())
        return false;
    for (size_t index = 0; index < name.size(); ++index)
        if (lower(text[at + index]) != lower(name[index]))
            return false;
    const bool wordBefore = at > 0 && is_word_byte(text[at - 1]);
    const bool wordAfter = at + name.size() < text.size() && is_word_byte(text[at + name.size()]);
    return !wordBefore && !wordAfter;
}

}  // namespace

std::string without_names(const std::string& text, const std::vector<private_name>& names)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const private_name* found = nullptr;
        for (const auto& name : names)
            if (!name.name.empty() && matches_at(text, at, name.name) &&
                (!found || name.name.size() > found->name.size()))
                found = &name;
        if (found) {
            out += found->placeholder;
            at += found->name.size();
        } else {
            out += text[at++];
        }
    }
    return out;
}

report_value without_names(const report_value& value, const std::vector<private_name>& names)
{
    switch (value.type()) {
    case report_value::kind::text: return report_value(without_names(value.text(), names));
    case report_value::kind::list: {
        report_value list = report_value::list();
        for (const auto& item : value.items())
            list.add(without_names(item, names));
        return list;
    }
    case report_value::kind::object: {
        report_value object = report_value::object();
        for (const auto& entry : value.entries())
            object.set(without_names(entry.first, names), without_names(entry.second, names));
        return object;
    }
    default: return value;
    }
}

}  // namespace nibscope_report
