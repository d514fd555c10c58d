#pragma once
// A process-wide list of GPU contexts that it owns and deletes at process exit, newest
// first. Contexts whose lifetime follows a window are not entered here.
#include <cstddef>
#include <vector>

namespace tevrin {

class IGpuContext;

namespace opengl {

class context_list {
public:
    context_list() = default;
    ~context_list();
    context_list(const context_list&) = delete;
    context_list& operator=(const context_list&) = delete;

    // Takes ownership.
    void Add(IGpuContext* context);
    std::size_t Size() const { return entries.size(); }

private:
    std::vector<IGpuContext*> entries;
};

extern context_list contexts;

}  // namespace opengl
}  // namespace tevrin
