#include "tevrin/tablet/tablet_services.h"

#include "tevrin/core/exception.h"
#include "tevrin/core/text.h"
#include "tevrin/tablet/guarded_reads.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tevrin {
namespace {

tablet_services services;
std::string load_error_text;

template <typename Entry>
void look_up(const tablet_services& table, const char* name, Entry& entry)
{
    entry = reinterpret_cast<Entry>(table.library.get_function(name));
}

}  // namespace

// Drivers write the name in the ANSI code page, and the size query is theirs to
// answer or not: some answer 0, some announce less than they then write, a liar
// announces gigabytes. So the query may enlarge the buffer up to the cap but never
// shrink it below device_name_read_size, and the name ends within that room.
std::string read_device_name_in_ansi(WTInfoA_entry info, UINT device)
{
    const size_t announced = info(WTI_DEVICES + device, DVC_NAME, nullptr);
    const size_t room = read_room(device_name_read_size, announced + 1);
    // The room starts empty, so a driver that writes nothing gives no name.
    const std::vector<char> empty(room, 0);
    const guarded_read read = fill_guarded(empty.data(), room, room,
                                           [&](void* buffer) { return info(WTI_DEVICES + device, DVC_NAME, buffer); });
    const char* name = reinterpret_cast<const char*>(read.buffer.data());
    return std::string(name, std::find(name, name + read.room - 1, '\0'));
}

namespace {

// Never splits a UTF-8 sequence: a cut before a continuation byte backs up to its lead byte.
void store_device_name(const std::string& utf8, char (&field)[56])
{
    size_t length = utf8.size() < sizeof field - 1 ? utf8.size() : sizeof field - 1;
    while (length > 0 && length < utf8.size() && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80)
        --length;
    std::memset(field, 0, sizeof field);
    std::memcpy(field, utf8.data(), length);
}

void bind_entries(tablet_services& table)
{
    table.library.load("wintab32.dll");
    look_up(table, "WTInfoA", table.WTInfoA);
    if (table.WTInfoA(0, 0, nullptr) == 0)
        throw "WTInfoA returned FALSE";
    look_up(table, "WTOpenA", table.WTOpenA);
    look_up(table, "WTClose", table.WTClose);
    look_up(table, "WTQueueSizeSet", table.WTQueueSizeSet);
    look_up(table, "WTPacketsGet", table.WTPacketsGet);
    look_up(table, "WTPacketsPeek", table.WTPacketsPeek);
    look_up(table, "WTGetA", table.WTGetA);
    look_up(table, "WTOverlap", table.WTOverlap);
    store_device_name("", table.device_name);
    store_device_name(ansi_to_utf8(read_device_name_in_ansi(table.WTInfoA, 0)), table.device_name);
}

}  // namespace

tablet_services& tablet_service_table()
{
    return services;
}

const std::string& tablet_services_load_error()
{
    return load_error_text;
}

void load_tablet_services()
{
    try {
        bind_entries(services);
        return;
    } catch (const exception& failure) {
        load_error_text = failure.what();
    } catch (const char* text) {
        load_error_text = text;
    } catch (...) {
        load_error_text = "Unknown error";
    }
    services.library.release();
}

}  // namespace tevrin
