#pragma once
// The state of one of a window's own scroll bars.
#include "tevrin/core/types.h"

namespace tevrin {

struct ScrollInfo {
    i32 min = 0;
    i32 max = 0;
    u32 page = 0;
    i32 position = 0;
    i32 trackPosition = 0;
    bool vertical = false;
};

}  // namespace tevrin
