#pragma once
// A square 8-bit stamping mask (0 untouched, 255 full strength) that knows, for every
// row, where its run of non-zero pixels starts and how long it is, so that stamping
// touches only covered pixels without testing each one.
#include "tevrin/raster/intensity_map.h"

#include <vector>

namespace tevrin {

class brush_mask : public intensity_map8 {
public:
    // Also sizes the row tables (keeping existing entries) and sets the radius, but
    // only when storage was obtained.
    void create(i32 width, i32 height) override;

    i32 radius() const { return radius_; }
    i32 diameter() const { return diameter_; }
    // The first run of non-zero pixels in row y; length 0 when the row is empty.
    i32 row_start(i32 y) const { return rowStarts_[static_cast<std::size_t>(y)]; }
    i32 row_length(i32 y) const { return rowLengths_[static_cast<std::size_t>(y)]; }

    // Fills a created square mask with the round soft brush and records its row runs.
    // Throws invalid_argument for a mask without storage or one that is not square.
    static void make_round(brush_mask& mask);

private:
    void record_row_runs();

    i32 radius_ = 0;
    i32 diameter_ = 0;
    std::vector<i32> rowStarts_;
    std::vector<i32> rowLengths_;
};

}  // namespace tevrin
