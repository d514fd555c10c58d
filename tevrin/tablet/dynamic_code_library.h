#pragma once
// One library loaded at run time, released with its owner.
#include <string>

namespace tevrin {

// An entry point as GetProcAddress hands it out; callers cast it to the entry's own type.
using code_address = void (*)();

class dynamic_code_library {
public:
    dynamic_code_library() = default;
    virtual ~dynamic_code_library();
    dynamic_code_library(const dynamic_code_library&) = delete;
    dynamic_code_library& operator=(const dynamic_code_library&) = delete;

    // Loads a library by UTF-8 name or path (at most 1023 bytes); any library held
    // before is released first. Failures throw a narrow text that says whether the
    // file is missing or why it could not be loaded.
    void load(const char* name);

    // Throws library_not_loaded without a library, function_not_found without the entry.
    code_address get_function(const char* name) const;

    bool is_loaded() const { return module != nullptr; }
    void* native_handle() const { return module; }  // the HMODULE, for module queries
    void release();

private:
    void* module = nullptr;  // HMODULE; kept opaque so this header needs no platform
};

}  // namespace tevrin
