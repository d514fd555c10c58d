#include "tevrin/tablet/guarded_reads.h"

namespace tevrin {

size_t guarded_read::written_end() const
{
    for (size_t end = buffer.size(); end > published; --end)
        if (buffer[end - 1] != read_guard_byte)
            return end;
    return published;
}

size_t read_room(size_t published, size_t announced)
{
    return announced > published && announced <= announced_size_cap ? announced : published;
}

guarded_read read_context_settings(WTGetA_entry get, HCTX context, LOGCONTEXTA& settings)
{
    guarded_read read = fill_guarded(&settings, sizeof settings, sizeof settings,
                                     [&](void* buffer) { return get(context, static_cast<LOGCONTEXTA*>(buffer)); });
    std::memcpy(&settings, read.buffer.data(), sizeof settings);
    return read;
}

packet_count get_packets(WTPacketsGet_entry get, HCTX context, int maximum, void* packets)
{
    const int answered = get(context, maximum, packets);
    packet_count result;
    result.over_answered = answered > maximum;
    result.count = answered < 0 ? 0 : answered > maximum ? maximum : answered;
    return result;
}

}  // namespace tevrin
