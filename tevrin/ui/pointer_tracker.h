#pragma once
// Where the pointer is and which buttons are down, per button: 0 is the plain
// pointer, 1 left, 2 middle, 3 right. Positions are client coordinates.
#include "tevrin/core/types.h"

#include <windows.h>

namespace tevrin {

struct PointerPosition {
    i32 x = 0;
    i32 y = 0;

    bool operator==(const PointerPosition& other) const { return x == other.x && y == other.y; }
    bool operator!=(const PointerPosition& other) const { return !(*this == other); }
};

class PointerTracker {
public:
    static constexpr int buttonCount = 4;

    // Called with every message before it is dispatched; only pointer messages count.
    // A press takes the mouse capture, and the last release gives it back.
    void Update(HWND window, UINT message, LPARAM lParam);

    bool AnyButtonPressed() const;

    PointerPosition current[buttonCount];
    PointerPosition press[buttonCount];
    bool pressed[buttonCount] = {};
};

}  // namespace tevrin
