#pragma once
// The process's one table of WinTab entry points, filled from "wintab32.dll" by
// the first tablet-context opening. Loading never throws: a failure leaves a
// load-error text and a table without library, which every user checks.
#include "tevrin/tablet/dynamic_code_library.h"
#include "tevrin/tablet/wintab.h"

#include <string>

namespace tevrin {

class tablet_services {
public:
    tablet_services() = default;
    virtual ~tablet_services() = default;  // the embedded library releases the driver
    tablet_services(const tablet_services&) = delete;
    tablet_services& operator=(const tablet_services&) = delete;

    bool is_loaded() const { return library.is_loaded(); }

    WTInfoA_entry WTInfoA = nullptr;
    WTOpenA_entry WTOpenA = nullptr;
    WTClose_entry WTClose = nullptr;
    WTQueueSizeSet_entry WTQueueSizeSet = nullptr;
    WTPacketsGet_entry WTPacketsGet = nullptr;
    WTPacketsPeek_entry WTPacketsPeek = nullptr;
    WTGetA_entry WTGetA = nullptr;
    WTOverlap_entry WTOverlap = nullptr;
    dynamic_code_library library;
    // UTF-8, at most 55 bytes and cut on a character boundary.
    char device_name[56] = {};
};

// The process-wide table.
tablet_services& tablet_service_table();

// Fills the table once; on failure sets the load-error text and releases the library.
void load_tablet_services();

// The name of a device as the driver writes it, in the ANSI code page, read into a
// guarded buffer of at least device_name_read_size bytes whatever the size query
// answers, and more (up to announced_size_cap) when it announces more.
constexpr size_t device_name_read_size = 1024;
std::string read_device_name_in_ansi(WTInfoA_entry info, UINT device);


// Empty unless loading failed.
const std::string& tablet_services_load_error();

}  // namespace tevrin
