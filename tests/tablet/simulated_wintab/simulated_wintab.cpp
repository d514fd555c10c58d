// A WinTab driver for tests: the eight entry points the tablet code binds, driven
// by control entry points instead of a tablet. Variants without one entry point
// are built from this file with SIMULATED_WINTAB_WITHOUT_<entry> defined.
//
// Behaviour worth knowing when reading a test:
// - the default system context reports device 0, whose pressure axis is 0..1023;
// - every cursor's normal pressure acts on button 0, the button map is the
//   identity, and the release and press marks are 0 until a test sets them;
// - WTQueueSizeSet accepts sizes up to 128 unless a test sets another limit;
// - a full queue drops its oldest packet, so the newest packets always survive.
//
// Playback: with TEVRIN_SIMULATED_PEN_RAMP set to "first,last,steps", every context
// behaves as a pen in proximity (WT_PROXIMITY entering is posted to its window when
// it opens) pressed ever harder: each WTPacketsGet first queues one packet of cursor
// 1 with the pressure button down, whose raw pressure climbs from first to last in
// steps packets and then stays at last. A whole program exercises this without
// knowing; the variable is read at each opening, and without it only the controls
// below make packets.
//
// Report scenarios: the driver answers the information queries of a whole report
// (interface, one device, three cursors, one extension). With TEVRIN_SIMULATED_STROKE
// set, a context's first WTPacketsGet queues a known stroke (queue_stroke) and the pen
// leaves afterwards. TEVRIN_SIMULATED_QUIRKS holds comma-separated misbehaviours:
// name-size-zero and name-size-short (the device-name size query answers 0, or 4
// although the name is longer), overrun (cursor names are
// written 4 bytes past their announced size), unterminated (the WinTab id has no
// terminator within its size), zero-pressure (pressure axis 0..0), serial-gaps and
// queue-errors (in the stroke), refuse-fields (WTOpenA drops serial numbers and
// orientation from the packet items), reject-fields (WTOpenA refuses any context that
// asks for more items than the main program's).
#include "simulated_wintab/pen_ramp.h"
#include "simulated_wintab/simulated_wintab_controls.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

using namespace tevrin;

#define SIMULATED_EXPORT extern "C" __declspec(dllexport)

// Every item a packet can carry; a context receives the ones its lcPktData asks for.
struct simulated_packet {
    DWORD status = 0, time = 0, changed = 0, serial = 0, cursor = 0, buttons = 0;
    LONG x = 0, y = 0, z = 0;
    UINT normal = 0, tangent = 0;
    ORIENTATION orientation = {0, 0, 0};
    int rotation[3] = {0, 0, 0};
};

struct tevrin::wintab_context_tag {
    HWND window;
    LOGCONTEXTA settings;
    int queueCapacity;
    std::deque<simulated_packet> queue;
    std::optional<simulated_wintab::pen_ramp> ramp;
    bool strokePending;
};

namespace {

struct CursorButtons {
    BYTE pressureButton = 0;
    std::vector<BYTE> buttonMap;
    DWORD marks[2] = {0, 0};
};

struct PressureAxis {
    AXIS axis;
    bool answered;
};

struct DriverState {
    bool interfaceAvailable = true;
    std::string deviceName = "Simulated Tablet";
    UINT defaultDevice = 0;
    std::map<UINT, PressureAxis> pressureAxes{{0, {{0, 1023, 0, 0}, true}}};
    std::map<UINT, CursorButtons> cursors;
    int largestQueueSize = 128;
    bool openFails = false;
    std::vector<std::unique_ptr<wintab_context_tag>> contexts;
    std::map<std::string, int> entryCalls;
    std::map<std::pair<UINT, UINT>, int> infoQueries;
    bool opened = false;
    LOGCONTEXTA lastOpenSettings = {};
    HWND lastOpenWindow = nullptr;
    BOOL lastOpenEnable = FALSE;
};

DriverState driver;

[[maybe_unused]] bool quirk(const std::string& word)
{
    char text[256] = {};
    GetEnvironmentVariableA("TEVRIN_SIMULATED_QUIRKS", text, sizeof text);
    return ("," + std::string(text) + ",").find("," + word + ",") != std::string::npos;
}

template <typename Record>
UINT answer(LPVOID output, const Record& record);

// A text and its terminator; the quirks write it unterminated or past its size.
[[maybe_unused]] UINT answer_text(LPVOID output, const std::string& text, bool terminated = true, size_t overrun = 0)
{
    const size_t size = text.size() + (terminated ? 1 : 0);
    if (output) {
        std::memcpy(output, text.c_str(), size);
        std::memset(static_cast<BYTE*>(output) + size, 'X', overrun);
    }
    return static_cast<UINT>(size);
}

void count_call(const char* entry)
{
    ++driver.entryCalls[entry];
}

wintab_context_tag* find_context(HCTX context)
{
    for (const auto& open : driver.contexts)
        if (open.get() == context)
            return open.get();
    return nullptr;
}

void enqueue(wintab_context_tag& open, const simulated_packet& packet)
{
    if (open.queueCapacity == 0)
        return;
    if (static_cast<int>(open.queue.size()) == open.queueCapacity)
        open.queue.pop_front();
    open.queue.push_back(packet);
}

void post_proximity(HWND window, wintab_context_tag* open, bool entering)
{
    // Low word: the cursor entered (1) or left (0); high word: hardware proximity.
    PostMessageA(window, WT_PROXIMITY, reinterpret_cast<WPARAM>(open), MAKELPARAM(entering ? 1 : 0, 1));
}

// The playback ramp the environment asks for. A malformed value is reported on the
// debugger output and plays nothing back, so a typo shows up as a pen that never came.
[[maybe_unused]] std::optional<simulated_wintab::pen_ramp> ramp_from_environment()
{
    char text[256];
    const DWORD length = GetEnvironmentVariableA("TEVRIN_SIMULATED_PEN_RAMP", text, sizeof text);
    if (length == 0)
        return std::nullopt;
    if (length >= sizeof text) {
        OutputDebugStringA("simulated wintab: TEVRIN_SIMULATED_PEN_RAMP is too long, no playback\n");
        return std::nullopt;
    }
    try {
        return simulated_wintab::pen_ramp::parse(text);
    } catch (const std::invalid_argument& failure) {
        OutputDebugStringA(("simulated wintab: " + std::string(failure.what()) + ", no playback\n").c_str());
        return std::nullopt;
    }
}

wintab_context_tag* context_of_window(HWND window)
{
    for (const auto& open : driver.contexts)
        if (open->window == window)
            return open.get();
    return nullptr;
}

[[maybe_unused]] LOGCONTEXTA default_system_context()
{
    LOGCONTEXTA settings = {};
    std::strcpy(settings.lcName, "Simulated system context");
    settings.lcOptions = CXO_SYSTEM | CXO_MESSAGES;
    settings.lcMsgBase = WT_DEFBASE;
    settings.lcDevice = driver.defaultDevice;
    settings.lcPktRate = 133;
    settings.lcPktData = PK_X | PK_Y | PK_BUTTONS;
    settings.lcPktMode = PK_BUTTONS;
    settings.lcMoveMask = PK_X | PK_Y;
    settings.lcBtnDnMask = 0x7;
    settings.lcBtnUpMask = 0x1;
    settings.lcInExtX = 15200;
    settings.lcInExtY = 9500;
    settings.lcInExtZ = 1024;
    settings.lcOutOrgX = 17;
    settings.lcOutOrgY = 23;
    settings.lcOutExtX = 15200;
    settings.lcOutExtY = 9500;
    settings.lcSensX = settings.lcSensY = settings.lcSensZ = 0x10000;
    settings.lcSysMode = FALSE;
    settings.lcSysExtX = 1280;
    settings.lcSysExtY = 1024;
    settings.lcSysSensX = settings.lcSysSensY = 0x10000;
    return settings;
}

[[maybe_unused]] LOGCONTEXTA default_digitizing_context()
{
    LOGCONTEXTA settings = default_system_context();
    std::strcpy(settings.lcName, "Simulated digitizing context");
    settings.lcOptions = CXO_MESSAGES;
    return settings;
}

template <typename Record>
UINT answer(LPVOID output, const Record& record)
{
    static_assert(!std::is_pointer<Record>::value, "answer a record, not a pointer");
    if (output)
        std::memcpy(output, &record, sizeof record);
    return sizeof record;
}

[[maybe_unused]] UINT answer_device(UINT device, UINT index, LPVOID output)
{
    if (index == DVC_NAME) {
        if (!output && (quirk("name-size-zero") || quirk("name-size-short")))
            return quirk("name-size-short") ? 4 : 0;
        return answer_text(output, driver.deviceName);
    }
    if (index == DVC_NPRESSURE) {
        const auto axis = driver.pressureAxes.find(device);
        if (axis == driver.pressureAxes.end() || !axis->second.answered)
            return 0;
        return answer(output, quirk("zero-pressure") ? AXIS{0, 0, TU_NONE, 0} : axis->second.axis);
    }
    if (device != 0)
        return 0;
    const AXIS tilt[3] = {{0, 3599, TU_CIRCLE, 3600 << 16}, {-900, 900, TU_CIRCLE, 3600 << 16}, {0, 0, TU_NONE, 0}};
    switch (index) {
    case DVC_HARDWARE: return answer(output, UINT(HWC_HARDPROX | HWC_PHYSID_CURSORS));
    case DVC_NCSRTYPES: return answer(output, UINT(3));
    case DVC_FIRSTCSR: return answer(output, UINT(0));
    case DVC_PKTRATE: return answer(output, UINT(200));
    case DVC_PKTDATA: return answer(output, WTPKT(0x1FFF));
    case DVC_PKTMODE: return answer(output, WTPKT(0));
    case DVC_X: return answer(output, AXIS{0, 15199, TU_CENTIMETERS, 1000 << 16});
    case DVC_Y: return answer(output, AXIS{0, 9499, TU_CENTIMETERS, 1000 << 16});
    case DVC_ORIENTATION: return answer(output, tilt);
    case DVC_PNPID: return answer_text(output, "SIM0001");
    default: return 0;
    }
}

[[maybe_unused]] UINT answer_cursor(UINT cursor, UINT index, LPVOID output)
{
    const CursorButtons buttons = driver.cursors[cursor];
    static const char* const names[] = {"Puck", "Pressure Stylus", "Eraser"};
    switch (index) {
    case CSR_NAME: return cursor < 3 ? answer_text(output, names[cursor], true, quirk("overrun") ? 4 : 0) : 0;
    case CSR_ACTIVE: return answer(output, BOOL(cursor == 1));
    case CSR_BUTTONS: return answer(output, BYTE(2));
    case CSR_BTNNAMES: return answer_text(output, std::string("Tip\0Barrel\0", 11));
    case CSR_PHYSID: return answer(output, DWORD(0x5100 + cursor));
    case CSR_TYPE: return answer(output, UINT(cursor == 0 ? 0x0006 : 0x0822));
    case CSR_CAPABILITIES: return answer(output, UINT(cursor == 2 ? CRC_INVERT : CRC_MULTIMODE));
    case CSR_NPBUTTON: return answer(output, buttons.pressureButton);
    case CSR_NPBTNMARKS: return answer(output, buttons.marks);
    case CSR_BUTTONMAP: {
        BYTE map[32];
        for (BYTE logical = 0; logical < 32; ++logical)
            map[logical] = logical;
        std::copy(buttons.buttonMap.begin(), buttons.buttonMap.end(), map);
        return answer(output, map);
    }
    default: return 0;
    }
}

// The pressure button of the pen tip as a bit of the packet's buttons: the logical
// button the cursor names, mapped to its physical button when the map covers it.
DWORD pressure_button_bit_of_pen_tip()
{
    const CursorButtons& tip = driver.cursors[1];
    BYTE physical = tip.pressureButton;
    if (physical < tip.buttonMap.size())
        physical = tip.buttonMap[physical];
    return DWORD(1) << (physical % 32);
}

simulated_packet pen_packet(DWORD status, DWORD cursor, DWORD buttons, UINT pressure)
{
    simulated_packet packet;
    packet.status = status;
    packet.cursor = cursor;
    packet.buttons = buttons;
    packet.normal = pressure;
    return packet;
}

[[maybe_unused]] void play_back_next_packet(wintab_context_tag& open)
{
    enqueue(open, pen_packet(0, 1, pressure_button_bit_of_pen_tip(), open.ramp->next()));
}

// Pen tip, cursor 1: 10 packets hovering 10 ms apart, then 20 in contact 5 ms apart
// with pressures 50, 100 ... 1000; serial numbers from 1, tilt climbing, the last
// time stamp the time of queuing. Then the pen leaves.
[[maybe_unused]] void queue_stroke(wintab_context_tag& open)
{
    DWORD time = GetTickCount() - 190;
    DWORD serial = 1;
    for (int i = 0; i < 30; ++i) {
        const bool contact = i >= 10;
        time += i == 0 ? 0 : contact ? 5 : 10;
        simulated_packet packet = pen_packet(0, 1, contact ? 1 : 0, contact ? 50 * (i - 9) : 0);
        packet.time = time;
        packet.serial = serial++;
        packet.orientation = {i * 100, 450 + i * 10, 0};
        if (quirk("serial-gaps") && (i == 5 || i == 20))
            serial += 2;
        if (quirk("queue-errors") && (i == 12 || i == 25))
            packet.status |= TPS_QUEUE_ERR;
        enqueue(open, packet);
    }
    post_proximity(open.window, &open, false);
}

// The items the context asked for, in ascending bit order, as a driver lays a packet out.
[[maybe_unused]] BYTE* encode(const wintab_context_tag& open, const simulated_packet& packet, BYTE* out)
{
    const HCTX handle = const_cast<wintab_context_tag*>(&open);
    const std::pair<WTPKT, const void*> items[] = {
        {PK_CONTEXT, &handle}, {PK_STATUS, &packet.status}, {PK_TIME, &packet.time},
        {PK_CHANGED, &packet.changed}, {PK_SERIAL_NUMBER, &packet.serial}, {PK_CURSOR, &packet.cursor},
        {PK_BUTTONS, &packet.buttons}, {PK_X, &packet.x}, {PK_Y, &packet.y}, {PK_Z, &packet.z},
        {PK_NORMAL_PRESSURE, &packet.normal}, {PK_TANGENT_PRESSURE, &packet.tangent},
        {PK_ORIENTATION, &packet.orientation}, {PK_ROTATION, packet.rotation}};
    for (const auto& item : items) {
        if (open.settings.lcPktData & item.first) {
            std::memcpy(out, item.second, packet_item_size(item.first));
            out += packet_item_size(item.first);
        }
    }
    return out;
}

[[maybe_unused]] int copy_packets(const wintab_context_tag& open, int maximum, LPVOID packets)
{
    const int count = std::min(maximum, static_cast<int>(open.queue.size()));
    BYTE* out = static_cast<BYTE*>(packets);
    for (int i = 0; i < count; ++i)
        out = encode(open, open.queue[static_cast<size_t>(i)], out);
    return count;
}

[[maybe_unused]] UINT answer_interface(UINT index, LPVOID output)
{
    switch (index) {
    case IFC_WINTABID: return answer_text(output, "Simulated WinTab driver", !quirk("unterminated"));
    case IFC_SPECVERSION: return answer(output, WORD(0x0104));
    case IFC_IMPLVERSION: return answer(output, WORD(0x0203));
    case IFC_NDEVICES: return answer(output, UINT(1));
    case IFC_NCURSORS: return answer(output, UINT(3));
    case IFC_NCONTEXTS: return answer(output, UINT(16));
    case IFC_CTXOPTIONS: return answer(output, UINT(CXO_SYSTEM | CXO_PEN | CXO_MESSAGES | CXO_MARGIN));
    case IFC_CTXSAVESIZE: return answer(output, UINT(200));
    case IFC_NEXTENSIONS: return answer(output, UINT(1));
    case IFC_NMANAGERS: return answer(output, UINT(0));
    default: return 0;
    }
}

[[maybe_unused]] UINT answer_extension(UINT extension, UINT index, LPVOID output)
{
    if (extension != 0)
        return 0;
    return index == EXT_NAME ? answer_text(output, "Simulated Touch Strip") : index == EXT_TAG ? answer(output, UINT(6)) : 0;
}

}  // namespace

// ---- The WinTab entry points ----

#ifndef SIMULATED_WINTAB_WITHOUT_WTInfoA
SIMULATED_EXPORT UINT WINAPI WTInfoA(UINT category, UINT index, LPVOID output)
{
    count_call("WTInfoA");
    ++driver.infoQueries[{category, index}];
    if (category == 0)
        return driver.interfaceAvailable ? 64 : 0;
    if (category == WTI_DEFSYSCTX)
        return answer(output, default_system_context());
    if (category == WTI_DEFCONTEXT)
        return answer(output, default_digitizing_context());
    if (category == WTI_INTERFACE)
        return answer_interface(index, output);
    if (category >= WTI_EXTENSIONS && category < WTI_EXTENSIONS + 100)
        return answer_extension(category - WTI_EXTENSIONS, index, output);
    if (category >= WTI_DEVICES && category < WTI_DEVICES + 100)
        return answer_device(category - WTI_DEVICES, index, output);
    if (category >= WTI_CURSORS && category < WTI_CURSORS + 100)
        return answer_cursor(category - WTI_CURSORS, index, output);
    return 0;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTOpenA
SIMULATED_EXPORT HCTX WINAPI WTOpenA(HWND window, LOGCONTEXTA* settings, BOOL enable)
{
    count_call("WTOpenA");
    driver.opened = true;
    driver.lastOpenSettings = *settings;
    driver.lastOpenWindow = window;
    driver.lastOpenEnable = enable;
    if (driver.openFails || (quirk("reject-fields") && (settings->lcPktData & ~tablet_packet_items)))
        return nullptr;
    LOGCONTEXTA granted = *settings;
    if (quirk("refuse-fields"))
        granted.lcPktData &= ~(PK_SERIAL_NUMBER | PK_ORIENTATION);
    const bool stroke = GetEnvironmentVariableA("TEVRIN_SIMULATED_STROKE", nullptr, 0) > 0;
    // Like real drivers, a new context starts with a small queue.
    driver.contexts.push_back(std::unique_ptr<wintab_context_tag>(
        new wintab_context_tag{window, granted, 8, {}, ramp_from_environment(), stroke}));
    wintab_context_tag* opened = driver.contexts.back().get();
    if (opened->ramp || stroke)
        post_proximity(window, opened, true);
    return opened;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTClose
SIMULATED_EXPORT BOOL WINAPI WTClose(HCTX context)
{
    count_call("WTClose");
    const auto open = std::find_if(driver.contexts.begin(), driver.contexts.end(),
                                   [context](const std::unique_ptr<wintab_context_tag>& c) { return c.get() == context; });
    if (open == driver.contexts.end())
        return FALSE;
    driver.contexts.erase(open);
    return TRUE;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTQueueSizeSet
SIMULATED_EXPORT BOOL WINAPI WTQueueSizeSet(HCTX context, int size)
{
    count_call("WTQueueSizeSet");
    wintab_context_tag* open = find_context(context);
    if (!open)
        return FALSE;
    if (size < 1 || size > driver.largestQueueSize) {
        // A refused size leaves the context without a queue.
        open->queueCapacity = 0;
        open->queue.clear();
        return FALSE;
    }
    open->queueCapacity = size;
    open->queue.clear();
    return TRUE;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTPacketsGet
SIMULATED_EXPORT int WINAPI WTPacketsGet(HCTX context, int maximum, LPVOID packets)
{
    count_call("WTPacketsGet");
    wintab_context_tag* open = find_context(context);
    if (!open)
        return 0;
    if (maximum <= 0) {
        open->queue.clear();
        return 0;
    }
    if (!packets)
        return 0;
    if (open->ramp)
        play_back_next_packet(*open);
    if (open->strokePending) {
        open->strokePending = false;
        queue_stroke(*open);
    }
    const int count = copy_packets(*open, maximum, packets);
    open->queue.erase(open->queue.begin(), open->queue.begin() + count);
    return count;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTPacketsPeek
SIMULATED_EXPORT int WINAPI WTPacketsPeek(HCTX context, int maximum, LPVOID packets)
{
    count_call("WTPacketsPeek");
    wintab_context_tag* open = find_context(context);
    if (!open || maximum <= 0 || !packets)
        return 0;
    return copy_packets(*open, maximum, packets);
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTGetA
SIMULATED_EXPORT BOOL WINAPI WTGetA(HCTX context, LOGCONTEXTA* settings)
{
    count_call("WTGetA");
    wintab_context_tag* open = find_context(context);
    if (!open)
        return FALSE;
    *settings = open->settings;
    return TRUE;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTOverlap
SIMULATED_EXPORT BOOL WINAPI WTOverlap(HCTX context, BOOL toTop)
{
    count_call(toTop ? "WTOverlap to top" : "WTOverlap to bottom");
    return find_context(context) ? TRUE : FALSE;
}
#endif

// ---- Controls for tests ----

SIMULATED_EXPORT void SimulatedWintab_SetInterfaceAvailable(BOOL available)
{
    driver.interfaceAvailable = available != FALSE;
}

SIMULATED_EXPORT void SimulatedWintab_SetDeviceName(const char* ansiName)
{
    driver.deviceName = ansiName;
}

SIMULATED_EXPORT void SimulatedWintab_SetDefaultDevice(UINT device)
{
    driver.defaultDevice = device;
}

SIMULATED_EXPORT void SimulatedWintab_SetPressureAxis(UINT device, LONG minimum, LONG maximum, BOOL answered)
{
    driver.pressureAxes[device] = {{minimum, maximum, 0, 0}, answered != FALSE};
}

SIMULATED_EXPORT void SimulatedWintab_SetCursorButtons(UINT cursor, BYTE pressureButton, const BYTE* buttonMap,
                                                       UINT mapSize, DWORD releaseMark, DWORD pressMark)
{
    CursorButtons& buttons = driver.cursors[cursor];
    buttons.pressureButton = pressureButton;
    buttons.buttonMap.assign(buttonMap, buttonMap + std::min(mapSize, 32u));
    buttons.marks[0] = releaseMark;
    buttons.marks[1] = pressMark;
}

SIMULATED_EXPORT void SimulatedWintab_SetLargestQueueSize(int size)
{
    driver.largestQueueSize = size;
}

SIMULATED_EXPORT void SimulatedWintab_SetOpenFails(BOOL fails)
{
    driver.openFails = fails != FALSE;
}

SIMULATED_EXPORT void SimulatedWintab_QueuePacket(HWND window, DWORD status, DWORD cursor, DWORD buttons,
                                                  DWORD pressure)
{
    wintab_context_tag* open = context_of_window(window);
    if (open)
        enqueue(*open, pen_packet(status, cursor, buttons, pressure));
}

SIMULATED_EXPORT void SimulatedWintab_PostProximity(HWND window, BOOL entering)
{
    post_proximity(window, context_of_window(window), entering != FALSE);
}

SIMULATED_EXPORT void SimulatedWintab_PostInfoChange(HWND window)
{
    PostMessageA(window, WT_INFOCHANGE, 0, MAKELPARAM(WTI_CURSORS, 0));
}

SIMULATED_EXPORT int SimulatedWintab_QueuedPacketCount(HWND window)
{
    wintab_context_tag* open = context_of_window(window);
    return open ? static_cast<int>(open->queue.size()) : -1;
}

SIMULATED_EXPORT int SimulatedWintab_EntryCallCount(const char* entry)
{
    return driver.entryCalls[entry];
}

SIMULATED_EXPORT int SimulatedWintab_InfoQueryCount(UINT category, UINT index)
{
    return driver.infoQueries[{category, index}];
}

SIMULATED_EXPORT BOOL SimulatedWintab_LastOpenRequest(LOGCONTEXTA* settings, HWND* window, BOOL* enable)
{
    *settings = driver.lastOpenSettings;
    *window = driver.lastOpenWindow;
    *enable = driver.lastOpenEnable;
    return driver.opened ? TRUE : FALSE;
}

SIMULATED_EXPORT int SimulatedWintab_OpenContextCount()
{
    return static_cast<int>(driver.contexts.size());
}
