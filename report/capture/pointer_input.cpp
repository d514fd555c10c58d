#include "report/capture/pointer_input.h"

#include "report/machine/system_function.h"
#include "tevrin/core/text.h"

#include <algorithm>
#include <cstdio>

namespace nibscope_report {
namespace {

// The records of the pointer functions as Windows lays them out; the headers declare
// them only for builds that require Windows 8, which this program does not.
struct pointer_info_record {
    DWORD pointerType;
    UINT32 pointerId;
    UINT32 frameId;
    UINT32 pointerFlags;
    HANDLE sourceDevice;
    HWND hwndTarget;
    POINT ptPixelLocation;
    POINT ptHimetricLocation;
    POINT ptPixelLocationRaw;
    POINT ptHimetricLocationRaw;
    DWORD dwTime;
    UINT32 historyCount;
    INT32 InputData;
    DWORD dwKeyStates;
    UINT64 PerformanceCount;
    int ButtonChangeType;
};

struct pointer_pen_info_record {
    pointer_info_record pointerInfo;
    UINT32 penFlags;
    UINT32 penMask;
    UINT32 pressure;
    UINT32 rotation;
    INT32 tiltX;
    INT32 tiltY;
};

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

// Windows' sizes of the records on each architecture: the handles they hold make the
// x86 records shorter, and a wrong size would have the functions write past them.
constexpr bool wide_pointers = sizeof(void*) == 8;
static_assert(sizeof(pointer_info_record) == (wide_pointers ? 96 : 88), "POINTER_INFO layout");
static_assert(sizeof(pointer_pen_info_record) == (wide_pointers ? 120 : 112), "POINTER_PEN_INFO layout");
static_assert(sizeof(pointer_device_info_record) == (wide_pointers ? 1080 : 1064), "POINTER_DEVICE_INFO layout");
static_assert(sizeof(pointer_device_property_record) == 28, "POINTER_DEVICE_PROPERTY layout");

constexpr DWORD pointer_type_pen = 3;
constexpr UINT32 pointer_flag_in_range = 0x2, pointer_flag_in_contact = 0x4;
constexpr UINT32 pen_mask_pressure = 0x1, pen_mask_tilt_x = 0x4, pen_mask_tilt_y = 0x8;
// HID digitizer usages of the properties a pen reports.
constexpr USHORT digitizer_page = 0x0D, tip_pressure = 0x30, x_tilt = 0x3D, y_tilt = 0x3E;

pointer_sample sample_of(const pointer_pen_info_record& pen, tevrin::u32 arrival)
{
    pointer_sample sample;
    sample.arrival = arrival;
    sample.time = pen.pointerInfo.dwTime;
    sample.id = pen.pointerInfo.pointerId;
    sample.x = pen.pointerInfo.ptPixelLocation.x;
    sample.y = pen.pointerInfo.ptPixelLocation.y;
    sample.pressure = (pen.penMask & pen_mask_pressure) ? pen.pressure : 0;
    sample.tilt_x = (pen.penMask & pen_mask_tilt_x) ? pen.tiltX : 0;
    sample.tilt_y = (pen.penMask & pen_mask_tilt_y) ? pen.tiltY : 0;
    sample.in_contact = (pen.pointerInfo.pointerFlags & pointer_flag_in_contact) != 0;
    sample.in_range = (pen.pointerInfo.pointerFlags & pointer_flag_in_range) != 0;
    return sample;
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
    : getType_(system_function<get_type>("GetPointerType")),
      getPenInfo_(system_function<get_pen_info>("GetPointerPenInfo")),
      getPenHistory_(system_function<get_pen_history>("GetPointerPenInfoHistory"))
{
    if (!getType_)
        missing_ = "GetPointerType";
    if (!getPenInfo_)
        missing_ += (missing_.empty() ? "" : ", ") + std::string("GetPointerPenInfo");
}

std::vector<pointer_sample> pointer_input::pen_points(WPARAM wParam, tevrin::u32 arrival) const
{
    std::vector<pointer_sample> points;
    const UINT32 id = LOWORD(wParam);
    DWORD type = 0;
    pointer_pen_info_record latest = {};
    if (!missing_.empty() || !getType_(id, &type) || type != pointer_type_pen || !getPenInfo_(id, &latest))
        return points;
    UINT32 count = latest.pointerInfo.historyCount;
    if (getPenHistory_ && count > 1) {
        std::vector<pointer_pen_info_record> history(count);
        if (getPenHistory_(id, &count, history.data())) {
            // The history runs newest first.
            for (UINT32 index = std::min<UINT32>(count, static_cast<UINT32>(history.size())); index-- > 0;)
                points.push_back(sample_of(history[index], arrival));
            return points;
        }
    }
    points.push_back(sample_of(latest, arrival));
    return points;
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
