#pragma once
// Keeps a list of filesystem items; nothing in the program feeds it events yet.
#include "tevrin/core/filesystem_entity_id.h"

#include <vector>

namespace tevrin {

class FilesystemMonitor {
public:
    const std::vector<filesystem_entity_id>& Items() const { return items_; }

private:
    std::vector<filesystem_entity_id> items_;
};

}  // namespace tevrin
