#pragma once
// The machine description written to the user log at start-up, right after the about
// text: operating system, processor, processor identifier, display and user.
#include "tevrin/core/delegate.h"
#include "tevrin/core/types.h"

#include <string>

namespace tevrin {

// What RtlGetVersion reports.
struct os_version {
    u32 major = 0;
    u32 minor = 0;
    u32 build = 0;
    u32 servicePackMajor = 0;
    u32 servicePackMinor = 0;
};

struct display_mode {
    i32 bitsPerPixel = 0;
    i32 width = 0;
    i32 height = 0;
};

// Where each value of the report comes from. this_system() asks the platform; tests
// substitute their own.
struct system_report_sources {
    delegate<bool(os_version&)> queryVersion;    // false when the query is unavailable
    delegate<u16()> architecture;                // GetNativeSystemInfo's architecture code
    delegate<std::string()> featureList;
    delegate<i32(i32*)> processorCount;          // returns the count and stores it when given
    delegate<std::string()> processorIdentifier;
    delegate<bool(display_mode&)> displayMode;   // false when no screen context could be made
    delegate<std::string()> userName;
};

system_report_sources this_system();

// "Unknown" without a version or with major version 0, otherwise the Windows name line.
std::string operating_system_text(const os_version* version);
const char* architecture_name(u16 architectureCode);

// The name of the user running the process, in UTF-8; empty when it cannot be read.
// Throws the conversion text when the name does not convert.
const std::string& user_name(std::string& name);

// Writes the report's lines through log_line.
void write_system_report(const system_report_sources& sources);
void write_system_report();

}  // namespace tevrin
