#pragma once
// The raw pressures of a pen pressed ever harder, one value per packet: the
// simulated driver plays them back so that a whole program, which cannot reach the
// driver's control entry points, still sees a pen whose pressure climbs.
#include "tevrin/core/types.h"

#include <string>

namespace simulated_wintab {

class pen_ramp {
public:
    // A climb (or fall) from first to last in steps packets; steps must be at least 1.
    pen_ramp(tevrin::u32 first, tevrin::u32 last, tevrin::u32 steps);

    // "first,last,steps" in decimal, as the environment variable gives it. Anything
    // else throws std::invalid_argument naming the text.
    static pen_ramp parse(const std::string& text);

    // The pressure of step index (0 is the first packet); it stays at the last value
    // once the steps are used up.
    tevrin::u32 pressure_at(tevrin::u32 step) const;

    // The pressure of the next packet to be played back.
    tevrin::u32 next();

private:
    tevrin::u32 first_;
    tevrin::u32 last_;
    tevrin::u32 steps_;
    tevrin::u32 played_ = 0;
};

}  // namespace simulated_wintab
