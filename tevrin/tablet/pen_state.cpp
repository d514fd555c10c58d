#include "tevrin/tablet/pen_state.h"

namespace tevrin {

pen_state_record pen_state;
bool stylus_in_use = false;
pressure_calibration_record pressure_calibration;

f32 normalised_pressure(u32 rawPressure, u32 buttons, const pressure_calibration_record& calibration)
{
    const bool pressureButtonDown = (buttons >> (calibration.pressure_button % 32u)) & 1u;
    const u32 origin = pressureButtonDown ? calibration.press_mark : calibration.pressure_minimum;
    const u32 range = pressureButtonDown ? calibration.press_range : calibration.pressure_range;
    // A raw value below the origin must come out negative, so the difference is signed.
    const i32 difference = static_cast<i32>(rawPressure - origin);
    f32 pressure = static_cast<f32>(difference) / static_cast<f32>(range);
    if (pressure > 1.0f)
        pressure = 1.0f;
    // Negated so that 0/0, which is NaN, also ends at 0.0.
    if (!(pressure >= 0.0f))
        pressure = 0.0f;
    return pressure;
}

}  // namespace tevrin
