#pragma once
// --check with --capture: what arrived during the capture, held against what the
// device claims and against the other pen API. Platform-free.
#include "report/checks/check_result.h"
#include "report/tree/report_value.h"

#include <vector>

namespace nibscope_report {

// The device's claims the capture is held against.
struct device_claims {
    tevrin::i64 pressure_minimum = 0;
    tevrin::i64 pressure_maximum = 0;
    report_value packet_rate;  // packets per second; null when the device does not say
};

// pen-apis, mapping, hover-pressure, pressure-reach, packet-loss and report-rate,
// from the capture section.
std::vector<check_result> check_capture(const report_value& capture, const device_claims& device);

}  // namespace nibscope_report
