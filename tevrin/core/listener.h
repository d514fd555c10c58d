#pragma once
// Small bases shared by the application object and the windows.
#include "tevrin/core/types.h"

#include <vector>

namespace tevrin {

class listener {
public:
    virtual ~listener() = default;
    virtual void HandleNotification(u32 /*event*/, void* /*source*/) {}
};

// Listeners are not owned; a notifying class walks them with its own event codes.
struct notifier {
    std::vector<listener*> listeners;

    void Notify(u32 event, void* source) const
    {
        for (listener* each : listeners)
            each->HandleNotification(event, source);
    }
};

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    virtual bool HandleCommand(int /*id*/) { return false; }
};

}  // namespace tevrin
