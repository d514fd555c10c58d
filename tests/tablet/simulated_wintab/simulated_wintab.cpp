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
#include <vector>

using namespace tevrin;

#define SIMULATED_EXPORT extern "C" __declspec(dllexport)

struct tevrin::wintab_context_tag {
    HWND window;
    LOGCONTEXTA settings;
    int queueCapacity;
    std::deque<tablet_packet> queue;
    std::optional<simulated_wintab::pen_ramp> ramp;
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

void enqueue(wintab_context_tag& open, const tablet_packet& packet)
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

template <typename Record>
UINT answer(LPVOID output, const Record& record)
{
    if (output)
        std::memcpy(output, &record, sizeof record);
    return sizeof record;
}

[[maybe_unused]] UINT answer_device(UINT device, UINT index, LPVOID output)
{
    if (index == DVC_NAME) {
        if (output)
            std::memcpy(output, driver.deviceName.c_str(), driver.deviceName.size() + 1);
        return static_cast<UINT>(driver.deviceName.size() + 1);
    }
    if (index == DVC_NPRESSURE) {
        const auto axis = driver.pressureAxes.find(device);
        if (axis == driver.pressureAxes.end() || !axis->second.answered)
            return 0;
        return answer(output, axis->second.axis);
    }
    return 0;
}

[[maybe_unused]] UINT answer_cursor(UINT cursor, UINT index, LPVOID output)
{
    const CursorButtons buttons = driver.cursors[cursor];
    switch (index) {
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

[[maybe_unused]] void play_back_next_packet(wintab_context_tag& open)
{
    enqueue(open, {0, 0, 1, pressure_button_bit_of_pen_tip(), 0, 0, open.ramp->next()});
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
    if (driver.openFails)
        return nullptr;
    // Like real drivers, a new context starts with a small queue.
    driver.contexts.push_back(
        std::unique_ptr<wintab_context_tag>(new wintab_context_tag{window, *settings, 8, {}, ramp_from_environment()}));
    wintab_context_tag* opened = driver.contexts.back().get();
    if (opened->ramp)
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
    const int count = std::min(maximum, static_cast<int>(open->queue.size()));
    std::copy(open->queue.begin(), open->queue.begin() + count, static_cast<tablet_packet*>(packets));
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
    const int count = std::min(maximum, static_cast<int>(open->queue.size()));
    std::copy(open->queue.begin(), open->queue.begin() + count, static_cast<tablet_packet*>(packets));
    return count;
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
        enqueue(*open, {status, 0, cursor, buttons, 0, 0, pressure});
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
