#pragma once
// One library loaded at run time, released with its owner.
#include "tevrin/core/unique_handle.h"

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
    // before is released first. A bare name comes from the program's folder or the
    // system folder only; a path loads that file, whose dependencies are looked for in
    // its own folder first. Failures throw a narrow text that says whether the
    // file is missing or why it could not be loaded.
    void load(const char* name);

    // Throws library_not_loaded without a library, function_not_found without the entry.
    code_address get_function(const char* name) const;

    bool is_loaded() const { return static_cast<bool>(module); }
    void* native_handle() const { return module.get(); }  // the HMODULE, for module queries
    void release();

private:
    // The HMODULE, kept opaque so that this header needs no platform; freed with its owner.
    struct module_traits {
        using handle_type = void*;
        static constexpr void* invalid() noexcept { return nullptr; }
        static void close(void* loaded) noexcept;
    };

    unique_handle<module_traits> module;
};

}  // namespace tevrin
