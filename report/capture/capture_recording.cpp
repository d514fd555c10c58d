#include "report/capture/capture_recording.h"

#include <istream>
#include <ostream>
#include <sstream>
#include <stdexcept>

namespace nibscope_report {

const char* const recording_header =
    "source,arrival_ms,time_ms,status,serial,cursor,buttons,x,y,pressure,azimuth,altitude,tilt_x,tilt_y,contact";

namespace {

using tevrin::i64;

constexpr int column_count = 15;

void write_row(std::ostream& out, const char* source, const i64 (&values)[column_count - 1])
{
    out << source;
    for (const i64 value : values)
        out << ',' << value;
    out << '\n';
}

}  // namespace

recording_writer::recording_writer(std::ostream& out) : out_(out)
{
    out_ << recording_header << '\n';
}

void recording_writer::add(const captured_packet& p)
{
    write_row(out_, "wintab", {p.arrival, p.time, p.status, p.serial, p.cursor, p.buttons, p.x, p.y, p.pressure,
                               p.azimuth, p.altitude, 0, 0, p.buttons != 0 ? 1 : 0});
}

// A pointer point's id stands in the cursor column, its screen position in x and y.
void recording_writer::add(const pointer_sample& s)
{
    write_row(out_, "ink", {s.arrival, s.time, s.in_range ? 0 : 1, 0, s.id, 0, s.x, s.y, s.pressure, 0, 0, s.tilt_x,
                            s.tilt_y, s.in_contact ? 1 : 0});
}

void recording_writer::flush()
{
    out_.flush();
}

void write_recording(std::ostream& out, const capture_recording& recording)
{
    recording_writer writer(out);
    size_t packet = 0, point = 0;
    const auto& packets = recording.packets;
    const auto& points = recording.pointer;
    while (packet < packets.size() || point < points.size()) {
        const bool packetFirst = point == points.size() ||
            (packet < packets.size() && static_cast<tevrin::i32>(packets[packet].arrival - points[point].arrival) <= 0);
        packetFirst ? writer.add(packets[packet++]) : writer.add(points[point++]);
    }
}

capture_recording read_recording(std::istream& in)
{
    capture_recording recording;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 || line.empty())
            continue;
        std::istringstream row(line);
        std::string source;
        std::getline(row, source, ',');
        i64 v[column_count - 1] = {};
        char comma = ',';
        for (int column = 0; column < column_count - 1; ++column)
            if (!(row >> v[column]) || (column < column_count - 2 && !(row >> comma)) || comma != ',')
                throw std::runtime_error("recording line " + std::to_string(number) + " is no recording row");
        using tevrin::i32;
        using tevrin::u32;
        if (source == "wintab")
            recording.packets.push_back({u32(v[2]), u32(v[1]), u32(v[3]), u32(v[4]), u32(v[5]), u32(v[8]),
                                         i32(v[9]), i32(v[10]), u32(v[0]), i32(v[6]), i32(v[7])});
        else if (source == "ink")
            recording.pointer.push_back({u32(v[0]), u32(v[1]), u32(v[4]), i32(v[6]), i32(v[7]), u32(v[8]),
                                         i32(v[11]), i32(v[12]), v[13] != 0, v[2] == 0});
    }
    return recording;
}

}  // namespace nibscope_report
