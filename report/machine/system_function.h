#pragma once
// Functions newer than the oldest system the program runs on, looked up at run time
// so that their absence leaves a part of the report out instead of keeping the
// program from starting.
#include <windows.h>

namespace nibscope_report {

// The function name of a module the process holds, or of user32.dll; null when the
// system lacks it.
template <typename Function>
Function system_function(const char* name, HMODULE module = GetModuleHandleW(L"user32.dll"))
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace nibscope_report
