#pragma once
// Reads from the driver that a lying driver cannot turn against the program. Every
// record or text goes into a buffer with room and guard bytes beyond its published
// size, and only the published size is copied out; a size the driver announces
// bounds the room only up to a cap. A packet buffer has room for a whole extra queue,
// and a packet count is clamped to the packets asked for.
#include "tevrin/tablet/wintab.h"

#include <cstring>
#include <vector>

namespace tevrin {

// No WinTab record or text comes near this; a larger announcement is a lie, not a
// request for memory.
constexpr size_t announced_size_cap = 64 * 1024;
// Where a driver that writes too much lands, and the pattern that shows it did.
constexpr size_t read_guard_size = 256;
constexpr u8 read_guard_byte = 0xA5;

// One filling call into a guarded buffer: room bytes, then read_guard_size guard bytes.
struct guarded_read {
    std::vector<u8> buffer;
    size_t published = 0;  // the bytes that started as the caller's own
    size_t room = 0;
    UINT answered = 0;  // what the filling call returned
    // One past the last byte after the published ones that the driver changed;
    // published when it changed none. A byte it set to the guard pattern goes unseen.
    size_t written_end() const;
    bool wrote_past_room() const { return written_end() > room; }
};

// The room for a reading: the published size, or the announced size when larger
// and within the cap.
size_t read_room(size_t published, size_t announced);

// Calls fill(buffer) once on a guarded buffer of the room. Its first published bytes
// start as initial, so whatever the driver leaves alone keeps the caller's value;
// initial may be null when published is 0.
template <typename Fill>
guarded_read fill_guarded(const void* initial, size_t published, size_t room, Fill fill)
{
    guarded_read read;
    read.published = published;
    read.room = room > published ? room : published;
    read.buffer.assign(read.room + read_guard_size, read_guard_byte);
    if (published > 0)
        std::memcpy(read.buffer.data(), initial, published);
    read.answered = static_cast<UINT>(fill(read.buffer.data()));
    return read;
}

// WTInfoA(category, index) into record, through a guarded buffer whose room the
// size query may widen. Returns the driver's answer, at most the record's size.
template <typename Record>
UINT read_info_record(WTInfoA_entry info, UINT category, UINT index, Record& record)
{
    const size_t room = read_room(sizeof record, info(category, index, nullptr));
    const guarded_read read =
        fill_guarded(&record, sizeof record, room, [&](void* buffer) { return info(category, index, buffer); });
    std::memcpy(&record, read.buffer.data(), sizeof record);
    return read.answered < sizeof record ? read.answered : static_cast<UINT>(sizeof record);
}

// WTGetA into settings through a guarded buffer. The read, for whoever checks it.
guarded_read read_context_settings(WTGetA_entry get, HCTX context, LOGCONTEXTA& settings);

struct packet_count {
    int count = 0;               // never negative, never above the buffer's packets
    bool over_answered = false;  // the driver answered more packets than were asked for
};

// The packets a buffer for a queue of queueSize holds: room for a whole extra queue
// after it, where a driver that writes more packets than it was asked for (up to
// twice the queue) lands. That room is never read.
constexpr size_t guarded_packet_slots(int queueSize)
{
    return queueSize > 0 ? 2 * static_cast<size_t>(queueSize) : 0;
}

// WTPacketsGet for at most maximum packets into packets, a buffer of
// guarded_packet_slots(maximum) packets.
packet_count get_packets(WTPacketsGet_entry get, HCTX context, int maximum, void* packets);

}  // namespace tevrin
