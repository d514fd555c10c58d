#pragma once
// One entry of a popup menu; command id 0 makes a separator line.
#include "tevrin/core/types.h"

#include <string>

namespace tevrin {

struct MenuItem {
    u32 commandId = 0;
    std::string label;  // UTF-8
};

}  // namespace tevrin
