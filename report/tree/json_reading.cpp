#include "report/tree/json_reading.h"

#include <cstdlib>

namespace nibscope_report {
namespace {

// Nested no deeper than the report's own trees, so that garbage cannot exhaust the stack.
constexpr int deepest_nesting = 64;

class json_reader {
public:
    explicit json_reader(const std::string& text) : text_(text) {}

    report_value whole()
    {
        report_value value = read_value(0);
        skip_space();
        if (at_ < text_.size())
            fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        throw json_error(what + " at offset " + std::to_string(at_));
    }

    void skip_space()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t'))
            ++at_;
    }

    bool take(char wanted)
    {
        skip_space();
        if (at_ < text_.size() && text_[at_] == wanted) {
            ++at_;
            return true;
        }
        return false;
    }

    void expect(char wanted)
    {
        if (!take(wanted))
            fail(std::string("expected '") + wanted + "'");
    }

    bool take_word(const char* word)
    {
        const std::string expected(word);
        if (text_.compare(at_, expected.size(), expected) != 0)
            return false;
        at_ += expected.size();
        return true;
    }

    report_value read_value(int depth)
    {
        if (depth > deepest_nesting)
            fail("nesting too deep");
        skip_space();
        if (at_ >= text_.size())
            fail("no value");
        const char first = text_[at_];
        if (first == '{')
            return read_object(depth);
        if (first == '[')
            return read_list(depth);
        if (first == '"')
            return read_text();
        if (take_word("null"))
            return report_value();
        if (take_word("true"))
            return report_value(true);
        if (take_word("false"))
            return report_value(false);
        return read_number();
    }

    report_value read_object(int depth)
    {
        ++at_;
        report_value object = report_value::object();
        if (take('}'))
            return object;
        do {
            skip_space();
            if (at_ >= text_.size() || text_[at_] != '"')
                fail("expected a key");
            const std::string key = read_text().text();
            expect(':');
            object.set(key, read_value(depth + 1));
        } while (take(','));
        expect('}');
        return object;
    }

    report_value read_list(int depth)
    {
        ++at_;
        report_value list = report_value::list();
        if (take(']'))
            return list;
        do
            list.add(read_value(depth + 1));
        while (take(','));
        expect(']');
        return list;
    }

    unsigned read_hex4()
    {
        if (at_ + 4 > text_.size())
            fail("short \\u escape");
        unsigned value = 0;
        for (int digit = 0; digit < 4; ++digit) {
            const char c = text_[at_++];
            const int nibble = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                             : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (nibble < 0)
                fail("bad \\u escape");
            value = value * 16 + static_cast<unsigned>(nibble);
        }
        return value;
    }

    static void append_utf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // A \u escape, joined with its low half when it is the high half of a surrogate pair.
    unsigned read_escaped_code()
    {
        const unsigned code = read_hex4();
        if (code < 0xD800 || code > 0xDBFF || !take_word("\\u"))
            return code;
        const unsigned low = read_hex4();
        if (low < 0xDC00 || low > 0xDFFF)
            fail("unpaired surrogate");
        return 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }

    report_value read_text()
    {
        ++at_;
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (static_cast<unsigned char>(c) < 0x20)
                fail("control character in a text");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size())
                break;
            const char escaped = text_[at_++];
            switch (escaped) {
            case '"': case '\\': case '/': out += escaped; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': append_utf8(out, read_escaped_code()); break;
            default: fail("bad escape");
            }
        }
        if (at_ >= text_.size())
            fail("unterminated text");
        ++at_;
        return report_value(out);
    }

    report_value read_number()
    {
        const size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-')
            ++at_;
        bool whole = true, digits = false;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c >= '0' && c <= '9')
                digits = true;
            else if (c == '.' || c == 'e' || c == 'E' || ((c == '+' || c == '-') && (text_[at_ - 1] == 'e' || text_[at_ - 1] == 'E')))
                whole = false;
            else
                break;
            ++at_;
        }
        if (!digits) {
            at_ = start;
            fail("no value");
        }
        const std::string number = text_.substr(start, at_ - start);
        char* end = nullptr;
        if (whole) {
            const long long integer = std::strtoll(number.c_str(), &end, 10);
            return report_value(integer);
        }
        const double real = std::strtod(number.c_str(), &end);
        if (*end != '\0')
            fail("bad number");
        return report_value(real);
    }

    const std::string& text_;
    size_t at_ = 0;
};

}  // namespace

report_value read_json(const std::string& text)
{
    return json_reader(text).whole();
}

}  // namespace nibscope_report
