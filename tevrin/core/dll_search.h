#pragma once
// Where the process may load libraries from. Both programs call this first thing in
// their entry point, before any library is loaded by name.

namespace tevrin {

// Takes the current folder out of the library search and leaves the program's own
// folder and the system folder: a library of a wanted name planted in the folder a
// user starts the program from (Downloads, say) is never loaded. The system libraries
// the programs link with delay-loading (opengl32.dll, version.dll) come from the
// system folder only, whatever lies in the program's folder.
void restrict_library_search();

}  // namespace tevrin

// Binds every function of one delay-loaded library at once (cmake/TevrinDelayLoad.cmake
// generates the call while the program starts). MinGW's thunk that would bind each
// function at its first call keeps the integer argument registers but not the
// floating-point ones, so a first glVertex2f would draw from garbage.
struct ImgDelayDescr;
namespace tevrin {
void bind_delay_loaded_library(const ImgDelayDescr& library);

}  // namespace tevrin
