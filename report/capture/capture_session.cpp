#include "report/capture/capture_session.h"

#include "report/capture/capture_recording.h"
#include "report/capture/capture_window.h"
#include "report/capture/report_context.h"
#include "tevrin/core/text.h"
#include "tevrin/tablet/guarded_reads.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <memory>
#include <vector>

namespace nibscope_report {

namespace {

using namespace tevrin;

// Where each granted item lies in a packet: items follow in ascending bit order.
class packet_layout {
public:
    explicit packet_layout(WTPKT items)
    {
        for (WTPKT item = 1; item <= PK_ROTATION; item <<= 1) {
            if (items & item) {
                offsets_[bit_of(item)] = size_;
                size_ += packet_item_size(item);
            }
        }
        items_ = items;
    }

    size_t size() const { return size_; }

    captured_packet decode(const BYTE* packet, u32 arrival) const
    {
        captured_packet p;
        read(packet, PK_STATUS, p.status);
        read(packet, PK_TIME, p.time);
        read(packet, PK_SERIAL_NUMBER, p.serial);
        read(packet, PK_CURSOR, p.cursor);
        read(packet, PK_BUTTONS, p.buttons);
        read(packet, PK_X, p.x);
        read(packet, PK_Y, p.y);
        read(packet, PK_NORMAL_PRESSURE, p.pressure);
        ORIENTATION orientation = {0, 0, 0};
        read(packet, PK_ORIENTATION, orientation);
        p.azimuth = orientation.orAzimuth;
        p.altitude = orientation.orAltitude;
        p.arrival = arrival;
        return p;
    }

private:
    static int bit_of(WTPKT item)
    {
        int bit = 0;
        while (item > 1) {
            item >>= 1;
            ++bit;
        }
        return bit;
    }

    template <typename Field>
    void read(const BYTE* packet, WTPKT item, Field& field) const
    {
        if (items_ & item)
            std::memcpy(&field, packet + offsets_[bit_of(item)], sizeof field);
    }

    WTPKT items_ = 0;
    size_t offsets_[16] = {};
    size_t size_ = 0;
};

captured_items items_of(WTPKT granted)
{
    captured_items items;
    items.status = (granted & PK_STATUS) != 0;
    items.time = (granted & PK_TIME) != 0;
    items.serial = (granted & PK_SERIAL_NUMBER) != 0;
    items.cursor = (granted & PK_CURSOR) != 0;
    items.buttons = (granted & PK_BUTTONS) != 0;
    items.position = (granted & PK_X) != 0 && (granted & PK_Y) != 0;
    items.pressure = (granted & PK_NORMAL_PRESSURE) != 0;
    items.orientation = (granted & PK_ORIENTATION) != 0;
    return items;
}

void pump_messages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

output_mapping mapping_of(const LOGCONTEXTA& granted)
{
    return {granted.lcOutOrgX, granted.lcOutOrgY, granted.lcOutExtX, granted.lcOutExtY,
            granted.lcSysOrgX, granted.lcSysOrgY, granted.lcSysExtX, granted.lcSysExtY};
}

// Reads every packet for the given time, showing a countdown, until the time is up or
// the user closes the window. Packets are read before the window paints, so a slow
// paint delays them but never loses them.
void collect_packets(const tablet_services& table, const report_context& context, int seconds, capture_window& window,
                     int& overAnswers, recording_writer* recording)
{
    size_t pointsRecorded = 0;
    const packet_layout layout(context.granted().lcPktData);
    const int queueSize = context.queue_size() > 0 ? context.queue_size() : 1;
    std::vector<BYTE> buffer(layout.size() * static_cast<size_t>(queueSize));
    std::vector<captured_packet> batch;
    size_t total = 0;
    const DWORD start = GetTickCount();
    int shownLeft = -1;
    for (DWORD now = start; now - start < static_cast<DWORD>(seconds) * 1000 && !window.closed(); now = GetTickCount()) {
        const int left = seconds - static_cast<int>((now - start) / 1000);
        if (left != shownLeft) {
            std::fprintf(stderr, "\rCapturing: %d s left, %zu packets ", shownLeft = left, total);
            std::fflush(stderr);  // the C runtime buffers stderr when it is not a console
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        pump_messages();
        const packet_count read = get_packets(table.WTPacketsGet, context.handle(), queueSize, buffer.data());
        overAnswers += read.over_answered ? 1 : 0;
        const u32 arrival = GetTickCount();
        POINT cursor = {0, 0};
        GetCursorPos(&cursor);
        batch.clear();
        for (int index = 0; index < read.count; ++index)
            batch.push_back(layout.decode(buffer.data() + static_cast<size_t>(index) * layout.size(), arrival));
        window.add_packets(batch.begin(), batch.end(), cursor);
        total += batch.size();
        if (recording) {
            // The pointer points came with the messages pumped before this read.
            for (; pointsRecorded < window.pointer_points().size(); ++pointsRecorded)
                recording->add(window.pointer_points()[pointsRecorded]);
            for (const captured_packet& packet : batch)
                recording->add(packet);
            if (!batch.empty())
                recording->flush();
        }
        window.paint_if_due(GetTickCount(), left);
    }
    std::fprintf(stderr, "\rCaptured %zu packets.                    \n", total);
}

}  // namespace

capture_record capture_packets(const tablet_services& table, capture_setting setting, const std::string& recordPath)
{
    std::ofstream file;
    std::unique_ptr<recording_writer> recording;
    if (!recordPath.empty()) {
        file.open(tevrin::ToUtf16(recordPath).c_str(), std::ios::binary);
        if (!file)
            throw std::runtime_error("the recording could not be written to " + recordPath);
        recording.reset(new recording_writer(file));
    }
    capture_window window(setting.seconds);
    const WTPKT wanted = PK_STATUS | PK_TIME | PK_SERIAL_NUMBER | PK_CURSOR | PK_BUTTONS | PK_X | PK_Y |
                         PK_NORMAL_PRESSURE | (setting.device_has_orientation ? PK_ORIENTATION : 0);
    // A driver may refuse a context whose items it cannot supply rather than drop them;
    // the main program's items are then asked for instead.
    std::unique_ptr<report_context> context(new report_context(table, window.handle(), wanted));
    if (!context->opened())
        context.reset(new report_context(table, window.handle(), tablet_packet_items));
    capture_record record;
    if (!context->opened()) {
        record.section = report_value::object().set("unavailable", "the driver refused the capture context");
        return record;
    }
    setting.items = items_of(context->granted().lcPktData);
    window.set_context(mapping_of(context->granted()), setting);
    collect_packets(table, *context, setting.seconds, window, record.over_answers, recording.get());
    file.flush();
    if (recording && !file)
        throw std::runtime_error("the recording could not be written to " + recordPath);
    setting.proximity_enters = window.proximity_enters();
    setting.proximity_leaves = window.proximity_leaves();
    setting.area_width = std::abs(context->granted().lcOutExtX);
    setting.area_height = std::abs(context->granted().lcOutExtY);
    setting.area_y_up = context->granted().lcOutExtY > 0;
    record.packets = window.take_packets();
    record.pointer = window.take_pointer();
    record.section = summarise_capture(record.packets, setting);
    add_pen_api_sections(record.section, record.packets, setting, record.pointer, window.pointer_functions().missing(),
                         window.take_offsets());
    record.setting = setting;
    return record;
}

}  // namespace nibscope_report
