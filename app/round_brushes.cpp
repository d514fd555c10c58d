#include "app/round_brushes.h"

#include "tevrin/core/exception.h"

using tevrin::brush_mask;
using tevrin::i32;

namespace {
// Built before the entry point runs; every drawing view reads it.
const RoundBrushes theRoundBrushes;
}  // namespace

RoundBrushes::RoundBrushes()
{
    masks_.reserve(kMaskCount);
    for (i32 diameter = 1; diameter <= kMaskCount; ++diameter) {
        masks_.push_back(std::make_unique<brush_mask>());
        brush_mask& mask = *masks_.back();
        mask.create(diameter, diameter);
        brush_mask::make_round(mask);
    }
}

RoundBrushes::~RoundBrushes()
{
    while (!masks_.empty())
        masks_.pop_back();
}

const RoundBrushes& RoundBrushes::Instance()
{
    return theRoundBrushes;
}

const brush_mask& RoundBrushes::Entry(i32 index) const
{
    if (index < 0 || index >= static_cast<i32>(masks_.size()))
        throw tevrin::range_error();
    return *masks_[static_cast<std::size_t>(index)];
}
