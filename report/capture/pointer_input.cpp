#include "report/capture/pointer_input.h"

#include "report/capture/pointer_records.h"
#include "report/machine/system_function.h"
#include "tevrin/core/text.h"

#include <algorithm>
#include <cstdio>

namespace nibscope_report {
namespace {

// The records of the device functions as Windows lays them out; the headers declare
// them only for builds that require Windows 8, which this program does not.
struct pointer_device_info_record {
    DWORD displayOrientation;
    HANDLE device;
    int pointerDeviceType;
    HMONITOR monitor;
    ULONG startingCursorId;
    USHORT maxActiveContacts;
    WCHAR productString[520];
};

struct pointer_device_property_record {
    INT32 logicalMin, logicalMax, physicalMin, physicalMax;
    UINT32 unit, unitExponent;
    USHORT usagePageId, usageId;
};

static_assert(sizeof(pointer_device_info_record) == (sizeof(void*) == 8 ? 1080 : 1064), "POINTER_DEVICE_INFO's size");
static_assert(sizeof(pointer_device_property_record) == 28, "POINTER_DEVICE_PROPERTY's size");

constexpr DWORD pointer_type_pen = 3;
// HID digitizer usages of the properties a pen reports.
constexpr USHORT digitizer_page = 0x0D, tip_pressure = 0x30, x_tilt = 0x3D, y_tilt = 0x3E;

// Ticks of the performance counter per second; 0 where it cannot say.
tevrin::u64 counter_frequency()
{
    LARGE_INTEGER frequency = {};
    return QueryPerformanceFrequency(&frequency) ? static_cast<tevrin::u64>(frequency.QuadPart) : 0;
}

const char* device_type_name(int type)
{
    switch (type) {
    case 1: return "integrated pen";
    case 2: return "external pen";
    case 3: return "touch";
    case 5: return "touch pad";
    default: return "other";
    }
}

report_value property_range(const pointer_device_property_record& property)
{
    return report_value::object()
        .set("logical_minimum", property.logicalMin).set("logical_maximum", property.logicalMax)
        .set("physical_minimum", property.physicalMin).set("physical_maximum", property.physicalMax);
}

report_value describe_device(const pointer_device_info_record& device)
{
    using get_properties = BOOL(WINAPI*)(HANDLE, UINT32*, pointer_device_property_record*);
    const auto getProperties = system_function<get_properties>("GetPointerDeviceProperties");
    MONITORINFOEXW monitor = {};
    monitor.cbSize = sizeof monitor;
    report_value entry = report_value::object()
        .set("type", device_type_name(device.pointerDeviceType))
        .set("product", tevrin::ToUtf8(device.productString))
        .set("monitor", GetMonitorInfoW(device.monitor, &monitor) ? report_value(tevrin::ToUtf8(monitor.szDevice))
                                                                  : report_value())
        .set("maximum_contacts", device.maxActiveContacts);
    report_value pressure, tiltX, tiltY;
    UINT32 count = 0;
    if (getProperties && getProperties(device.device, &count, nullptr) && count > 0) {
        std::vector<pointer_device_property_record> properties(count);
        if (getProperties(device.device, &count, properties.data()))
            for (const auto& property : properties) {
                if (property.usagePageId != digitizer_page)
                    continue;
                if (property.usageId == tip_pressure)
                    pressure = property_range(property);
                else if (property.usageId == x_tilt)
                    tiltX = property_range(property);
                else if (property.usageId == y_tilt)
                    tiltY = property_range(property);
            }
    }
    return entry.set("pressure", pressure).set("tilt_x", tiltX).set("tilt_y", tiltY);
}

}  // namespace

pointer_input::pointer_input()
    : functions_(find_pointer_functions()), counterFrequency_(counter_frequency())
{
    if (!functions_.get_type)
        missing_ = "GetPointerType";
    if (!functions_.get_pen_info)
        missing_ += (missing_.empty() ? "" : ", ") + std::string("GetPointerPenInfo");
}

std::vector<pointer_sample> pointer_input::pen_points(WPARAM wParam, tevrin::u32 arrival) const
{
    const UINT32 id = LOWORD(wParam);
    DWORD type = 0;
    std::vector<pointer_pen_info_record> records(1);
    if (!missing_.empty() || !functions_.get_type(id, &type) || type != pointer_type_pen ||
        !functions_.get_pen_info(id, records.data()))
        return {};
    UINT32 count = records[0].pointerInfo.historyCount;
    if (functions_.get_pen_history && count > 1) {
        std::vector<pointer_pen_info_record> history(count);
        if (functions_.get_pen_history(id, &count, history.data())) {
            history.resize(std::min<size_t>(count, history.size()));
            records.swap(history);
        }
    }
    return pen_samples(records, arrival, counterFrequency_);
}

report_value pointer_devices_section()
{
    using get_devices = BOOL(WINAPI*)(UINT32*, pointer_device_info_record*);
    const auto getDevices = system_function<get_devices>("GetPointerDevices");
    UINT32 count = 0;
    if (!getDevices)
        return report_value::object().set("unavailable", "this system offers no pointer input: user32 lacks GetPointerDevices");
    if (!getDevices(&count, nullptr))
        return report_value::object().set("unavailable", "GetPointerDevices failed, error " + std::to_string(GetLastError()));
    std::vector<pointer_device_info_record> devices(count);
    report_value list = report_value::list();
    if (count > 0 && getDevices(&count, devices.data()))
        for (UINT32 index = 0; index < count; ++index)
            list.add(describe_device(devices[index]));
    return list;
}

}  // namespace nibscope_report
