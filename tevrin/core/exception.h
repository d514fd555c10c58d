#pragma once
// The framework's exception classes. Platform-free: the raster code throws these too.
#include <functional>

namespace tevrin {

class exception {
public:
    virtual ~exception() = default;
    virtual const char* what() const noexcept { return "unknown error"; }
};

// Holds the message pointer, not a copy: the text must outlive the exception.
class general_error : public exception {
public:
    explicit general_error(const char* message) noexcept : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;
};

class invalid_argument : public exception {
public:
    const char* what() const noexcept override { return "invalid argument"; }
};

class filesystem_exception : public exception {
public:
    const char* what() const noexcept override { return "filesystem problem"; }
};

class fid_too_long : public filesystem_exception {
public:
    const char* what() const noexcept override { return "filespec or pathspec too long"; }
};

class length_error : public exception {
public:
    const char* what() const noexcept override { return "object (string?) has invalid length"; }
};

class range_error : public exception {
public:
    const char* what() const noexcept override { return "range error"; }
};

class enum_error : public range_error {
public:
    explicit enum_error(int value) noexcept;
    const char* what() const noexcept override { return text_; }

private:
    char text_[32];
};

class function_not_found : public exception {
public:
    explicit function_not_found(const char* functionName) noexcept;
    const char* what() const noexcept override { return text_; }

private:
    char text_[128];
};

class library_not_loaded : public exception {
public:
    const char* what() const noexcept override { return "library not loaded"; }
};

// Signals, not errors: the user stopped an operation or closed a dialog.
class user_cancelled_process {};
class dialog_cancelled {};

class empty_delegate_error : public std::bad_function_call {
public:
    const char* what() const noexcept override { return "Empty delegate called"; }
};

}  // namespace tevrin

class tablet_context_error : public tevrin::exception {
public:
    const char* what() const noexcept override { return "graphics tablet context error"; }
};

class tablet_context_creation_error : public tevrin::exception {
public:
    const char* what() const noexcept override { return "graphics tablet context could not be created"; }
};
