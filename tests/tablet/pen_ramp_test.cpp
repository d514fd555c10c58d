// The pressure ramp that the simulated driver plays back.
#include "simulated_wintab/pen_ramp.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using simulated_wintab::pen_ramp;
using tevrin::u32;

namespace {

std::vector<u32> Play(pen_ramp ramp, int packets)
{
    std::vector<u32> pressures;
    for (int i = 0; i < packets; ++i)
        pressures.push_back(ramp.next());
    return pressures;
}

}  // namespace

TEST(PenRamp, ClimbsLinearlyFromFirstToLastThenStays)
{
    EXPECT_EQ(Play(pen_ramp(0, 1023, 4), 6), (std::vector<u32>{0, 341, 682, 1023, 1023, 1023}));
    EXPECT_EQ(Play(pen_ramp(10, 20, 3), 3), (std::vector<u32>{10, 15, 20}));
}

TEST(PenRamp, StepsAreRoundedToTheNearestRawValue)
{
    // 0, 0.4, 0.8, 1.2, 1.6, 2.0 rounded.
    EXPECT_EQ(Play(pen_ramp(0, 2, 6), 6), (std::vector<u32>{0, 0, 1, 1, 2, 2}));
}

TEST(PenRamp, FallsWhenTheLastValueIsBelowTheFirst)
{
    EXPECT_EQ(Play(pen_ramp(1000, 0, 5), 6), (std::vector<u32>{1000, 750, 500, 250, 0, 0}));
}

TEST(PenRamp, OneStepGivesTheLastValueAtOnce)
{
    EXPECT_EQ(Play(pen_ramp(7, 900, 1), 2), (std::vector<u32>{900, 900}));
}

TEST(PenRamp, FullThirtyTwoBitSpanWithManyStepsStaysExact)
{
    const pen_ramp ramp(0, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(ramp.pressure_at(1), 1u);
    EXPECT_EQ(ramp.pressure_at(0xFFFFFFFDu), 0xFFFFFFFEu) << "0xFFFFFFFD.99... rounds up";
    EXPECT_EQ(ramp.pressure_at(0xFFFFFFFEu), 0xFFFFFFFFu);
    const pen_ramp falling(0xFFFFFFFFu, 0, 4);
    EXPECT_EQ(falling.pressure_at(1), 0xAAAAAAAAu);
}

TEST(PenRamp, ZeroStepsAreRefused)
{
    EXPECT_THROW(pen_ramp(0, 1, 0), std::invalid_argument);
}

TEST(PenRampText, ParsesFirstLastAndSteps)
{
    EXPECT_EQ(Play(pen_ramp::parse("0,1023,200"), 1), (std::vector<u32>{0}));
    const pen_ramp ramp = pen_ramp::parse("100,400,4");
    EXPECT_EQ(ramp.pressure_at(0), 100u);
    EXPECT_EQ(ramp.pressure_at(1), 200u);
    EXPECT_EQ(ramp.pressure_at(3), 400u);
    EXPECT_EQ(pen_ramp::parse("4294967295,0,2").pressure_at(0), 4294967295u);
}

TEST(PenRampText, RefusesAnythingElseNamingTheText)
{
    for (const char* text : {"", "1,2", "1,2,3,4", "1,,3", ",2,3", "1,2,", "a,2,3", "-1,2,3", " 1,2,3", "1,2,0",
                             "4294967296,0,2", "99999999999999999999,0,2"}) {
        SCOPED_TRACE(text);
        try {
            pen_ramp::parse(text);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& failure) {
            EXPECT_EQ(std::string(failure.what()), std::string("pen ramp '") + text + "' is not first,last,steps");
        }
    }
}
