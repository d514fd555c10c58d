#pragma once
// The driver's own account of itself: interface, devices, cursors, default contexts
// and extensions, each read through guarded queries.
#include "report/driver/driver_queries.h"
#include "report/tree/report_value.h"

namespace nibscope_report {

// Names of the bits set in a packet-item mask: "status", "time", ... .
report_value packet_item_names(tevrin::WTPKT items);

// The five sections "interface", "devices", "cursors", "contexts", "extensions", added to report.
void add_driver_sections(report_value& report, driver_queries& queries);

// The same five sections, each saying why it could not be read.
void add_unavailable_sections(report_value& report, const std::string& why);

}  // namespace nibscope_report
