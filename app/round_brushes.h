#pragma once
// The process-wide set of round brush masks for diameters 1 to 50, built once during
// static initialisation so that no mask is computed while drawing.
#include "tevrin/raster/brush_mask.h"

#include <memory>
#include <vector>

class RoundBrushes {
public:
    static constexpr tevrin::i32 kMaskCount = 50;

    RoundBrushes();
    RoundBrushes(const RoundBrushes&) = delete;
    RoundBrushes& operator=(const RoundBrushes&) = delete;
    // Deletes the masks from the last to the first.
    virtual ~RoundBrushes();

    // The one set of the process.
    static const RoundBrushes& Instance();

    // Entry i is the mask of diameter i + 1. Throws tevrin::range_error outside 0 .. 49.
    const tevrin::brush_mask& Entry(tevrin::i32 index) const;
    // A stamp of diameter d (2 and more) uses entry d, one pixel wider than d: the
    // masks of widths 1 and 2 have no row runs.
    const tevrin::brush_mask& MaskForStamp(tevrin::i32 diameter) const { return Entry(diameter); }

private:
    std::vector<std::unique_ptr<tevrin::brush_mask>> masks_;
};
