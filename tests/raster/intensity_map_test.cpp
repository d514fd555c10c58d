#include "tevrin/core/exception.h"
#include "tevrin/raster/intensity_map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace tevrin;

namespace {

std::unique_ptr<intensity_map> CreatedMap(i32 bits, i32 width, i32 height)
{
    std::unique_ptr<intensity_map> map = make_intensity_map(bits);
    map->create(width, height);
    return map;
}

}  // namespace

TEST(IntensityMapFactory, PicksTheSmallestDepthThatHoldsTheBits)
{
    const struct {
        i32 bits;
        i32 depth;
    } cases[] = {{-5, 4}, {0, 4}, {1, 1}, {2, 2}, {3, 4}, {4, 4}, {5, 8}, {8, 8},
                 {9, 16}, {16, 16}, {17, 32}, {32, 32}};
    for (const auto& c : cases) {
        std::unique_ptr<intensity_map> map = make_intensity_map(c.bits);
        EXPECT_EQ(map->bit_depth(), c.depth) << "bits " << c.bits;
        EXPECT_EQ(map->data(), nullptr) << "bits " << c.bits;
        EXPECT_FALSE(map->is_valid()) << "bits " << c.bits;
    }
    EXPECT_THROW(make_intensity_map(33), invalid_argument);
}

TEST(IntensityMapStorage, RowBytesFollowTheDepthAndDataSizeIsAMultipleOfFour)
{
    const struct {
        i32 bits, width, height, rowBytes, dataSize;
    } cases[] = {
        {1, 9, 3, 2, 8},    {1, 8, 1, 1, 4},     {2, 5, 3, 2, 8},      {4, 3, 3, 2, 8},
        {8, 3, 3, 3, 12},   {8, 360, 360, 360, 129600}, {16, 3, 3, 6, 20}, {32, 3, 2, 12, 24},
    };
    for (const auto& c : cases) {
        std::unique_ptr<intensity_map> map = CreatedMap(c.bits, c.width, c.height);
        EXPECT_EQ(map->row_bytes(), c.rowBytes) << c.bits << "-bit width " << c.width;
        EXPECT_EQ(map->data_size(), c.dataSize) << c.bits << "-bit width " << c.width;
        EXPECT_EQ(map->width(), c.width);
        EXPECT_EQ(map->height(), c.height);
        EXPECT_NE(map->data(), nullptr);
        EXPECT_TRUE(map->is_valid());
    }
}

TEST(IntensityMapStorage, ZeroSizedMapHasNoStorageAndIsNotValid)
{
    for (i32 bits : {1, 2, 4, 8, 16, 32}) {
        std::unique_ptr<intensity_map> map = CreatedMap(bits, 0, 7);
        EXPECT_EQ(map->data(), nullptr);
        EXPECT_EQ(map->data_size(), 0);
        EXPECT_FALSE(map->is_valid());
    }
}

TEST(IntensityMapStorage, NegativeSizesAreRejected)
{
    intensity_map8 map;
    EXPECT_THROW(map.create(-1, 4), invalid_argument);
    EXPECT_THROW(map.create(4, -1), invalid_argument);
}

TEST(IntensityMapStorage, RecreatingReplacesTheSize)
{
    intensity_map8 map;
    map.create(10, 10);
    map.create(3, 2);
    EXPECT_EQ(map.width(), 3);
    EXPECT_EQ(map.height(), 2);
    EXPECT_EQ(map.data_size(), 8);
    EXPECT_TRUE(map.is_valid());
}

TEST(IntensityMapPixels, EightBitRoundsHalfUpAndReadsBack)
{
    intensity_map8 map;
    map.create(4, 1);
    map.set(0, 0, 0.5f);
    map.set(1, 0, 1.0f);
    map.set(2, 0, 0.0f);
    map.set(3, 0, 0.2f);
    EXPECT_EQ(map.data()[0], 128);
    EXPECT_EQ(map.data()[1], 255);
    EXPECT_EQ(map.data()[2], 0);
    EXPECT_EQ(map.data()[3], 51);
    EXPECT_FLOAT_EQ(map.get(0, 0), 128.0f / 255.0f);
    EXPECT_EQ(map.get(1, 0), 1.0f);
}

TEST(IntensityMapPixels, OneBitIsMostSignificantBitFirstAndThresholdsAtHalf)
{
    intensity_map1 map;
    map.create(9, 2);
    map.fill(0.0f);
    map.set(0, 1, 0.5f);
    map.set(8, 1, 1.0f);
    map.set(3, 1, 0.49f);
    const u8* second = map.data() + map.row_bytes();
    EXPECT_EQ(second[0], 0x80);
    EXPECT_EQ(second[1], 0x80);
    EXPECT_EQ(map.get(0, 1), 1.0f);
    EXPECT_EQ(map.get(3, 1), 0.0f);
    map.set_bit(0, 1, false);
    EXPECT_EQ(second[0], 0x00);
    EXPECT_EQ(map.data()[0], 0x00) << "first row untouched";
}

TEST(IntensityMapPixels, PackedDepthsReplaceOnlyTheirOwnField)
{
    intensity_map2 two;
    two.create(5, 1);
    two.fill(1.0f);
    two.set(1, 0, 1.0f / 3.0f);
    EXPECT_EQ(two.data()[0], 0xDF) << "11 01 11 11";
    EXPECT_FLOAT_EQ(two.get(1, 0), 1.0f / 3.0f);
    EXPECT_EQ(two.get(0, 0), 1.0f);
    EXPECT_EQ(two.get(4, 0), 1.0f);

    intensity_map4 four;
    four.create(3, 1);
    four.fill(0.0f);
    four.set(0, 0, 1.0f);
    four.set(1, 0, 0.4f);
    four.set(2, 0, 0.2f);
    EXPECT_EQ(four.data()[0], 0xF6);
    EXPECT_EQ(four.data()[1], 0x30);
    EXPECT_FLOAT_EQ(four.get(1, 0), 6.0f / 15.0f);
}

TEST(IntensityMapPixels, SixteenAndThirtyTwoBitReadBack)
{
    intensity_map16 sixteen;
    sixteen.create(2, 2);
    sixteen.set(1, 1, 0.5f);
    u16 word;
    std::memcpy(&word, sixteen.data() + sixteen.row_bytes() + 2, sizeof word);
    EXPECT_EQ(word, 32768);
    EXPECT_FLOAT_EQ(sixteen.get(1, 1), 32768.0f / 65535.0f);

    intensity_map32 floats;
    floats.create(2, 2);
    floats.set(1, 0, 0.123456f);
    EXPECT_EQ(floats.get(1, 0), 0.123456f);
}

TEST(IntensityMapFill, ZeroAndOneWriteEveryDataByte)
{
    for (i32 bits : {1, 2, 4, 8, 16}) {
        std::unique_ptr<intensity_map> map = CreatedMap(bits, 5, 3);
        map->fill(1.0f);
        std::vector<u8> bytes(map->data(), map->data() + map->data_size());
        EXPECT_EQ(bytes, std::vector<u8>(bytes.size(), 0xFF)) << bits << "-bit";
        map->fill(0.0f);
        bytes.assign(map->data(), map->data() + map->data_size());
        EXPECT_EQ(bytes, std::vector<u8>(bytes.size(), 0x00)) << bits << "-bit";
    }
}

TEST(IntensityMapFill, OtherValuesAreSetOnEveryPixel)
{
    for (i32 bits : {2, 4, 8, 16, 32}) {
        std::unique_ptr<intensity_map> map = CreatedMap(bits, 5, 3);
        map->fill(0.0f);
        map->fill(2.0f / 3.0f);
        for (i32 y = 0; y < 3; ++y)
            for (i32 x = 0; x < 5; ++x)
                EXPECT_NEAR(map->get(x, y), 2.0f / 3.0f, 0.04f) << bits << "-bit at " << x << "," << y;
    }
}

TEST(IntensityMapFill, ThirtyTwoBitFillsWithTheFloatNotAllOnes)
{
    intensity_map32 map;
    map.create(3, 2);
    map.fill(1.0f);
    for (i32 y = 0; y < 2; ++y)
        for (i32 x = 0; x < 3; ++x)
            EXPECT_EQ(map.get(x, y), 1.0f);
}

TEST(IntensityMapCopy, SameDepthCopiesDataAndUserValue)
{
    intensity_map8 source;
    source.create(3, 3);
    for (i32 i = 0; i < 9; ++i)
        source.data()[i] = static_cast<u8>(i * 20);
    source.set_user_value(77);
    intensity_map8 target;
    target.create(3, 3);
    target.copy_from(source);
    EXPECT_EQ(std::memcmp(target.data(), source.data(), 9), 0);
    EXPECT_EQ(target.user_value(), 77u);
}

TEST(IntensityMapCopy, OtherDepthConvertsPixelByPixel)
{
    intensity_map8 source;
    source.create(4, 2);
    source.fill(0.0f);
    source.set(1, 0, 1.0f);
    source.set(3, 1, 0.6f);
    intensity_map1 target;
    target.create(4, 2);
    target.copy_from(source);
    EXPECT_EQ(target.get(1, 0), 1.0f);
    EXPECT_EQ(target.get(3, 1), 1.0f);
    EXPECT_EQ(target.get(0, 0), 0.0f);
    EXPECT_EQ(target.get(2, 1), 0.0f);
}

TEST(IntensityMapCopy, DifferentSizeThrowsAndLeavesTheMapAlone)
{
    intensity_map8 source;
    source.create(3, 4);
    source.fill(1.0f);
    source.set_user_value(5);
    intensity_map8 target;
    target.create(4, 3);
    target.fill(0.0f);
    EXPECT_THROW(target.copy_from(source), invalid_argument);
    EXPECT_EQ(target.get(0, 0), 0.0f);
    EXPECT_EQ(target.user_value(), 0u);
}

TEST(IntensityMapRelease, FreesStorageAndDepthSpecificFields)
{
    intensity_map8 eight;
    eight.create(4, 4);
    eight.release();
    EXPECT_EQ(eight.data(), nullptr);
    EXPECT_EQ(eight.width(), 4);
    EXPECT_FALSE(eight.is_valid());

    intensity_map16 sixteen;
    sixteen.create(4, 4);
    sixteen.release();
    EXPECT_EQ(sixteen.data(), nullptr);
    EXPECT_EQ(sixteen.width(), 0);
    EXPECT_EQ(sixteen.data_size(), 0);

    intensity_map32 floats;
    floats.create(4, 4);
    floats.release();
    EXPECT_EQ(floats.width(), 0);
    EXPECT_EQ(floats.data_size(), 64);
}
