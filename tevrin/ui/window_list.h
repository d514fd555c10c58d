#pragma once
// The process-wide list of live framework windows, in construction order.
// The main loop runs while it is not empty.
#include <vector>

namespace tevrin {

class Window;

std::vector<Window*>& WindowList();

}  // namespace tevrin
