#include "tevrin/core/dll_search.h"

#include <windows.h>
#include <delayimp.h>

extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr library, FARPROC* entry);
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// From Windows 8 on, and on Windows 7 with update KB2533623; looked up so that the
// programs still start without it.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

constexpr DWORD programAndSystemFolders = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

// A system library by its full path; its own dependencies are then looked for in the
// system folder first, not in the program's folder.
HMODULE LoadFromSystemFolderByPath(const char* name)
{
    char path[MAX_PATH + 64];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || lstrlenA(name) >= 63)
        return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The delay-load helper calls this before it loads a library; a module returned here
// is taken instead of its own LoadLibraryA, which would search the program's folder.
FARPROC WINAPI LoadDelayedLibraryFromSystemFolder(unsigned notification, PDelayLoadInfo load)
{
    if (notification != dliNotePreLoadLibrary)
        return nullptr;
    HMODULE library = LoadLibraryExA(load->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library)  // a system without the search flags: the full path says the same
        library = LoadFromSystemFolderByPath(load->szDll);
    return reinterpret_cast<FARPROC>(library);
}

bool searchRestricted = false;
tevrin::delay_loaded_library* firstDelayLoadedLibrary = nullptr;  // zero before any constructor runs

void BindEveryFunction(const ImgDelayDescr& library)
{
    const char* const image = reinterpret_cast<const char*>(&__ImageBase);
    auto* entries = reinterpret_cast<FARPROC*>(const_cast<char*>(image) + library.rvaIAT);
    auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(image + library.rvaINT);
    for (; names->u1.AddressOfData; ++names, ++entries)
        __delayLoadHelper2(&library, entries);
}

}  // namespace

// The delay-load helper's notification hook, found by its name (Visual C++ declares
// it constant, MinGW does not).
extern "C" {
#ifdef _MSC_VER
const
#endif
    PfnDliHook __pfnDliNotifyHook2 = LoadDelayedLibraryFromSystemFolder;
}

namespace tevrin {

void restrict_library_search()
{
    SetDllDirectoryW(L"");
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    searchRestricted = setDefaultDllDirectories && setDefaultDllDirectories(programAndSystemFolders);
}

bool library_search_restricted()
{
    return searchRestricted;
}

delay_loaded_library::delay_loaded_library(const ImgDelayDescr& library)
    : library_(library), next_(firstDelayLoadedLibrary)
{
    firstDelayLoadedLibrary = this;
}

void bind_delay_loaded_libraries()
{
    for (const delay_loaded_library* loaded = firstDelayLoadedLibrary; loaded; loaded = loaded->next_)
        BindEveryFunction(loaded->library_);
}

}  // namespace tevrin
