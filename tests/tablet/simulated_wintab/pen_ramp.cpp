#include "simulated_wintab/pen_ramp.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace simulated_wintab {

using tevrin::u64;
using tevrin::u32;

namespace {

[[noreturn]] void reject(const std::string& text)
{
    throw std::invalid_argument("pen ramp '" + text + "' is not first,last,steps");
}

// One unsigned decimal field ending at the separator (or at the end of the text).
u32 read_field(const std::string& text, std::string::size_type& position, char separator)
{
    const std::string::size_type end = separator ? text.find(separator, position) : text.size();
    if (end == std::string::npos || end == position)
        reject(text);
    for (std::string::size_type i = position; i < end; ++i)
        if (text[i] < '0' || text[i] > '9')
            reject(text);
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str() + position, nullptr, 10);
    if (errno == ERANGE || value > std::numeric_limits<u32>::max())
        reject(text);
    position = end + 1;
    return static_cast<u32>(value);
}

}  // namespace

pen_ramp::pen_ramp(u32 first, u32 last, u32 steps) : first_(first), last_(last), steps_(steps)
{
    if (steps == 0)
        throw std::invalid_argument("a pen ramp needs at least one step");
}

pen_ramp pen_ramp::parse(const std::string& text)
{
    std::string::size_type position = 0;
    const u32 first = read_field(text, position, ',');
    const u32 last = read_field(text, position, ',');
    const u32 steps = read_field(text, position, '\0');
    if (steps == 0)
        reject(text);
    return pen_ramp(first, last, steps);
}

u32 pen_ramp::pressure_at(u32 step) const
{
    if (steps_ == 1 || step >= steps_ - 1)
        return last_;
    // Rounded to the nearest raw value. Splitting the span into whole steps and a
    // remainder keeps every product inside 64 bits for any 32-bit values.
    const bool falling = last_ < first_;
    const u64 span = falling ? first_ - last_ : last_ - first_;
    const u64 intervals = steps_ - 1;
    const u64 whole = (span / intervals) * step;
    const u64 part = ((span % intervals) * step + intervals / 2) / intervals;
    const u64 distance = whole + part;
    return static_cast<u32>(falling ? first_ - distance : first_ + distance);
}

u32 pen_ramp::next()
{
    const u32 pressure = pressure_at(played_);
    if (played_ < steps_)
        ++played_;
    return pressure;
}

}  // namespace simulated_wintab
