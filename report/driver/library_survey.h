#pragma once
// What can be learnt about a driver library from its file: version resource, size,
// last-write time, machine; and every wintab32.dll on the program's search path.
#include "report/tree/report_value.h"

#include <string>
#include <vector>

namespace nibscope_report {

// The machine this process runs as, in the words of machine_of_file: a library
// loads only into a process of its own machine.
std::string process_machine();

// The machine a PE file is built for: "x64", "x86", "other (0x...)"; "not a PE file".
std::string machine_of_file(const std::wstring& path);

// Size, last-write time, machine and the version resource's fields of one file.
report_value describe_library_file(const std::wstring& path);

// The folders searched for a library loaded by name, in order: the program's folder,
// the system folder, the Windows folder, then the folders on PATH.
std::vector<std::wstring> library_search_folders();

// Every wintab32.dll in those folders, once each, with its version, company and
// whether it is the loaded one.
report_value survey_search_path(const std::wstring& loadedPath);

// The wintab32.dll that 32-bit programs load from the 32-bit system folder (SysWOW64):
// path, exists, file_version, company, machine; unavailable on a system without one.
report_value describe_32bit_library();

}  // namespace nibscope_report
