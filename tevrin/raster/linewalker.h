#pragma once
// An integer digital line walk in all octants that hands every pixel of the line,
// both ends included, to a visitor.
#include "tevrin/core/types.h"

namespace tevrin {

class linewalker {
public:
    virtual ~linewalker() = default;
    // Called once per pixel, in walking order.
    virtual void visit(i32 x, i32 y) = 0;

    // Visits max(|dx|, |dy|) + 1 pixels; each step moves one pixel along the major
    // axis and at most one along the other. Equal spans are walked along y.
    void walk(i32 x0, i32 y0, i32 x1, i32 y1);
};

}  // namespace tevrin
