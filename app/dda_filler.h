#pragma once
// Collects the pixels of a walked line so that the drawing view can stamp them one by
// one. The buffer is fixed: a line longer than it keeps only its first pixels, which
// bounds the work of one pointer event.
#include "tevrin/raster/linewalker.h"

#include <array>

struct DDAPoint {
    tevrin::i16 x;
    tevrin::i16 y;
};

class OurDDAFiller : public tevrin::linewalker {
public:
    static constexpr tevrin::u64 kCapacity = 500;

    // The one filler of the process, shared by both drawing views (user-interface
    // thread only).
    static OurDDAFiller& Instance();

    // Stores the pixel, narrowed to 16 bits, until the buffer is full; then ignores it.
    void visit(tevrin::i32 x, tevrin::i32 y) override;

    void Clear() { count_ = 0; }
    tevrin::u64 Count() const { return count_; }
    const DDAPoint& operator[](tevrin::u64 index) const { return points_[static_cast<std::size_t>(index)]; }
    const DDAPoint* begin() const { return points_.data(); }
    const DDAPoint* end() const { return points_.data() + count_; }

private:
    std::array<DDAPoint, kCapacity> points_{};
    tevrin::u64 count_ = 0;
};
