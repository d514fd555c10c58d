#pragma once
// The control entry points of the simulated WinTab driver (simulated_wintab.cpp).
// Tests find them with GetProcAddress in the wintab32.dll that the code under test
// loaded, so the driver stays reachable only through the real loading path.
#include "tevrin/tablet/wintab.h"

namespace simulated_wintab {

using SetDeviceName = void (*)(const char* ansiName);        // any length, ANSI code page
using SetDefaultDevice = void (*)(UINT device);              // lcDevice of the default system context
using SetPressureAxis = void (*)(UINT device, LONG minimum, LONG maximum, BOOL answered);
using SetCursorButtons = void (*)(UINT cursor, BYTE pressureButton, const BYTE* buttonMap, UINT mapSize,
                                  DWORD releaseMark, DWORD pressMark);
using SetLargestQueueSize = void (*)(int size);              // 0: WTQueueSizeSet accepts nothing
using SetOpenFails = void (*)(BOOL fails);
using QueuePacket = void (*)(HWND window, DWORD status, DWORD cursor, DWORD buttons, DWORD pressure);
using PostProximity = void (*)(HWND window, BOOL entering);
using QueuedPacketCount = int (*)(HWND window);
using EntryCallCount = int (*)(const char* entry);
using InfoQueryCount = int (*)(UINT category, UINT index);
using LastOpenRequest = BOOL (*)(tevrin::LOGCONTEXTA* settings, HWND* window, BOOL* enable);
using OpenContextCount = int (*)();
// The last WTPacketsGet's maximum and whether it gave a buffer; FALSE when none came since the last look.
using TakeLastPacketsRequest = BOOL (*)(int* maximum, BOOL* buffer);

}  // namespace simulated_wintab
