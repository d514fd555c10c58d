#pragma once
// What people read for each key of the report: its label and the unit printed beside
// its value, declared once for the text, the page and the comparison. The JSON keeps the
// keys. Platform-free.
#include <string>

namespace nibscope_report {

struct key_label {
    const char* key;    // a key, or "parent.key" where the parent changes its meaning
    const char* label;
    const char* unit;   // "" when the value carries none; an object's unit holds for its values
};

// The declared label of key inside the object or list named parent ("" at the top);
// null when none is declared.
const key_label* declared_label(const std::string& parent, const std::string& key);

// The declared label, or the key itself as it stands: an undeclared key shows as one.
std::string label_of(const std::string& key, const std::string& parent = "");

// The unit of key inside parent, "" when it has none.
std::string unit_of(const std::string& key, const std::string& parent = "");

}  // namespace nibscope_report
