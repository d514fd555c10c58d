#include "report/output/report_labels.h"

namespace nibscope_report {
namespace {

const char* const per_second = "packets per second";
const char* const pixels = "px";

// Every key the report writes. A key whose meaning depends on where it stands is also
// declared as "parent.key", which wins over the key alone.
const key_label labels[] = {
    // The head of the report: summary, findings, checks.
    {"summary", "Summary", ""}, {"findings", "Findings", ""}, {"checks", "Checks", ""}, {"check", "Check", ""},
    {"outcome", "Outcome", ""}, {"cause", "Cause", ""}, {"remedy", "Remedy", ""}, {"who", "Who can act", ""},
    {"id", "Check", ""}, {"sentence", "Sentence", ""},
    {"report", "Report", ""}, {"program", "Program", ""}, {"version", "Version", ""}, {"names", "Private names", ""},
    // The system.
    {"system", "System", ""}, {"windows", "Windows", ""}, {"build", "Build", ""},
    {"ansi_code_page", "ANSI code page", ""}, {"dpi_awareness", "DPI awareness", ""},
    {"report_time_utc", "Report time (UTC)", ""},
    // The driver's library and its namesakes.
    {"driver_library", "Driver library", ""}, {"requested", "Requested", ""}, {"loaded", "Loaded", ""},
    {"load_error", "Load error", ""}, {"path", "Path", ""}, {"exists", "Exists", ""}, {"size", "Size", "bytes"},
    {"last_write", "Last written (UTC)", ""}, {"machine", "Machine", ""}, {"version_resource", "Version resource", ""},
    {"file_version", "File version", ""}, {"product_version", "Product version", ""}, {"company", "Company", ""},
    {"product_name", "Product name", ""}, {"description", "Description", ""},
    {"missing_entries", "Missing entries", ""}, {"wide_entries", "Wide-character entries", ""},
    {"search_path", "wintab32.dll files on the search path", ""},
    {"wintab32_32bit", "32-bit wintab32.dll", ""},
    {"driver_32bit", "32-bit programs", ""}, {"exit_status", "Exit status", ""},
    // The interface.
    {"interface", "WinTab interface", ""}, {"answers", "Answers", ""}, {"wintab_id", "WinTab id", ""},
    {"specification_version", "Specification version", ""}, {"implementation_version", "Implementation version", ""},
    {"interface.devices", "Devices counted", ""}, {"interface.cursors", "Cursors counted", ""},
    {"interface.contexts", "Contexts offered", ""}, {"interface.extensions", "Extensions counted", ""},
    {"managers", "Managers", ""}, {"context_options", "Context options", ""},
    {"context_save_size", "Context save size", "bytes"},
    // Devices, their axes and cursors.
    {"devices", "Devices", ""}, {"cursors", "Cursors", ""}, {"contexts", "Contexts", ""},
    {"extensions", "Extensions", ""}, {"name", "Name", ""}, {"hardware", "Hardware", ""},
    {"cursor_types", "Cursor types", ""}, {"first_cursor", "First cursor", ""},
    {"packet_rate", "Packet rate", per_second}, {"packet_data", "Packet items", ""},
    {"x", "X axis", ""}, {"y", "Y axis", ""}, {"z", "Z axis", ""},
    {"tangential_pressure", "Tangential pressure axis", ""}, {"normal_pressure", "Pressure axis", ""},
    {"orientation", "Orientation", ""}, {"rotation", "Rotation", ""}, {"pnp_id", "Plug and Play id", ""},
    {"minimum", "Minimum", ""}, {"maximum", "Maximum", ""}, {"units", "Units", ""},
    {"resolution", "Resolution", "lines per unit"}, {"levels", "Levels", ""},
    {"azimuth", "Azimuth", ""}, {"altitude", "Altitude", ""}, {"twist", "Twist", ""},
    {"orientation.tilt", "Tilt", ""}, {"pitch", "Pitch", ""}, {"roll", "Roll", ""}, {"yaw", "Yaw", ""},
    {"active", "Active", ""}, {"buttons", "Buttons", ""}, {"button_names", "Button names", ""},
    {"physical_id", "Physical id", ""}, {"type", "Type", ""}, {"pressure_button", "Pressure button", ""},
    {"pressure_button_marks", "Pressure button marks", ""}, {"release", "Release", ""}, {"press", "Press", ""},
    {"capabilities", "Capabilities", ""}, {"tag", "Tag", ""},
    // The default contexts.
    {"default_system", "Default system context", ""}, {"default_digitizing", "Default digitizing context", ""},
    {"options", "Options", ""}, {"status", "Status", ""}, {"locks", "Locks", ""},
    {"message_base", "Message base", ""}, {"device", "Device", ""}, {"packet_mode", "Packet mode", ""},
    {"move_mask", "Move mask", ""}, {"button_down_mask", "Button down mask", ""},
    {"button_up_mask", "Button up mask", ""}, {"input_origin", "Input origin (x, y, z)", ""},
    {"input_extent", "Input extent (x, y, z)", ""}, {"output_origin", "Output origin (x, y, z)", ""},
    {"output_extent", "Output extent (x, y, z)", ""}, {"sensitivity", "Sensitivity (x, y, z)", ""},
    {"system_cursor_mode", "System cursor mode", ""}, {"system_origin", "System origin (x, y)", pixels},
    {"system_extent", "System extent (width, height)", pixels},
    {"system_sensitivity", "System sensitivity (x, y)", ""},
    // Displays and pointer devices.
    {"displays", "Displays", ""}, {"monitors", "Monitors", ""},
    {"rectangle", "Rectangle (left, top, width, height)", pixels},
    {"work_area", "Work area (left, top, width, height)", pixels}, {"dpi", "DPI", ""}, {"primary", "Primary", ""},
    {"virtual_screen", "Virtual screen (left, top, width, height)", pixels},
    {"default_context_area", "Default context's area", ""},
    {"pointer_devices", "Pointer devices", ""}, {"product", "Product", ""}, {"monitor", "Monitor", ""},
    {"maximum_contacts", "Maximum contacts", ""}, {"pressure", "Pressure", ""}, {"tilt_x", "Tilt x", ""},
    {"tilt_y", "Tilt y", ""}, {"logical_minimum", "Logical minimum", ""}, {"logical_maximum", "Logical maximum", ""},
    {"physical_minimum", "Physical minimum", ""}, {"physical_maximum", "Physical maximum", ""},
    {"unavailable", "Unavailable", ""},
    // The capture.
    {"capture", "Capture", ""}, {"seconds", "Duration", "s"}, {"packets", "Packets", ""},
    {"proximity_enters", "Proximity entries", ""}, {"proximity_leaves", "Proximity exits", ""},
    {"cursors_seen", "Cursors seen", ""}, {"buttons_seen", "Buttons seen", ""},
    {"hovering", "Hovering", ""}, {"in_contact", "In contact", ""}, {"packets_per_second", "Rate", per_second},
    {"median_interval_ms", "Median interval", "ms"}, {"p99_interval_ms", "99th percentile interval", "ms"},
    {"packet_age_ms", "Packet age (read after its time stamp)", "ms"}, {"median", "Median", ""},
    {"distinct_values", "Distinct values", ""}, {"share_of_range_percent", "Share of the range", "%"},
    {"capture.tilt", "Tilt", "tenths of a degree"}, {"pointer.tilt", "Tilt", "degrees"},
    {"altitude_minimum", "Altitude minimum", ""}, {"altitude_maximum", "Altitude maximum", ""},
    {"azimuth_minimum", "Azimuth minimum", ""}, {"azimuth_maximum", "Azimuth maximum", ""},
    {"x_minimum", "X minimum", ""}, {"x_maximum", "X maximum", ""}, {"y_minimum", "Y minimum", ""},
    {"y_maximum", "Y maximum", ""},
    {"pressure_while_tip_up", "Packets with pressure while the tip was up", ""},
    {"packets_sharing_a_time_stamp", "Packets sharing a time stamp", ""},
    {"queue_errors", "Queue errors", ""}, {"lost_packets", "Lost packets", ""},
    {"mapping", "WinTab against the cursor", ""}, {"packets_compared", "Packets compared", ""},
    {"median_offset_px", "Median offset", pixels}, {"largest_offset_px", "Largest offset", pixels},
    {"pointer", "Windows Ink (pointer input)", ""}, {"pen_pressure", "Pen pressure delivered", ""},
    {"wintab", "WinTab", ""}, {"windows_ink", "Windows Ink", ""}, {"pen_apis", "Pen APIs", ""},
    {"clock", "Clock", ""}, {"ended_early", "Ended early", ""},
};

const key_label* find(const std::string& key)
{
    for (const key_label& label : labels)
        if (key == label.key)
            return &label;
    return nullptr;
}

}  // namespace

const key_label* declared_label(const std::string& parent, const std::string& key)
{
    const key_label* placed = parent.empty() ? nullptr : find(parent + "." + key);
    return placed ? placed : find(key);
}

std::string label_of(const std::string& key, const std::string& parent)
{
    const key_label* label = declared_label(parent, key);
    return label ? label->label : key;
}

std::string unit_of(const std::string& key, const std::string& parent)
{
    const key_label* label = declared_label(parent, key);
    return label ? label->unit : "";
}

}  // namespace nibscope_report
