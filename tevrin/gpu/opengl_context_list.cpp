#include "tevrin/gpu/opengl_context_list.h"

#include "tevrin/gpu/gpu_context.h"

namespace tevrin {
namespace opengl {

context_list contexts;

context_list::~context_list()
{
    while (!entries.empty()) {
        delete entries.back();
        entries.pop_back();
    }
}

void context_list::Add(IGpuContext* context)
{
    entries.push_back(context);
}

}  // namespace opengl
}  // namespace tevrin
