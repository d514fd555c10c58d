#include "app/pressure_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tevrin;

TEST(PressureMapping, DefaultGammaTable)
{
    const struct {
        f32 pressure, mapped;
        i32 diameter;
        f32 strength;
    } rows[] = {
        {0.0f, 0.0f, 1, 0.0f},
        {0.25f, 0.015625f, 2, 0.390625f},
        {0.5f, 0.125f, 6, 1.0f},
        {0.8f, 0.512f, 21, 1.0f},
        {1.0f, 1.0f, 40, 1.0f},
    };
    for (const auto& row : rows) {
        const f32 mapped = MapPressure(row.pressure, kDefaultPressureGamma);
        EXPECT_FLOAT_EQ(mapped, row.mapped) << "p " << row.pressure;
        const i32 diameter = StampDiameter(mapped);
        EXPECT_EQ(diameter, row.diameter) << "p " << row.pressure;
        EXPECT_FLOAT_EQ(StampStrength(mapped, diameter), row.strength) << "p " << row.pressure;
    }
}

TEST(PressureMapping, LinearAndHeavyGamma)
{
    EXPECT_EQ(MapPressure(0.5f, 1.0f), 0.5f);
    EXPECT_EQ(StampDiameter(MapPressure(0.5f, 1.0f)), 21);
    const f32 heavy = MapPressure(0.5f, 0.1f);
    EXPECT_NEAR(heavy, 0.933f, 0.0005f);
    EXPECT_EQ(StampDiameter(heavy), 37);
}

TEST(PressureMapping, DiameterCoversOneToForty)
{
    EXPECT_EQ(StampDiameter(0.0f), kMinStampDiameter);
    EXPECT_EQ(StampDiameter(1.0f), kMaxStampDiameter);
    i32 previous = 0;
    for (int step = 0; step <= 1000; ++step) {
        const i32 diameter = StampDiameter(static_cast<f32>(step) / 1000.0f);
        EXPECT_GE(diameter, previous);
        EXPECT_LE(diameter, previous + 1) << "no diameter is skipped";
        previous = diameter;
    }
}

TEST(PressureMapping, StrengthIsFullFromTwelvePercentAndNotMonotonicBelow)
{
    for (int step = 120; step <= 1000; ++step) {
        const f32 mapped = static_cast<f32>(step) / 1000.0f;
        EXPECT_EQ(StampStrength(mapped, StampDiameter(mapped)), 1.0f) << "m " << mapped;
    }
    EXPECT_EQ(StampDiameter(0.06f), 3);
    EXPECT_EQ(StampStrength(0.06f, 3), 1.0f);
    EXPECT_EQ(StampDiameter(0.07f), 4);
    EXPECT_FLOAT_EQ(StampStrength(0.07f, 4), 0.875f);
}

TEST(PressureMapping, LoggedPercentRoundsHalfUp)
{
    EXPECT_EQ(PressurePercent(MapPressure(kPressureWithoutStylus, kDefaultPressureGamma)), 13);
    EXPECT_EQ(PressurePercent(0.0f), 0);
    EXPECT_EQ(PressurePercent(1.0f), 100);
    EXPECT_EQ(PressurePercent(0.514f), 51);
    EXPECT_EQ(PressurePercent(0.516f), 52);
}

TEST(GammaSlider, HalvesCoverTheirRanges)
{
    EXPECT_FLOAT_EQ(GammaFromSliderValue(0.0f), 0.1f);
    EXPECT_FLOAT_EQ(GammaFromSliderValue(0.25f), 0.55f);
    EXPECT_FLOAT_EQ(GammaFromSliderValue(0.5f), 1.0f);
    EXPECT_FLOAT_EQ(GammaFromSliderValue(0.75f), 3.0f);
    EXPECT_FLOAT_EQ(GammaFromSliderValue(1.0f), 5.0f);
    EXPECT_FLOAT_EQ(SliderValueFromGamma(kDefaultPressureGamma), 0.75f);
    EXPECT_FLOAT_EQ(SliderValueFromGamma(1.0f), 0.5f);
}

TEST(GammaSlider, EverySliderStepSurvivesTheRoundTrip)
{
    for (int step = 0; step <= 100; ++step) {
        const f32 value = static_cast<f32>(step) / 100.0f;
        const f32 gamma = GammaFromSliderValue(value);
        EXPECT_GE(gamma, 0.1f - 1e-6f);
        EXPECT_LE(gamma, 5.0f + 1e-6f);
        EXPECT_NEAR(SliderValueFromGamma(gamma), value, 1e-5f) << "step " << step;
    }
}
