#pragma once
// The process-wide pen data that packet reading writes and the drawing views
// read: the pen state, the proximity flag and the pressure calibration, which
// every tablet context shares. Touched only on the user-interface thread.
#include "tevrin/core/types.h"

namespace tevrin {

struct pen_state_record {
    f32 pressure = 1.0f;  // normalised, 0.0 to 1.0, from the newest usable packet
    bool alternate_cursor = false;  // the packet's cursor is not the pen tip (index 1)
    bool button1 = false;
    bool button2 = false;
    f32 aux1 = 0.0f;
    f32 aux2 = 1.0f;
    u32 aux3 = 0;
};

struct pressure_calibration_record {
    u32 current_cursor = 0;
    i32 last_calibrated_cursor = -1;
    u8 pressure_button = 0;  // physical button normal pressure acts on; 255: none named
    u32 pressure_minimum = 0;
    u32 pressure_range = 0;  // axis maximum minus axis minimum
    u32 press_mark = 0;
    u32 press_range = 0;  // axis maximum minus press mark
};

extern pen_state_record pen_state;
extern bool stylus_in_use;  // as last reported by a proximity message
extern pressure_calibration_record pressure_calibration;

// The raw pressure of a packet scaled by the calibration: from the press mark
// while the pressure button is down, from the axis minimum otherwise; clamped to 0..1.
f32 normalised_pressure(u32 rawPressure, u32 buttons, const pressure_calibration_record& calibration);

}  // namespace tevrin
