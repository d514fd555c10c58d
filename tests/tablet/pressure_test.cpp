#include "tevrin/tablet/pen_state.h"

#include <gtest/gtest.h>

using tevrin::normalised_pressure;
using tevrin::pressure_calibration_record;

namespace {

pressure_calibration_record Calibration(tevrin::u8 button, tevrin::u32 minimum, tevrin::u32 range,
                                        tevrin::u32 pressMark, tevrin::u32 pressRange)
{
    pressure_calibration_record calibration;
    calibration.pressure_button = button;
    calibration.pressure_minimum = minimum;
    calibration.pressure_range = range;
    calibration.press_mark = pressMark;
    calibration.press_range = pressRange;
    return calibration;
}

}  // namespace

TEST(NormalisedPressure, PressureButtonChoosesTheOriginAndRange)
{
    const auto calibration = Calibration(1, 100, 900, 400, 600);
    EXPECT_FLOAT_EQ(normalised_pressure(550, 0, calibration), 0.5f);
    EXPECT_FLOAT_EQ(normalised_pressure(550, 1u << 1, calibration), 0.25f);
    EXPECT_FLOAT_EQ(normalised_pressure(550, 1u << 2, calibration), 0.5f) << "another button is no pressure button";
}

TEST(NormalisedPressure, ButtonNumbersWrapAtThirtyTwo)
{
    const auto none = Calibration(255, 0, 1000, 500, 500);
    EXPECT_EQ(normalised_pressure(500, 1u << 31, none), 0.0f);
    EXPECT_FLOAT_EQ(normalised_pressure(500, 1u << 30, none), 0.5f);
    const auto wrapped = Calibration(34, 0, 1000, 500, 500);
    EXPECT_EQ(normalised_pressure(500, 1u << 2, wrapped), 0.0f);
}

TEST(NormalisedPressure, ResultIsClampedToTheUnitRange)
{
    const auto calibration = Calibration(0, 100, 900, 0, 0);
    EXPECT_EQ(normalised_pressure(99, 0, calibration), 0.0f);
    EXPECT_EQ(normalised_pressure(0, 0, calibration), 0.0f);
    EXPECT_EQ(normalised_pressure(1001, 0, calibration), 1.0f);
    EXPECT_EQ(normalised_pressure(0x7FFFFFFF, 0, calibration), 1.0f);
}

TEST(NormalisedPressure, ZeroRangeGivesZeroAtTheOriginAndOneAboveIt)
{
    const auto calibration = Calibration(0, 300, 0, 0, 0);
    EXPECT_EQ(normalised_pressure(300, 0, calibration), 0.0f);
    EXPECT_EQ(normalised_pressure(301, 0, calibration), 1.0f);
    EXPECT_EQ(normalised_pressure(299, 0, calibration), 0.0f);
}
