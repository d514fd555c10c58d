// A WinTab driver for tests: the eight entry points the tablet code binds, driven
// by control entry points instead of a tablet. Variants without one entry point
// are built from this file with SIMULATED_WINTAB_WITHOUT_<entry> defined.
//
// The variant built with SIMULATED_WINTAB_WITH_HELPER imports a helper library that
// lies beside it (simulated_wintab_helper.cpp).
//
// Behaviour worth knowing when reading a test:
// - the default system context reports device 0, whose pressure axis is 0..1023;
// - every cursor's normal pressure acts on button 0, the button map is the
//   identity, and the release and press marks are 0 until a test sets them;
// - WTQueueSizeSet accepts sizes up to 128 unless a test sets another limit;
// - a full queue drops its oldest packet, so the newest packets always survive.
//
// Playback, chosen from the environment at each opening; a context that plays back
// posts WT_PROXIMITY entering to its window when it opens:
// - TEVRIN_SIMULATED_PEN_RAMP="first,last,steps": a pen pressed ever harder. Each
//   WTPacketsGet first queues one packet of cursor 1 with the pressure button down,
//   whose raw pressure climbs from first to last in steps packets, then stays at last.
//   A whole program exercises this without knowing.
// - otherwise TEVRIN_SIMULATED_RECORDING naming a file that nibscope-report --record
//   wrote: its WinTab packets, as many as the queue holds before each WTPacketsGet,
//   with their time stamps moved to end now; the pen leaves after the last.
// - otherwise TEVRIN_SIMULATED_STROKE set: the first WTPacketsGet queues a known
//   stroke (queue_stroke) and the pen leaves afterwards.
// Without either, only the controls below make packets.
//
// Report scenarios: the driver answers the information queries of a whole report
// (interface, one device, three cursors, one extension). TEVRIN_SIMULATED_QUIRKS holds
// comma-separated misbehaviours, read at every call: name-size-zero and name-size-short
// (the device-name size query answers 0, or 4 although the name is longer), overrun
// (cursor names are written 4 bytes past their announced size; overrun-first and
// overrun-last write only the 1st or the 64th byte past it), unterminated (the
// WinTab id has no terminator within its size), zero-pressure (pressure axis 0..0),
// serial-gaps and queue-errors (in the stroke), refuse-fields (WTOpenA drops serial
// numbers and orientation from the packet items), reject-fields (WTOpenA refuses any
// context that asks for more items than the main program's). Lies a program must
// survive: count-over (WTPacketsGet answers one packet more than asked for),
// write-over (WTPacketsGet writes filler past the packets it copied, up to a whole
// queue past the packets asked for, and answers only the copied ones),
// size-huge (every size query announces 0xFFFFFFFF bytes), long-axis, long-axis-byte,
// long-context and long-marks (records written longer than published: see long_records),
// ansi-context-name (the default contexts' names hold a byte above 127), markup-names
// (the device's and the default contexts' names hold &, <, >, quotes and a control
// character), no-counts (the interface answers none of its counts).
#include "simulated_wintab/simulated_wintab_controls.h"

#include "report/capture/capture_recording.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <list>
#include <map>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

using namespace tevrin;

#define SIMULATED_EXPORT extern "C" __declspec(dllexport)

#ifdef SIMULATED_WINTAB_WITH_HELPER
extern "C" __declspec(dllimport) int simulated_wintab_helper();
namespace {
[[maybe_unused]] const int helperAnswer = simulated_wintab_helper();  // the import the loader must resolve
}
#endif

// Every item a packet can carry; a context receives the ones its lcPktData asks for.
// The pen's own items come first: {status, cursor, buttons, pressure} is a pen packet.
struct simulated_packet {
    DWORD status = 0, cursor = 0, buttons = 0;
    UINT normal = 0;
    DWORD time = 0, serial = 0, changed = 0;
    LONG x = 0, y = 0, z = 0;
    UINT tangent = 0;
    ORIENTATION orientation = {0, 0, 0};
    int rotation[3] = {0, 0, 0};
};

struct tevrin::wintab_context_tag {
    HWND window;
    LOGCONTEXTA settings;
    int queueCapacity;  // like real drivers, a new context starts with a small queue
    std::deque<simulated_packet> queue;
    // Queues packets before each WTPacketsGet reads; answers whether to go on playing.
    std::function<bool(wintab_context_tag&)> playback;
};

namespace {

// The bytes of a record as WTInfoA copies it out.
template <typename Record>
std::string bytes(const Record& record)
{
    static_assert(!std::is_pointer<Record>::value, "answer a record, not a pointer");
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

std::string text(const std::string& value) { return value + '\0'; }

struct CursorButtons {
    BYTE pressureButton = 0;
    std::vector<BYTE> buttonMap;  // the start of the map; the identity beyond it
    DWORD marks[2] = {0, 0};
};

struct DriverState {
    std::string deviceName = "Simulated Tablet";
    UINT defaultDevice = 0;
    // The AXIS each device answers for its normal pressure; empty: the query fails.
    std::map<UINT, std::string> pressureAxes{{0, bytes(AXIS{0, 1023, 0, 0})}};
    std::map<UINT, CursorButtons> cursors;
    int largestQueueSize = 128;
    int lastPacketsMaximum = -1;  // of the last WTPacketsGet; -1: none since the last look
    bool lastPacketsBuffer = false;
    bool openFails = false;
    std::list<wintab_context_tag> contexts;  // a context's address is its handle
    std::map<std::string, int> entryCalls;
    std::map<std::pair<UINT, UINT>, int> infoQueries;
    struct { bool made; LOGCONTEXTA settings; HWND window; BOOL enable; } lastOpen = {};  // the last WTOpenA's request
};

DriverState driver;

// Records written longer than the interface publishes them: the quirk, the query (a
// category base takes its members too), the bytes added, and whether the size query
// owns up to them.
struct long_record { const char* quirk; UINT category, index; size_t extra; bool announced; };
const long_record long_records[] = {
    {"long-axis", WTI_DEVICES, DVC_NPRESSURE, 8, true},
    {"long-axis-byte", WTI_DEVICES, DVC_NPRESSURE, 1, true},
    {"long-context", WTI_DEFSYSCTX, 0, 32, true},
    {"long-context", WTI_DEFCONTEXT, 0, 32, true},
    {"long-marks", WTI_CURSORS, CSR_NPBTNMARKS, 8, false},
};
constexpr BYTE long_record_byte = 'L';
// Names that a page must escape; the control character no markup can hold at all.
const char* const markup_device_name = "Tab & <Pen> \"Pro\" 'X'\x01";
const char* const markup_context_name = "Ctx & <Sys> \"1\" 'a'";
constexpr size_t long_context_extra = 32;  // also what WTGetA adds under long-context

bool quirk(const std::string& word)
{
    char quirks[256] = {};
    GetEnvironmentVariableA("TEVRIN_SIMULATED_QUIRKS", quirks, sizeof quirks);
    return ("," + std::string(quirks) + ",").find("," + word + ",") != std::string::npos;
}

[[maybe_unused]] void overrun(BYTE* past)  // unused by the variant without WTInfoA
{
    if (quirk("overrun"))
        std::memset(past, 'X', 4);
    if (quirk("overrun-first"))
        past[0] = 'X';
    if (quirk("overrun-last"))
        past[63] = 'X';
}

// The device, cursor or extension index of a category based at base, or -1.
int member_of(UINT category, UINT base)
{
    return category >= base && category < base + 100 ? static_cast<int>(category - base) : -1;
}

// The long-record quirk in force for a query, if any.
[[maybe_unused]] const long_record* lengthened(UINT category, UINT index)
{
    for (const long_record& record : long_records) {
        const bool member = record.category < WTI_DEVICES ? category == record.category : member_of(category, record.category) >= 0;
        if (member && index == record.index && quirk(record.quirk))
            return &record;
    }
    return nullptr;
}

// The open context of a handle or, for the controls, of a window.
wintab_context_tag* find_context(HCTX context, HWND window = nullptr)
{
    for (wintab_context_tag& open : driver.contexts)
        if (&open == context || (window && open.window == window))
            return &open;
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

[[maybe_unused]] LOGCONTEXTA default_context(bool system)
{
    LOGCONTEXTA settings = {};
    std::strcpy(settings.lcName, system ? "Simulated system context" : "Simulated digitizing context");
    if (quirk("ansi-context-name"))
        std::strcpy(settings.lcName, system ? "Simulated syst\xE8me context" : "Simulated \xE9tude context");
    if (quirk("markup-names"))
        std::strcpy(settings.lcName, markup_context_name);
    settings.lcOptions = system ? CXO_SYSTEM | CXO_MESSAGES : CXO_MESSAGES;
    settings.lcMsgBase = WT_DEFBASE, settings.lcDevice = driver.defaultDevice, settings.lcPktRate = 133;
    settings.lcPktData = PK_X | PK_Y | PK_BUTTONS, settings.lcPktMode = PK_BUTTONS, settings.lcMoveMask = PK_X | PK_Y;
    settings.lcBtnDnMask = 0x7, settings.lcBtnUpMask = 0x1;
    settings.lcInExtX = settings.lcOutExtX = 15200, settings.lcInExtY = settings.lcOutExtY = 9500, settings.lcInExtZ = 1024;
    settings.lcOutOrgX = 17, settings.lcOutOrgY = 23, settings.lcSysExtX = 1280, settings.lcSysExtY = 1024;
    settings.lcSensX = settings.lcSensY = settings.lcSensZ = settings.lcSysSensX = settings.lcSysSensY = 0x10000;
    return settings;
}

// The answers that never change, by category and index: the interface, device 0
// and extension 0.
[[maybe_unused]] const std::map<std::pair<UINT, UINT>, std::string>& fixed_answers()
{
    const AXIS tilt[3] = {{0, 3599, TU_CIRCLE, 3600 << 16}, {-900, 900, TU_CIRCLE, 3600 << 16}, {0, 0, TU_NONE, 0}};
    static const std::map<std::pair<UINT, UINT>, std::string> answers = {
        {{WTI_INTERFACE, IFC_SPECVERSION}, bytes(WORD(0x0104))},
        {{WTI_INTERFACE, IFC_IMPLVERSION}, bytes(WORD(0x0203))}, {{WTI_INTERFACE, IFC_NDEVICES}, bytes(UINT(1))},
        {{WTI_INTERFACE, IFC_NCURSORS}, bytes(UINT(3))}, {{WTI_INTERFACE, IFC_NCONTEXTS}, bytes(UINT(16))},
        {{WTI_INTERFACE, IFC_CTXOPTIONS}, bytes(UINT(CXO_SYSTEM | CXO_PEN | CXO_MESSAGES | CXO_MARGIN))},
        {{WTI_INTERFACE, IFC_CTXSAVESIZE}, bytes(UINT(200))}, {{WTI_INTERFACE, IFC_NEXTENSIONS}, bytes(UINT(1))},
        {{WTI_INTERFACE, IFC_NMANAGERS}, bytes(UINT(0))},
        {{WTI_DEVICES, DVC_HARDWARE}, bytes(UINT(HWC_HARDPROX | HWC_PHYSID_CURSORS))},
        {{WTI_DEVICES, DVC_NCSRTYPES}, bytes(UINT(3))}, {{WTI_DEVICES, DVC_FIRSTCSR}, bytes(UINT(0))},
        {{WTI_DEVICES, DVC_PKTRATE}, bytes(UINT(200))}, {{WTI_DEVICES, DVC_PKTDATA}, bytes(WTPKT(0x1FFF))},
        {{WTI_DEVICES, DVC_PKTMODE}, bytes(WTPKT(0))},
        {{WTI_DEVICES, DVC_X}, bytes(AXIS{0, 15199, TU_CENTIMETERS, 1000 << 16})},
        {{WTI_DEVICES, DVC_Y}, bytes(AXIS{0, 9499, TU_CENTIMETERS, 1000 << 16})},
        {{WTI_DEVICES, DVC_ORIENTATION}, bytes(tilt)}, {{WTI_DEVICES, DVC_PNPID}, text("SIM0001")},
        {{WTI_EXTENSIONS, EXT_NAME}, text("Simulated Touch Strip")}, {{WTI_EXTENSIONS, EXT_TAG}, bytes(UINT(6))},
    };
    return answers;
}

[[maybe_unused]] std::string cursor_answer(UINT cursor, UINT index)
{
    static const char* const names[] = {"Puck", "Pressure Stylus", "Eraser"};
    const CursorButtons& buttons = driver.cursors[cursor];
    BYTE map[32];  // the identity beyond what the test set
    for (BYTE logical = 0; logical < 32; ++logical)
        map[logical] = logical < buttons.buttonMap.size() ? buttons.buttonMap[logical] : logical;
    switch (index) {
    case CSR_NAME: return cursor < 3 ? text(names[cursor]) : std::string();
    case CSR_ACTIVE: return bytes(BOOL(cursor == 1));
    case CSR_BUTTONS: return bytes(BYTE(2));
    case CSR_BTNNAMES: return text(std::string("Tip\0Barrel\0", 11));
    case CSR_PHYSID: return bytes(DWORD(0x5100 + cursor));
    case CSR_TYPE: return bytes(UINT(cursor == 0 ? 0x0006 : 0x0822));
    case CSR_CAPABILITIES: return bytes(UINT(cursor == 2 ? CRC_INVERT : CRC_MULTIMODE));
    case CSR_NPBUTTON: return bytes(buttons.pressureButton);
    case CSR_NPBTNMARKS: return bytes(buttons.marks);
    case CSR_BUTTONMAP: return bytes(map);
    default: return std::string();
    }
}

// What WTInfoA copies out for a category and index; empty when it has no answer.
[[maybe_unused]] std::string answer(UINT category, UINT index)
{
    if (category == WTI_INTERFACE && index >= IFC_NDEVICES && index != IFC_CTXOPTIONS && index != IFC_CTXSAVESIZE &&
        quirk("no-counts"))
        return std::string();
    const auto fixed = fixed_answers().find({category, index});
    if (fixed != fixed_answers().end())
        return fixed->second;
    if (category == WTI_DEFSYSCTX || category == WTI_DEFCONTEXT)
        return bytes(default_context(category == WTI_DEFSYSCTX));
    if (category == WTI_INTERFACE && index == IFC_WINTABID)
        return quirk("unterminated") ? "Simulated WinTab driver" : text("Simulated WinTab driver");
    const int device = member_of(category, WTI_DEVICES), cursor = member_of(category, WTI_CURSORS);
    if (device >= 0 && index == DVC_NAME)
        return text(quirk("markup-names") ? markup_device_name : driver.deviceName);
    if (device >= 0 && index == DVC_NPRESSURE) {
        const std::string& axis = driver.pressureAxes[static_cast<UINT>(device)];
        return axis.empty() || !quirk("zero-pressure") ? axis : bytes(AXIS{0, 0, TU_NONE, 0});
    }
    return cursor >= 0 ? cursor_answer(static_cast<UINT>(cursor), index) : std::string();
}

// The raw pressure of packet step of a climb (or fall) from first to last in steps
// packets, rounded to the nearest; it stays at last once the steps are used up.
// Every product fits in 64 bits for any 32-bit values.
u32 ramp_pressure(u32 first, u32 last, u32 steps, u32 step)
{
    if (step >= steps - 1)
        return last;
    const u64 intervals = steps - 1, span = first < last ? last - first : first - last;
    const u64 distance = (span * step + intervals / 2) / intervals;
    return static_cast<u32>(first < last ? first + distance : first - distance);
}

// Pen tip, cursor 1: 10 packets hovering 10 ms apart, then 20 in contact 5 ms apart
// with pressures 50, 100 ... 1000; serial numbers from 1, tilt climbing, moving from
// (100, 200) by (20, 5) a packet, the last time stamp the time of queuing. Then the pen leaves.
[[maybe_unused]] bool queue_stroke(wintab_context_tag& open)
{
    DWORD time = GetTickCount() - 190;
    DWORD serial = 1;
    for (int i = 0; i < 30; ++i) {
        const bool contact = i >= 10;
        time += i == 0 ? 0 : contact ? 5 : 10;
        const UINT pressure = contact ? ramp_pressure(50, 1000, 20, static_cast<u32>(i - 10)) : 0;
        simulated_packet packet{0, 1, contact, pressure, time, serial++, 0, 100 + 20 * i, 200 + 5 * i, 0, 0,
                                {i * 100, 450 + i * 10, 0}};
        if (quirk("serial-gaps") && (i == 5 || i == 20))
            serial += 2;
        if (quirk("queue-errors") && (i == 12 || i == 25))
            packet.status |= TPS_QUEUE_ERR;
        enqueue(open, packet);
    }
    post_proximity(open.window, &open, false);
    return false;
}

// A recording's packets as they were captured, minus the pointer points it also holds.
[[maybe_unused]] std::function<bool(wintab_context_tag&)> recording_playback(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<nibscope_report::captured_packet> packets;
    try {
        packets = nibscope_report::read_recording(file).packets;
    } catch (const std::exception& failure) {
        OutputDebugStringA((std::string("simulated wintab: ") + failure.what() + ", no playback\n").c_str());
        return nullptr;
    }
    const DWORD shift = packets.empty() ? 0 : GetTickCount() - packets.back().time;
    return [packets = std::move(packets), shift, played = size_t(0)](wintab_context_tag& open) mutable {
        for (; played < packets.size() && open.queue.size() < static_cast<size_t>(open.queueCapacity); ++played) {
            const nibscope_report::captured_packet& p = packets[played];
            enqueue(open, {p.status, p.cursor, p.buttons, p.pressure, p.time + shift, p.serial, 0, p.x, p.y, 0, 0,
                           {p.azimuth, p.altitude, 0}});
        }
        if (played < packets.size())
            return true;
        post_proximity(open.window, &open, false);
        return false;
    };
}

// "first,last,steps" in decimal, steps at least 1.
bool parse_ramp(const char* text, u32 (&fields)[3])
{
    std::istringstream in(text);
    char commas[2] = {};
    in >> fields[0] >> commas[0] >> fields[1] >> commas[1] >> fields[2];
    return in && in.peek() == EOF && commas[0] == ',' && commas[1] == ',' && fields[2] > 0;
}

// The playback the environment asks for. A malformed ramp is reported on the debugger
// output and plays nothing back, so a typo shows up as a pen that never came.
[[maybe_unused]] std::function<bool(wintab_context_tag&)> playback_from_environment()
{
    char value[256];
    const DWORD length = GetEnvironmentVariableA("TEVRIN_SIMULATED_PEN_RAMP", value, sizeof value);
    u32 ramp[3];
    if (length > 0 && length < sizeof value && parse_ramp(value, ramp)) {
        return [first = ramp[0], last = ramp[1], steps = ramp[2], played = u32(0)](wintab_context_tag& open) mutable {
            // Bit 0: the pen tip's pressure button, which no test changes while a ramp plays.
            enqueue(open, {0, 1, 1, ramp_pressure(first, last, steps, played)});
            played = std::min(played + 1, steps - 1);
            return true;
        };
    }
    if (length > 0)
        OutputDebugStringA("simulated wintab: TEVRIN_SIMULATED_PEN_RAMP is not first,last,steps, no playback\n");
    const DWORD recording = GetEnvironmentVariableA("TEVRIN_SIMULATED_RECORDING", value, sizeof value);
    if (recording > 0 && recording < sizeof value)
        return recording_playback(value);
    if (GetEnvironmentVariableA("TEVRIN_SIMULATED_STROKE", nullptr, 0) > 0)
        return queue_stroke;
    return nullptr;
}

// The items the context asked for, in ascending bit order, as a driver lays a packet out.
[[maybe_unused]] int copy_packets(const wintab_context_tag& open, int maximum, LPVOID packets)
{
    const int count = std::min(maximum, static_cast<int>(open.queue.size()));
    BYTE* out = static_cast<BYTE*>(packets);
    const HCTX handle = const_cast<wintab_context_tag*>(&open);
    for (int i = 0; i < count; ++i) {
        const simulated_packet& packet = open.queue[static_cast<size_t>(i)];
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
    }
    return count;
}

// The lie write-over: filler after the packets copied, which the driver does not
// count, up to a whole queue past the packets asked for, however few it copied.
[[maybe_unused]] void write_past_packets(const wintab_context_tag& open, int copied, int maximum, LPVOID packets)
{
    size_t packetSize = 0;
    for (WTPKT item = 1; item != 0; item <<= 1)
        packetSize += (open.settings.lcPktData & item) ? packet_item_size(item) : 0;
    BYTE* end = static_cast<BYTE*>(packets) + static_cast<size_t>(copied) * packetSize;
    std::memset(end, long_record_byte, static_cast<size_t>(2 * maximum - copied) * packetSize);
}

}  // namespace

// ---- The WinTab entry points ----

#ifndef SIMULATED_WINTAB_WITHOUT_WTInfoA
SIMULATED_EXPORT UINT WINAPI WTInfoA(UINT category, UINT index, LPVOID output)
{
    ++driver.entryCalls["WTInfoA"];
    ++driver.infoQueries[{category, index}];
    if (category == 0)
        return 64;
    const bool named = member_of(category, WTI_DEVICES) >= 0 && index == DVC_NAME;
    if (!output && named && (quirk("name-size-zero") || quirk("name-size-short")))
        return quirk("name-size-short") ? 4 : 0;
    if (!output && quirk("size-huge"))
        return 0xFFFFFFFF;
    const std::string reply = answer(category, index);
    const long_record* longer = reply.empty() ? nullptr : lengthened(category, index);
    const size_t extra = longer ? longer->extra : 0;
    if (output) {
        std::memcpy(output, reply.data(), reply.size());
        std::memset(static_cast<BYTE*>(output) + reply.size(), long_record_byte, extra);
        if (!reply.empty() && member_of(category, WTI_CURSORS) >= 0 && index == CSR_NAME)
            overrun(static_cast<BYTE*>(output) + reply.size());
    }
    return static_cast<UINT>(reply.size() + (longer && longer->announced ? extra : 0));
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTOpenA
SIMULATED_EXPORT HCTX WINAPI WTOpenA(HWND window, LOGCONTEXTA* settings, BOOL enable)
{
    ++driver.entryCalls["WTOpenA"];
    driver.lastOpen = {true, *settings, window, enable};
    if (driver.openFails || (quirk("reject-fields") && (settings->lcPktData & ~tablet_packet_items)))
        return nullptr;
    LOGCONTEXTA granted = *settings;
    if (quirk("refuse-fields"))
        granted.lcPktData &= ~(PK_SERIAL_NUMBER | PK_ORIENTATION);
    driver.contexts.push_back({window, granted, 8, {}, playback_from_environment()});
    wintab_context_tag* opened = &driver.contexts.back();
    if (opened->playback)
        post_proximity(window, opened, true);
    return opened;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTClose
SIMULATED_EXPORT BOOL WINAPI WTClose(HCTX context)
{
    ++driver.entryCalls["WTClose"];
    if (!find_context(context))
        return FALSE;
    driver.contexts.remove_if([context](const wintab_context_tag& open) { return &open == context; });
    return TRUE;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTQueueSizeSet
SIMULATED_EXPORT BOOL WINAPI WTQueueSizeSet(HCTX context, int size)
{
    ++driver.entryCalls["WTQueueSizeSet"];
    wintab_context_tag* open = find_context(context);
    if (!open)
        return FALSE;
    // A refused size leaves the context without a queue.
    const bool granted = size >= 1 && size <= driver.largestQueueSize;
    open->queueCapacity = granted ? size : 0;
    open->queue.clear();
    return granted ? TRUE : FALSE;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTPacketsGet
SIMULATED_EXPORT int WINAPI WTPacketsGet(HCTX context, int maximum, LPVOID packets)
{
    ++driver.entryCalls["WTPacketsGet"];
    driver.lastPacketsMaximum = maximum;
    driver.lastPacketsBuffer = packets != nullptr;
    wintab_context_tag* open = find_context(context);
    if (!open)
        return 0;
    if (maximum <= 0) {
        open->queue.clear();
        return 0;
    }
    if (!packets)
        return 0;
    if (open->playback && !open->playback(*open))
        open->playback = nullptr;
    const int count = copy_packets(*open, maximum, packets);
    open->queue.erase(open->queue.begin(), open->queue.begin() + count);
    if (quirk("write-over"))
        write_past_packets(*open, count, maximum, packets);
    return quirk("count-over") ? maximum + 1 : count;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTPacketsPeek
SIMULATED_EXPORT int WINAPI WTPacketsPeek(HCTX context, int maximum, LPVOID packets)
{
    ++driver.entryCalls["WTPacketsPeek"];
    wintab_context_tag* open = find_context(context);
    return open && maximum > 0 && packets ? copy_packets(*open, maximum, packets) : 0;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTGetA
SIMULATED_EXPORT BOOL WINAPI WTGetA(HCTX context, LOGCONTEXTA* settings)
{
    ++driver.entryCalls["WTGetA"];
    wintab_context_tag* open = find_context(context);
    if (open) {
        *settings = open->settings;
        if (quirk("long-context"))
            std::memset(reinterpret_cast<BYTE*>(settings) + sizeof *settings, long_record_byte, long_context_extra);
    }
    return open ? TRUE : FALSE;
}
#endif

#ifndef SIMULATED_WINTAB_WITHOUT_WTOverlap
SIMULATED_EXPORT BOOL WINAPI WTOverlap(HCTX context, BOOL toTop)
{
    ++driver.entryCalls[toTop ? "WTOverlap to top" : "WTOverlap to bottom"];
    return find_context(context) ? TRUE : FALSE;
}
#endif

// ---- Controls for tests ----

SIMULATED_EXPORT void SimulatedWintab_SetDeviceName(const char* ansiName) { driver.deviceName = ansiName; }
SIMULATED_EXPORT void SimulatedWintab_SetDefaultDevice(UINT device) { driver.defaultDevice = device; }
SIMULATED_EXPORT void SimulatedWintab_SetLargestQueueSize(int size) { driver.largestQueueSize = size; }
SIMULATED_EXPORT void SimulatedWintab_SetOpenFails(BOOL fails) { driver.openFails = fails != FALSE; }
SIMULATED_EXPORT int SimulatedWintab_EntryCallCount(const char* entry) { return driver.entryCalls[entry]; }
SIMULATED_EXPORT int SimulatedWintab_OpenContextCount() { return static_cast<int>(driver.contexts.size()); }
SIMULATED_EXPORT int SimulatedWintab_InfoQueryCount(UINT category, UINT index) { return driver.infoQueries[{category, index}]; }

SIMULATED_EXPORT void SimulatedWintab_SetPressureAxis(UINT device, LONG minimum, LONG maximum, BOOL answered)
{
    driver.pressureAxes[device] = answered ? bytes(AXIS{minimum, maximum, 0, 0}) : std::string();
}

SIMULATED_EXPORT void SimulatedWintab_SetCursorButtons(UINT cursor, BYTE pressureButton, const BYTE* buttonMap,
                                                       UINT mapSize, DWORD releaseMark, DWORD pressMark)
{
    const std::vector<BYTE> map(buttonMap, buttonMap + std::min(mapSize, 32u));
    driver.cursors[cursor] = {pressureButton, map, {releaseMark, pressMark}};
}

SIMULATED_EXPORT void SimulatedWintab_QueuePacket(HWND window, DWORD status, DWORD cursor, DWORD buttons,
                                                  DWORD pressure)
{
    if (wintab_context_tag* open = find_context(nullptr, window))
        enqueue(*open, {status, cursor, buttons, pressure});
}

SIMULATED_EXPORT void SimulatedWintab_PostProximity(HWND window, BOOL entering)
{
    post_proximity(window, find_context(nullptr, window), entering != FALSE);
}

SIMULATED_EXPORT int SimulatedWintab_QueuedPacketCount(HWND window)
{
    wintab_context_tag* open = find_context(nullptr, window);
    return open ? static_cast<int>(open->queue.size()) : -1;
}

SIMULATED_EXPORT BOOL SimulatedWintab_LastOpenRequest(LOGCONTEXTA* settings, HWND* window, BOOL* enable)
{
    *settings = driver.lastOpen.settings, *window = driver.lastOpen.window, *enable = driver.lastOpen.enable;
    return driver.lastOpen.made ? TRUE : FALSE;
}

SIMULATED_EXPORT BOOL SimulatedWintab_TakeLastPacketsRequest(int* maximum, BOOL* buffer)
{
    *maximum = driver.lastPacketsMaximum;
    *buffer = driver.lastPacketsBuffer ? TRUE : FALSE;
    driver.lastPacketsMaximum = -1;
    return *maximum >= 0 ? TRUE : FALSE;
}
