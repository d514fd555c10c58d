#pragma once
// What 32-bit programs see of the tablet: the 64-bit report runs its x86 twin,
// x86\nibscope-report.exe beside it, which loads the 32-bit driver as any 32-bit
// program would, and keeps the twin's answers as the driver_32bit section.
#include "report/tree/report_value.h"

namespace nibscope_report {

// The twin may open contexts and read the driver, which can stall; past this it is stopped.
constexpr unsigned long twin_wait_ms = 30000;

// The driver_32bit section: the twin's library, interface, devices, default contexts
// and checks, or one sentence ("unavailable") on why there are none. Null when there
// are no 32-bit programs to speak for: this program is the x86 one itself, or the
// system has no 32-bit half.
report_value driver_32bit_section(bool keepNames);

}  // namespace nibscope_report
