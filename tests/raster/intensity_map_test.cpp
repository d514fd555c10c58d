#include "tevrin/core/exception.h"
#include "tevrin/raster/intensity_map.h"

#include <gtest/gtest.h>

#include <vector>

// The program uses only the 8-bit maps behind its brush masks; the other depths are
// kept to one check of their storage.
TEST(IntensityMap, DepthsStorageAndEightBitRounding)
{
    const struct {
        int bits, depth, width, height, rowBytes, dataSize;
    } rows[] = {{1, 1, 9, 3, 2, 8}, {2, 2, 5, 3, 2, 8}, {3, 4, 3, 3, 2, 8}, {0, 4, 3, 3, 2, 8},
                {8, 8, 3, 3, 3, 12}, {9, 16, 3, 3, 6, 20}, {32, 32, 3, 2, 12, 24}};
    for (const auto& row : rows) {
        std::unique_ptr<tevrin::intensity_map> map = tevrin::make_intensity_map(row.bits);
        EXPECT_EQ(map->data(), nullptr) << row.bits << " bits";
        map->create(row.width, row.height);
        EXPECT_EQ(map->bit_depth(), row.depth) << row.bits << " bits";
        EXPECT_EQ(map->row_bytes(), row.rowBytes) << row.bits << " bits";
        EXPECT_EQ(map->data_size(), row.dataSize) << row.bits << " bits";
    }
    EXPECT_THROW(tevrin::make_intensity_map(33), tevrin::invalid_argument);

    tevrin::intensity_map8 map;
    map.create(3, 1);
    map.set(0, 0, 0.5f);
    map.set(1, 0, 1.0f);
    map.set(2, 0, 0.2f);
    EXPECT_EQ(std::vector<int>(map.data(), map.data() + 3), (std::vector<int>{128, 255, 51}));
    EXPECT_FLOAT_EQ(map.get(0, 0), 128.0f / 255.0f);
}
