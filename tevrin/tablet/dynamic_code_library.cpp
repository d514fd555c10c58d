#include "tevrin/tablet/dynamic_code_library.h"

#include "tevrin/core/dll_search.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/text.h"
#include "tevrin/core/types.h"

#include <windows.h>

#include <sys/stat.h>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace tevrin {
namespace {

constexpr size_t name_capacity = 1024;

// The thrown pointer must stay valid after the throw, so the texts live here.
// Each holds the longest message: its fixed words plus a whole name.
char missing_file_text[name_capacity + 64];
char load_failure_text[128];

void copy_name_without_trailing_separator(const char* name, char (&buffer)[name_capacity])
{
    const size_t length = std::strlen(name);
    if (length >= name_capacity)
        throw length_error();
    std::memcpy(buffer, name, length + 1);
    if (length > 0 && (buffer[length - 1] == '/' || buffer[length - 1] == '\\'))
        buffer[length - 1] = 0;
}

void convert_name_strictly(const char* name, wchar_t (&wide)[name_capacity])
{
    wide[0] = 0;
    if (!*name)
        return;
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wide, static_cast<int>(name_capacity)) == 0)
        ThrowConversionError(GetLastError(), false);
}

bool file_exists(const wchar_t* name)
{
    struct _stat64 status;
    return _wstat64(name, &status) == 0;
}

std::wstring folder_of_program()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// A bare name is looked for in the program's folder, not the current one: the
// programs take the current folder out of the library search, so a file there is
// not one they could have loaded.
bool library_file_exists(const wchar_t* name)
{
    if (std::wcspbrk(name, L"\\/:"))
        return file_exists(name);
    return file_exists((folder_of_program() + name).c_str());
}

std::wstring system_folder()
{
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) + L"\\" : std::wstring();
}

// A bare name from the program's folder or the system folder, and nowhere else. Where
// the system restricts the search, that is what LoadLibraryW searches; elsewhere the
// Windows folder and PATH would follow, so the two folders are tried by full path, and
// the library's own dependencies are then looked for beside it first.
HMODULE load_by_name(const wchar_t* name)
{
    if (library_search_restricted())
        return LoadLibraryW(name);
    const std::wstring beside = folder_of_program() + name;
    const std::wstring path = file_exists(beside.c_str()) ? beside : system_folder() + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// A library named by its path, with its own folder searched for its dependencies (a
// driver's helper libraries beside it), then the default folders.
HMODULE load_with_its_folder(const wchar_t* path)
{
    wchar_t full[name_capacity];
    const DWORD length = GetFullPathNameW(path, name_capacity, full, nullptr);
    if (length == 0 || length >= name_capacity)
        return LoadLibraryW(path);  // fails, and says why in the thread's last error
    HMODULE loaded = LoadLibraryExW(full, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!loaded && !library_search_restricted())  // a system without the search flags
        loaded = LoadLibraryExW(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return loaded;
}

const char* file_name_part(const char* path)
{
    const char* part = path;
    for (const char* c = path; *c; ++c) {
        if (*c == '/' || *c == '\\')
            part = c + 1;
    }
    return part;
}

const char* load_failure_detail(DWORD errorCode)
{
    switch (errorCode) {
    case ERROR_MOD_NOT_FOUND:
    case ERROR_DLL_NOT_FOUND: return "dependant submodule not found (debug linkage?)";
    case ERROR_INVALID_MODULETYPE:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_EXE_MARKED_INVALID:
    case ERROR_BAD_EXE_FORMAT: return "DLL considered unexecutable (not Win32 format)";
    default: return "details unavailable";
    }
}

[[noreturn]] void throw_load_failure(const char* name, const wchar_t* wideName, DWORD errorCode)
{
    if (!library_file_exists(wideName)) {
        std::snprintf(missing_file_text, sizeof missing_file_text, "Requested DLL file \"%s\" non-existant.",
                      file_name_part(name));
        throw static_cast<const char*>(missing_file_text);
    }
    std::snprintf(load_failure_text, sizeof load_failure_text, "LoadLibrary call failed, error code %u, %s",
                  static_cast<unsigned>(errorCode), load_failure_detail(errorCode));
    throw static_cast<const char*>(load_failure_text);
}

}  // namespace

dynamic_code_library::~dynamic_code_library()
{
    release();
}

void dynamic_code_library::module_traits::close(void* loaded) noexcept
{
    FreeLibrary(static_cast<HMODULE>(loaded));
}

void dynamic_code_library::release()
{
    module.reset();
}

void dynamic_code_library::load(const char* name)
{
    release();
    char narrow[name_capacity];
    copy_name_without_trailing_separator(name, narrow);
    wchar_t wide[name_capacity];
    convert_name_strictly(narrow, wide);
    HMODULE loaded = std::wcspbrk(wide, L"\\/:") ? load_with_its_folder(wide) : load_by_name(wide);
    if (!loaded) {
        // Read at once: the file test below may change the thread's last error.
        const DWORD errorCode = GetLastError();
        throw_load_failure(narrow, wide, errorCode);
    }
    module.reset(loaded);
}

code_address dynamic_code_library::get_function(const char* name) const
{
    if (!module)
        throw library_not_loaded();
    FARPROC entry = GetProcAddress(static_cast<HMODULE>(module.get()), name);
    if (!entry)
        throw function_not_found(name);
    return reinterpret_cast<code_address>(entry);
}

}  // namespace tevrin
