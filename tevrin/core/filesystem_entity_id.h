#pragma once
// A path record: UTF-8, at most 1023 bytes in a fixed buffer, trimmed of blanks at
// both ends and of one trailing slash or backslash.
#include <cstddef>
#include <string>

namespace tevrin {

class filesystem_entity_id {
public:
    static constexpr size_t capacity = 1024;

    filesystem_entity_id() noexcept { text_[0] = '\0'; }
    // Throws tevrin::length_error for more than 1023 bytes.
    explicit filesystem_entity_id(const char* utf8Path);
    // Throws the conversion message for text that cannot be converted to UTF-8.
    explicit filesystem_entity_id(const wchar_t* widePath);

    const char* c_str() const noexcept { return text_; }
    std::string str() const { return text_; }
    size_t size() const noexcept;
    bool empty() const noexcept { return text_[0] == '\0'; }

private:
    void Normalise() noexcept;

    char text_[capacity];
};

}  // namespace tevrin
