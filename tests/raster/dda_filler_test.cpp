#include "app/dda_filler.h"

#include <gtest/gtest.h>

using namespace tevrin;

TEST(DDAFiller, CollectsTheWalkInOrder)
{
    OurDDAFiller filler;
    filler.walk(0, 0, 5, 2);
    ASSERT_EQ(filler.Count(), 6u);
    const DDAPoint expected[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    for (u64 i = 0; i < filler.Count(); ++i) {
        EXPECT_EQ(filler[i].x, expected[i].x) << i;
        EXPECT_EQ(filler[i].y, expected[i].y) << i;
    }
    filler.Clear();
    filler.walk(3, 3, 3, 3);
    EXPECT_EQ(filler.Count(), 1u);
    EXPECT_EQ(filler[0].x, 3);
}

TEST(DDAFiller, KeepsOnlyTheFirstFiveHundredPixels)
{
    OurDDAFiller filler;
    filler.walk(-100, 7, 899, 7);
    ASSERT_EQ(filler.Count(), OurDDAFiller::kCapacity);
    i32 expectedX = -100;
    for (const DDAPoint& point : filler) {
        EXPECT_EQ(point.x, expectedX++);
        EXPECT_EQ(point.y, 7);
    }
    filler.visit(1, 1);
    filler.walk(0, 0, 0, 10);
    EXPECT_EQ(filler.Count(), OurDDAFiller::kCapacity);
    EXPECT_EQ(filler[OurDDAFiller::kCapacity - 1].x, 399);
}

TEST(DDAFiller, NarrowsCoordinatesToSixteenBits)
{
    OurDDAFiller filler;
    filler.visit(70000, -70000);
    EXPECT_EQ(filler[0].x, static_cast<i16>(70000 - 65536));
    EXPECT_EQ(filler[0].y, static_cast<i16>(-70000 + 65536));
}
