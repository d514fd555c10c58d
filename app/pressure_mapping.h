#pragma once
// From normalised pen pressure to what a stroke shows: the gamma-bent (mapped)
// pressure, the stamp diameter and strength, the logged percentage, and the
// conversion between the gamma slider's position and the gamma.
#include "tevrin/core/types.h"

constexpr tevrin::f32 kDefaultPressureGamma = 3.0f;
// The pressure used when no stylus is in proximity (mouse, or no tablet context).
constexpr tevrin::f32 kPressureWithoutStylus = 0.5f;
constexpr tevrin::i32 kMinStampDiameter = 1;
constexpr tevrin::i32 kMaxStampDiameter = 40;

// pressure^gamma, 0.0 .. 1.0.
tevrin::f32 MapPressure(tevrin::f32 pressure, tevrin::f32 gamma);
// 1 for mapped pressure 0, 40 for 1.
tevrin::i32 StampDiameter(tevrin::f32 mappedPressure);
// min(1, 50 m / d): only light touches give faint stamps.
tevrin::f32 StampStrength(tevrin::f32 mappedPressure, tevrin::i32 diameter);
// The whole percentage written to the log on pointer moves.
tevrin::i32 PressurePercent(tevrin::f32 mappedPressure);

// The slider runs 0.0 .. 1.0: its left half covers gamma 0.1 .. 1.0, its right half
// 1.0 .. 5.0, so the middle is the linear curve.
tevrin::f32 GammaFromSliderValue(tevrin::f32 sliderValue);
tevrin::f32 SliderValueFromGamma(tevrin::f32 gamma);
