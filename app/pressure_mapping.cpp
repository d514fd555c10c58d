#include "app/pressure_mapping.h"

#include <algorithm>
#include <cmath>

using namespace tevrin;

// The mixed single and double steps below are deliberate: both surfaces and the log
// must agree on every diameter and percentage to the last rounding.

f32 MapPressure(f32 pressure, f32 gamma)
{
    return std::pow(pressure, gamma);
}

i32 StampDiameter(f32 mappedPressure)
{
    const f32 scaled = mappedPressure * 39.0f + 1.0f;
    return static_cast<i32>(static_cast<f64>(scaled) + 0.5);
}

f32 StampStrength(f32 mappedPressure, i32 diameter)
{
    return std::min(1.0f, (mappedPressure * 50.0f) / static_cast<f32>(diameter));
}

i32 PressurePercent(f32 mappedPressure)
{
    return static_cast<i32>(mappedPressure * 100.0f + 0.5f);
}

f32 GammaFromSliderValue(f32 sliderValue)
{
    if (sliderValue < 0.5f)
        return (sliderValue + sliderValue) * 0.9f + 0.1f;
    const f32 right = sliderValue - 0.5f;
    return (right + right) * 4.0f + 1.0f;
}

f32 SliderValueFromGamma(f32 gamma)
{
    if (gamma < 1.0f)
        return (gamma - 0.1f) / 0.9f * 0.5f;
    return (gamma - 1.0f) * 0.25f * 0.5f + 0.5f;
}
