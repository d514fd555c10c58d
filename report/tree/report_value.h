#pragma once
// The report's content as a tree of values, in the order it is written: the text and
// the JSON writers print the same tree. Platform-free.
#include "tevrin/core/types.h"

#include <string>
#include <utility>
#include <vector>

namespace nibscope_report {

class report_value {
public:
    enum class kind { null, boolean, integer, real, text, list, object };

    report_value() = default;  // null: not reported
    report_value(bool value) : kind_(kind::boolean), integer_(value) {}
    report_value(int value) : kind_(kind::integer), integer_(value) {}
    report_value(unsigned value) : kind_(kind::integer), integer_(value) {}
    report_value(long value) : kind_(kind::integer), integer_(value) {}
    report_value(unsigned long value) : kind_(kind::integer), integer_(static_cast<tevrin::i64>(value)) {}
    report_value(long long value) : kind_(kind::integer), integer_(value) {}
    report_value(unsigned long long value) : kind_(kind::integer), integer_(static_cast<tevrin::i64>(value)) {}
    report_value(double value) : kind_(kind::real), real_(value) {}
    report_value(std::string value) : kind_(kind::text), text_(std::move(value)) {}
    report_value(const char* value) : kind_(kind::text), text_(value) {}

    static report_value object() { return report_value(kind::object); }
    static report_value list() { return report_value(kind::list); }

    // Adds an entry to an object; returns the object for chaining.
    report_value& set(const std::string& key, report_value value);
    // Adds an item to a list.
    report_value& add(report_value value);
    // The entry of an object, null when there is none.
    const report_value& get(const std::string& key) const;

    kind type() const { return kind_; }
    bool is_null() const { return kind_ == kind::null; }
    tevrin::i64 integer() const { return integer_; }
    double real() const { return real_; }
    const std::string& text() const { return text_; }
    const std::vector<report_value>& items() const { return items_; }
    const std::vector<std::pair<std::string, report_value>>& entries() const { return entries_; }

private:
    explicit report_value(kind type) : kind_(type) {}

    kind kind_ = kind::null;
    tevrin::i64 integer_ = 0;
    double real_ = 0.0;
    std::string text_;
    std::vector<report_value> items_;
    std::vector<std::pair<std::string, report_value>> entries_;
};

// Reals with at most two decimals, "12.5" rather than "12.50".
std::string format_real(double value);

}  // namespace nibscope_report
