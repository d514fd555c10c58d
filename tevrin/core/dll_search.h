#pragma once
// Where the process may load libraries from. Both programs restrict the search first
// thing in their entry point, then bind the delay-loaded system libraries, before any
// library is loaded by name.

namespace tevrin {

// Takes the current folder out of the library search and leaves the program's own
// folder and the system folder: a library of a wanted name planted in the folder a
// user starts the program from (Downloads, say) is never loaded. The system libraries
// the programs link with delay-loading (opengl32.dll, version.dll) come from the
// system folder only, whatever lies in the program's folder.
void restrict_library_search();

// Whether the system could restrict the search to the program's and the system
// folder (SetDefaultDllDirectories: Windows 8 on, Windows 7 with its loader update).
// Without it, libraries are loaded by full path instead.
bool library_search_restricted();

}  // namespace tevrin

struct ImgDelayDescr;
namespace tevrin {

// One delay-loaded library of the program. cmake/TevrinDelayLoad.cmake generates one
// static object for each, which only records the library; nothing is loaded then.
class delay_loaded_library {
public:
    explicit delay_loaded_library(const ImgDelayDescr& library);

private:
    friend void bind_delay_loaded_libraries();
    const ImgDelayDescr& library_;
    delay_loaded_library* next_;
};

// Binds every function of every delay-loaded library at once; the entry point calls
// it right after restrict_library_search, so that the libraries and their own
// dependencies come from where the restriction allows. All at once, because MinGW's
// thunk that would bind each function at its first call keeps the integer argument
// registers but not the floating-point ones, so a first glVertex2f would draw from
// garbage.
void bind_delay_loaded_libraries();

}  // namespace tevrin
