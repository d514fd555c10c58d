#include "report/capture/capture_session.h"

#include "report/capture/capture_recording.h"
#include "report/capture/capture_window.h"
#include "report/capture/console_interruption.h"
#include "report/capture/report_context.h"
#include "tevrin/core/callback_exception.h"
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

// Reads the context's queue into the window, shows the countdown and paints when due.
// Packets are read before the window paints, so a slow paint delays them but never
// loses them.
class packet_reader {
public:
    packet_reader(const tablet_services& table, const report_context& context, int seconds, capture_window& window,
                  int& overAnswers, recording_writer* recording)
        : table_(table), context_(context), layout_(context.granted().lcPktData),
          queueSize_(context.queue_size() > 0 ? context.queue_size() : 1),
          buffer_(layout_.size() * guarded_packet_slots(queueSize_)), window_(window), overAnswers_(overAnswers),
          seconds_(seconds), start_(GetTickCount()), recording_(recording)
    {
    }

    // The time is up or the user closed the window.
    bool done() const { return GetTickCount() - start_ >= static_cast<DWORD>(seconds_) * 1000 || window_.closed(); }
    size_t total() const { return total_; }

    void read()
    {
        const int left = seconds_ - static_cast<int>((GetTickCount() - start_) / 1000);
        if (left != shownLeft_) {
            std::fprintf(stderr, "\rCapturing: %d s left, %zu packets ", shownLeft_ = left, total_);
            std::fflush(stderr);  // the C runtime buffers stderr when it is not a console
        }
        const packet_count read = get_packets(table_.WTPacketsGet, context_.handle(), queueSize_, buffer_.data());
        overAnswers_ += read.over_answered ? 1 : 0;
        const u32 arrival = GetTickCount();
        POINT cursor = {0, 0};
        GetCursorPos(&cursor);
        batch_.clear();
        for (int index = 0; index < read.count; ++index)
            batch_.push_back(layout_.decode(buffer_.data() + static_cast<size_t>(index) * layout_.size(), arrival));
        window_.add_packets(batch_, cursor);
        total_ += batch_.size();
        record_batch();
        window_.paint_if_due(left);
    }

private:
    // --record: the rows are written as they come. The pointer points came with the
    // messages pumped before this read.
    void record_batch()
    {
        if (!recording_)
            return;
        const std::vector<pointer_sample>& points = window_.live().pointer();
        for (; pointsRecorded_ < points.size(); ++pointsRecorded_)
            recording_->add(points[pointsRecorded_]);
        for (const captured_packet& packet : batch_)
            recording_->add(packet);
        if (!batch_.empty())
            recording_->flush();
    }

    const tablet_services& table_;
    const report_context& context_;
    const packet_layout layout_;
    const int queueSize_;
    std::vector<BYTE> buffer_;
    std::vector<captured_packet> batch_;
    capture_window& window_;
    int& overAnswers_;
    const int seconds_;
    const DWORD start_;
    recording_writer* const recording_;
    size_t pointsRecorded_ = 0;
    int shownLeft_ = -1;
    size_t total_ = 0;
};

// Reads every packet for the given time, until the time is up or the user closes the
// window; a failure inside the window's handling ends it here, in the program's frames.
void collect_packets(const tablet_services& table, const report_context& context, int seconds, capture_window& window,
                     int& overAnswers, recording_writer* recording)
{
    packet_reader reader(table, context, seconds, window, overAnswers, recording);
    {
        const console_interruption::during_capture interruptible(window.handle());
        const capture_window::reading_through_modal_loops reading(window, [&reader] { reader.read(); });
        while (!reader.done() && !console_interruption::request()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            pump_messages();
            tevrin::rethrow_callback_exception();
            reader.read();
        }
    }
    tevrin::rethrow_callback_exception();
    std::fprintf(stderr, "\rCaptured %zu packets.                    \n", reader.total());
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
    window.live().set_context(mapping_of(context->granted()), setting);
    collect_packets(table, *context, setting.seconds, window, record.over_answers, recording.get());
    file.flush();
    if (recording && !file)
        throw std::runtime_error("the recording could not be written to " + recordPath);
    live_capture& live = window.live();
    setting.proximity_enters = live.proximity_enters();
    setting.proximity_leaves = live.proximity_leaves();
    setting.area_width = std::abs(context->granted().lcOutExtX);
    setting.area_height = std::abs(context->granted().lcOutExtY);
    setting.area_y_up = context->granted().lcOutExtY > 0;
    record.packets = live.take_packets();
    record.pointer = live.take_pointer();
    record.section = summarise_capture(record.packets, setting);
    add_pen_api_sections(record.section, record.packets, setting, record.pointer, window.pointer_functions().missing(),
                         live.take_offsets());
    const char* const interrupted = console_interruption::request();
    record.section.set("ended_early", interrupted ? report_value(interrupted)
                                      : window.closed() ? report_value("the window was closed") : report_value(false));
    record.setting = setting;
    return record;
}

}  // namespace nibscope_report
