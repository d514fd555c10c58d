#include "report/driver/driver_report.h"

#include "tevrin/core/text.h"

#include <cstdio>
#include <cstring>

namespace nibscope_report {
namespace {

using namespace tevrin;

struct bit_name {
    u32 bit;
    const char* name;
};

template <size_t N>
report_value names_of(u32 bits, const bit_name (&names)[N])
{
    report_value list = report_value::list();
    for (const auto& entry : names)
        if (bits & entry.bit)
            list.add(entry.name);
    return list;
}

const bit_name context_options[] = {{CXO_SYSTEM, "system"}, {CXO_PEN, "pen"}, {CXO_MESSAGES, "messages"},
                                    {CXO_CSRMESSAGES, "cursor messages"}, {CXO_MGNINSIDE, "margin inside"},
                                    {CXO_MARGIN, "margin"}};

std::string hex(u32 value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

template <typename Value, typename Convert>
report_value optional_value(const std::optional<Value>& value, Convert convert)
{
    return value ? report_value(convert(*value)) : report_value();
}

template <typename Value>
report_value optional_value(const std::optional<Value>& value)
{
    return value ? report_value(*value) : report_value();
}

report_value version_text(const std::optional<WORD>& version)
{
    if (!version)
        return report_value();
    return std::to_string(HIBYTE(*version)) + "." + std::to_string(LOBYTE(*version));
}

report_value axis_value(const AXIS& axis)
{
    static const char* const units[] = {"none", "inches", "centimeters", "circle"};
    return report_value::object()
        .set("minimum", static_cast<i64>(axis.axMin))
        .set("maximum", static_cast<i64>(axis.axMax))
        .set("units", axis.axUnits < 4 ? report_value(units[axis.axUnits]) : report_value(axis.axUnits))
        .set("resolution", axis.axResolution / 65536.0);
}

report_value axis_of(driver_queries& queries, UINT category, UINT index)
{
    return optional_value(queries.record<AXIS>(category, index), axis_value);
}

report_value three_axes(driver_queries& queries, UINT category, UINT index, const char* const (&names)[3])
{
    struct three {
        AXIS axes[3];
    };
    const auto answer = queries.record<three>(category, index);
    if (!answer)
        return report_value();
    report_value axes = report_value::object();
    for (int i = 0; i < 3; ++i)
        axes.set(names[i], axis_value(answer->axes[i]));
    return axes;
}

report_value device_section(driver_queries& queries, UINT device)
{
    const UINT category = WTI_DEVICES + device;
    static const bit_name hardware[] = {{HWC_INTEGRATED, "integrated with the display"},
                                        {HWC_TOUCH, "touch (no hover)"},
                                        {HWC_HARDPROX, "reports proximity"},
                                        {HWC_PHYSID_CURSORS, "identifies physical cursors"}};
    static const char* const orientation[] = {"azimuth", "altitude", "twist"};
    static const char* const rotation[] = {"pitch", "roll", "yaw"};
    const auto pressure = queries.record<AXIS>(category, DVC_NPRESSURE);
    report_value normal = pressure ? axis_value(*pressure) : report_value();
    if (pressure)
        normal.set("levels", static_cast<i64>(pressure->axMax) - pressure->axMin + 1);
    report_value tilt = three_axes(queries, category, DVC_ORIENTATION, orientation);
    if (!tilt.is_null())
        tilt.set("tilt", tilt.get("altitude").get("maximum").integer() > tilt.get("altitude").get("minimum").integer());
    return report_value::object()
        .set("name", queries.device_name(device))
        .set("hardware", optional_value(queries.record<UINT>(category, DVC_HARDWARE),
                                        [](UINT bits) { return names_of(bits, hardware); }))
        .set("cursor_types", optional_value(queries.record<UINT>(category, DVC_NCSRTYPES)))
        .set("first_cursor", optional_value(queries.record<UINT>(category, DVC_FIRSTCSR)))
        .set("packet_rate", optional_value(queries.record<UINT>(category, DVC_PKTRATE)))
        .set("packet_data", optional_value(queries.record<WTPKT>(category, DVC_PKTDATA), packet_item_names))
        .set("x", axis_of(queries, category, DVC_X))
        .set("y", axis_of(queries, category, DVC_Y))
        .set("z", axis_of(queries, category, DVC_Z))
        .set("normal_pressure", normal)
        .set("tangential_pressure", axis_of(queries, category, DVC_TPRESSURE))
        .set("orientation", tilt)
        .set("rotation", three_axes(queries, category, DVC_ROTATION, rotation))
        .set("pnp_id", optional_value(queries.text(category, DVC_PNPID)));
}

report_value cursor_section(driver_queries& queries, UINT cursor)
{
    const UINT category = WTI_CURSORS + cursor;
    static const bit_name capabilities[] = {
        {CRC_MULTIMODE, "multimode"}, {CRC_AGGREGATE, "aggregate"}, {CRC_INVERT, "inverted end"}};
    const auto buttonNames = queries.texts(category, CSR_BTNNAMES);
    report_value names = report_value::list();
    for (const auto& name : buttonNames ? *buttonNames : std::vector<std::string>())
        names.add(name);
    struct marks {
        UINT release, press;
    };
    return report_value::object()
        .set("name", optional_value(queries.text(category, CSR_NAME)))
        .set("active", optional_value(queries.record<BOOL>(category, CSR_ACTIVE), [](BOOL b) { return b != 0; }))
        .set("buttons", optional_value(queries.record<BYTE>(category, CSR_BUTTONS), [](BYTE b) { return int(b); }))
        .set("button_names", buttonNames ? names : report_value())
        .set("physical_id", optional_value(queries.record<DWORD>(category, CSR_PHYSID), hex))
        .set("type", optional_value(queries.record<UINT>(category, CSR_TYPE), hex))
        .set("pressure_button", optional_value(queries.record<BYTE>(category, CSR_NPBUTTON), [](BYTE b) { return int(b); }))
        .set("pressure_button_marks", optional_value(queries.record<marks>(category, CSR_NPBTNMARKS), [](marks m) {
            return report_value::object().set("release", m.release).set("press", m.press);
        }))
        .set("capabilities", optional_value(queries.record<UINT>(category, CSR_CAPABILITIES),
                                            [](UINT bits) { return names_of(bits, capabilities); }));
}

report_value triple(i64 x, i64 y, i64 z)
{
    return report_value::list().add(x).add(y).add(z);
}

report_value context_section(driver_queries& queries, UINT category)
{
    const auto settings = queries.record<LOGCONTEXTA>(category, 0);
    if (!settings)
        return report_value();
    const LOGCONTEXTA& c = *settings;
    const size_t nameLength = strnlen(c.lcName, sizeof c.lcName);
    if (nameLength == sizeof c.lcName)
        queries.add_finding({terminator_check, category, 0, "left the context name unterminated within its 40 bytes"});
    const auto fixed = [](FIX32 value) { return report_value(value / 65536.0); };
    return report_value::object()
        .set("name", ansi_to_utf8(std::string(c.lcName, nameLength)))
        .set("options", names_of(c.lcOptions, context_options))
        .set("status", hex(c.lcStatus))
        .set("locks", hex(c.lcLocks))
        .set("message_base", hex(c.lcMsgBase))
        .set("device", c.lcDevice)
        .set("packet_rate", c.lcPktRate)
        .set("packet_data", packet_item_names(c.lcPktData))
        .set("packet_mode", packet_item_names(c.lcPktMode))
        .set("move_mask", packet_item_names(c.lcMoveMask))
        .set("button_down_mask", hex(c.lcBtnDnMask))
        .set("button_up_mask", hex(c.lcBtnUpMask))
        .set("input_origin", triple(c.lcInOrgX, c.lcInOrgY, c.lcInOrgZ))
        .set("input_extent", triple(c.lcInExtX, c.lcInExtY, c.lcInExtZ))
        .set("output_origin", triple(c.lcOutOrgX, c.lcOutOrgY, c.lcOutOrgZ))
        .set("output_extent", triple(c.lcOutExtX, c.lcOutExtY, c.lcOutExtZ))
        .set("sensitivity", report_value::list().add(fixed(c.lcSensX)).add(fixed(c.lcSensY)).add(fixed(c.lcSensZ)))
        .set("system_cursor_mode", c.lcSysMode ? "relative" : "absolute")
        .set("system_origin", report_value::list().add(c.lcSysOrgX).add(c.lcSysOrgY))
        .set("system_extent", report_value::list().add(c.lcSysExtX).add(c.lcSysExtY))
        .set("system_sensitivity", report_value::list().add(fixed(c.lcSysSensX)).add(fixed(c.lcSysSensY)));
}

template <typename Section>
report_value each(UINT count, Section section)
{
    report_value list = report_value::list();
    for (UINT index = 0; index < count && index < 100; ++index)
        list.add(section(index));
    return list;
}

// Without the interface's count, the members the main program would use, as far as
// they answer: device 0 (its name and pressure axis), and the cursors of device 0's
// types, or the puck, pen tip and eraser when it does not say.
report_value probed_devices(driver_queries& queries)
{
    report_value device = device_section(queries, 0);
    const bool answers = !device.get("name").text().empty() || !device.get("normal_pressure").is_null();
    return answers ? report_value::list().add(device) : report_value::list();
}

report_value probed_cursors(driver_queries& queries, const report_value& devices)
{
    const report_value none;
    const report_value& device = devices.items().empty() ? none : devices.items()[0];
    const bool typed = !device.get("cursor_types").is_null() && !device.get("first_cursor").is_null();
    const i64 end = typed ? device.get("first_cursor").integer() + device.get("cursor_types").integer() : 3;
    report_value list = report_value::list();
    for (i64 index = 0; index < end && index < 100; ++index) {
        report_value cursor = cursor_section(queries, static_cast<UINT>(index));
        if (!cursor.get("name").is_null() || !cursor.get("pressure_button").is_null())
            list.add(cursor);
    }
    return list;
}

}  // namespace

report_value packet_item_names(WTPKT items)
{
    static const bit_name names[] = {
        {PK_CONTEXT, "context"}, {PK_STATUS, "status"}, {PK_TIME, "time"}, {PK_CHANGED, "changed"},
        {PK_SERIAL_NUMBER, "serial number"}, {PK_CURSOR, "cursor"}, {PK_BUTTONS, "buttons"}, {PK_X, "x"},
        {PK_Y, "y"}, {PK_Z, "z"}, {PK_NORMAL_PRESSURE, "normal pressure"},
        {PK_TANGENT_PRESSURE, "tangential pressure"}, {PK_ORIENTATION, "orientation"}, {PK_ROTATION, "rotation"}};
    return names_of(items, names);
}

void add_driver_sections(report_value& report, driver_queries& queries)
{
    const auto count = [&](UINT index) { return queries.record<UINT>(WTI_INTERFACE, index); };
    const auto devices = count(IFC_NDEVICES);
    const auto cursors = count(IFC_NCURSORS);
    const auto extensions = count(IFC_NEXTENSIONS);
    report.set("interface", report_value::object()
                                .set("answers", queries.interface_answers())
                                .set("wintab_id", optional_value(queries.text(WTI_INTERFACE, IFC_WINTABID)))
                                .set("specification_version", version_text(queries.record<WORD>(WTI_INTERFACE, IFC_SPECVERSION)))
                                .set("implementation_version", version_text(queries.record<WORD>(WTI_INTERFACE, IFC_IMPLVERSION)))
                                .set("devices", optional_value(devices))
                                .set("cursors", optional_value(cursors))
                                .set("contexts", optional_value(count(IFC_NCONTEXTS)))
                                .set("extensions", optional_value(extensions))
                                .set("managers", optional_value(count(IFC_NMANAGERS)))
                                .set("context_options", optional_value(count(IFC_CTXOPTIONS), [](UINT bits) {
                                    return names_of(bits, context_options);
                                }))
                                .set("context_save_size", optional_value(count(IFC_CTXSAVESIZE))));
    report.set("devices", devices ? each(*devices, [&](UINT d) { return device_section(queries, d); })
                                  : probed_devices(queries));
    report.set("cursors", cursors ? each(*cursors, [&](UINT c) { return cursor_section(queries, c); })
                                  : probed_cursors(queries, report.get("devices")));
    report.set("contexts", report_value::object()
                               .set("default_system", context_section(queries, WTI_DEFSYSCTX))
                               .set("default_digitizing", context_section(queries, WTI_DEFCONTEXT)));
    report.set("extensions", each(extensions.value_or(0), [&](UINT e) {
        return report_value::object()
            .set("name", optional_value(queries.text(WTI_EXTENSIONS + e, EXT_NAME)))
            .set("tag", optional_value(queries.record<UINT>(WTI_EXTENSIONS + e, EXT_TAG)));
    }));
}

void add_unavailable_sections(report_value& report, const std::string& why)
{
    for (const char* section : {"interface", "devices", "cursors", "contexts", "extensions"})
        report.set(section, report_value::object().set("unavailable", why));
}

}  // namespace nibscope_report
