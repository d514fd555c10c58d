#include "tevrin/ui/window_list.h"

namespace tevrin {

std::vector<Window*>& WindowList()
{
    static std::vector<Window*> windows = [] {
        std::vector<Window*> reserved;
        reserved.reserve(50);
        return reserved;
    }();
    return windows;
}

}  // namespace tevrin
