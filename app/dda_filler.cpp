#include "app/dda_filler.h"

using namespace tevrin;

namespace {
OurDDAFiller theDDAFiller;
}  // namespace

OurDDAFiller& OurDDAFiller::Instance()
{
    return theDDAFiller;
}

void OurDDAFiller::visit(i32 x, i32 y)
{
    if (count_ >= kCapacity)
        return;
    points_[static_cast<std::size_t>(count_)] = DDAPoint{static_cast<i16>(x), static_cast<i16>(y)};
    ++count_;
}
