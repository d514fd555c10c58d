// The pointer functions of a test build of nibscope-report, linked in place of user32's
// (report/capture/user32_pointer_functions.cpp): Wine 8 has none and sends no pointer
// input, so these play a known pen stroke into the real capture window. A thread waits
// for the window, then sends it one WM_POINTER message after another, each answered by
// the functions below from the records of that message, as Windows keeps them for the
// message being handled. TEVRIN_SIMULATED_INK=no-pressure plays the stroke with a pen
// mask that has no pressure. "simulated ink: stroke sent" goes to the debugger at the end.
//
// The stroke: 24 points 4 ms apart on the performance counter (the message times move in
// 16 ms steps), two to a message (the newer last in the history), from the client area's
// middle 4 pixels apart to the right; the 2nd to the 21st in contact with pressures 50 to
// 1000, tilt 10 and -20 degrees; the last out of range.
#include "report/capture/capture_window.h"
#include "report/capture/pointer_input.h"
#include "report/capture/pointer_records.h"

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace nibscope_report {
namespace {

using tevrin::u32;

constexpr UINT32 pen_id = 2;
constexpr u32 pen_type = 3, in_range = 0x2, in_contact = 0x4, first_button = 0x10;
constexpr u32 pressure_mask = 0x1, tilt_masks = 0x4 | 0x8;
constexpr UINT pointer_update = 0x0245, pointer_down = 0x0246, pointer_up = 0x0247;
constexpr int points = 24, per_message = 2;

std::vector<std::vector<pointer_pen_info_record>> messages;  // each newest first
std::atomic<int> current{-1};                                // the message being handled

pointer_pen_info_record point(int index, POINT origin, LONGLONG counterStart, LONGLONG frequency, DWORD tickStart,
                              bool pressure)
{
    const bool contact = index >= 1 && index <= 20;
    pointer_pen_info_record pen = {};
    pointer_info_record& info = pen.pointerInfo;
    info.pointerType = pen_type;
    info.pointerId = pen_id;
    info.frameId = static_cast<u32>(index / per_message);
    info.pointerFlags = (index < points - 1 ? in_range : 0) | (contact ? in_contact | first_button : 0);
    info.ptPixelLocation = {origin.x + 4 * index, origin.y};
    info.dwTime = tickStart + static_cast<u32>(4 * index / 16 * 16);
    info.historyCount = per_message;
    info.PerformanceCount = static_cast<tevrin::u64>(counterStart + frequency * 4 * index / 1000);
    pen.penMask = (pressure ? pressure_mask : 0) | tilt_masks;
    pen.pressure = contact ? static_cast<u32>(50 * index) : 0;
    pen.tiltX = 10;
    pen.tiltY = -20;
    return pen;
}

// The capture window of this process: tests run several programs side by side.
HWND capture_window()
{
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, capture_window_title));) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

void play_stroke()
{
    HWND window = nullptr;
    for (int wait = 0; wait < 600 && !window; ++wait, Sleep(50))
        window = capture_window();
    if (!window)
        return;  // the window takes the messages sent to it once the capture reads its queue
    POINT origin = {0, 0};
    RECT client = {};
    GetClientRect(window, &client);
    ClientToScreen(window, &origin);
    origin.x += client.right / 2;
    origin.y += client.bottom / 2;
    LARGE_INTEGER counter = {}, frequency = {};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    const bool pressure = GetEnvironmentVariableA("TEVRIN_SIMULATED_INK", nullptr, 0) == 0;
    const DWORD tickStart = GetTickCount();
    for (int first = 0; first < points; first += per_message) {
        std::vector<pointer_pen_info_record> records;
        for (int index = first + per_message - 1; index >= first; --index)
            records.push_back(point(index, origin, counter.QuadPart, frequency.QuadPart, tickStart, pressure));
        messages.push_back(records);
    }
    for (int index = 0; index < static_cast<int>(messages.size()); ++index) {
        current = index;
        const pointer_pen_info_record& newest = messages[static_cast<size_t>(index)].front();
        const UINT message = index == 0 ? pointer_down : index + 1 == static_cast<int>(messages.size()) ? pointer_up
                                                                                                     : pointer_update;
        SendMessageW(window, message, MAKEWPARAM(pen_id, newest.pointerInfo.pointerFlags),
                     MAKELPARAM(newest.pointerInfo.ptPixelLocation.x, newest.pointerInfo.ptPixelLocation.y));
        Sleep(8);
    }
    current = -1;
    OutputDebugStringA("simulated ink: stroke sent\n");
}

const std::vector<pointer_pen_info_record>* handled(UINT32 id)
{
    const int index = current;
    return id == pen_id && index >= 0 ? &messages[static_cast<size_t>(index)] : nullptr;
}

BOOL WINAPI get_type(UINT32 id, DWORD* type)
{
    *type = pen_type;
    return handled(id) != nullptr;
}

BOOL WINAPI get_pen_info(UINT32 id, void* record)
{
    const auto* records = handled(id);
    if (records)
        std::memcpy(record, &records->front(), sizeof(pointer_pen_info_record));
    return records != nullptr;
}

BOOL WINAPI get_pen_history(UINT32 id, UINT32* count, void* buffer)
{
    const auto* records = handled(id);
    if (!records || *count < records->size())
        return FALSE;
    *count = static_cast<UINT32>(records->size());
    std::memcpy(buffer, records->data(), records->size() * sizeof(pointer_pen_info_record));
    return TRUE;
}

}  // namespace

pointer_functions find_pointer_functions()
{
    std::thread(play_stroke).detach();
    pointer_functions functions;
    functions.get_type = get_type;
    functions.get_pen_info = get_pen_info;
    functions.get_pen_history = get_pen_history;
    return functions;
}

}  // namespace nibscope_report
